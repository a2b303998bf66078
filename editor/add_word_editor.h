// FAddWord, the add-new-word editor: a small skinned window in which the
// user edits one of the three user word lists as plain text, checks that
// every non-blank line holds "=", sorts the lines and saves.
//
// The text area holds the list's Windows-1252 bytes unchanged: a CR LF pair
// is a line break, and a lone CR or LF (which the list format keeps inside a
// line) shows as the symbol U+240D or U+240A so that it survives a load and a
// save byte for byte. A list written on Linux (UTF-8, LF line ends; see
// engine/user_list_encoding.h) is shown decoded and saved in its own kind
// again. A Windows-1252 list that is given a character 1252 cannot hold is
// saved as UTF-8 (with its CR LF line ends), so nothing typed is lost; the
// lookup reads it either way.
//
// States: after a load the choice is locked (the Phrase box and the two
// direction buttons are disabled) and `modified` is false; any change of the
// text sets `modified` and locks; only Open unlocks. A save writes the whole
// text through a temporary file renamed over the list, so a failed or
// interrupted save leaves the old list whole.
#pragma once

#include <QMessageBox>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/user_list.h"
#include "engine/user_list_encoding.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tavro2 {

struct SkinState;
class GradientPanel;
class ShadowLabel;
class SkinTitleStrip;

// Asks the user a question in a message box owned by `owner` and returns the
// button pressed. The editor asks only through this, so tests can answer.
using MessageAsker = std::function<QMessageBox::StandardButton(
    QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
    QMessageBox::StandardButtons buttons)>;

// The asker that shows a real, modal QMessageBox.
QMessageBox::StandardButton askWithMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                              const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons);

class FAddWord : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 360;
  static constexpr int kHeight = 347;

  // `programDir` ends with '/'; the lists are read from and written to it.
  // `skin` is the main window's skin state and must outlive the editor.
  // Creation loads the English-Indonesian list and leaves the choice locked.
  FAddWord(std::string programDir, const SkinState* skin, QWidget* parent = nullptr,
           MessageAsker asker = askWithMessageBox);

  bool modified() const { return modified_; }
  bool locked() const { return locked_; }
  // The text area's text as Windows-1252 bytes, lines joined by CR LF.
  std::string text() const;
  // Replaces the text area's text, as a paste of the whole text would: the
  // change marks the text modified and locks the choice.
  void setText(std::string_view bytes);
  // Full path of the list the current choice names.
  std::string chosenListPath() const;
  // The lines the last check kept (its non-blank lines).
  const std::vector<std::string>& checkLines() const { return checkLines_; }

  // Shows the editor, brings it to the front and gives the text area the
  // keyboard focus, so the first keys typed reach the list.
  void present();
  // The skin changed: the choice strip takes its colours and the window
  // repaints.
  void applySkin();

  // Commands of the window's controls.
  void openList();       // "Open": offer to save, then release the choice lock
  void choiceClicked();  // "Phrase" or a direction button was clicked
  bool check();          // the check before a save; shows the warning
  bool save();           // "Save": true when the list was written
  void sortData();       // "Sort data"

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class SaveOutcome { kSaved, kCheckFailed, kWriteFailed };

  void createControls();
  SaveOutcome saveList();
  void loadChosenList();
  void setLocked(bool locked);
  void textChanged();
  QString joinedText() const;
  QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& title, const QString& text,
                                  QMessageBox::StandardButtons buttons);

  std::string dir_;
  const SkinState* skin_;
  MessageAsker asker_;

  UserListFormat format_;  // of the list loaded; a new list is Windows text
  bool modified_ = false;
  bool locked_ = false;
  bool listReadable_ = true;  // false: the list exists but could not be read
  std::vector<std::string> checkLines_;

  SkinTitleStrip* titleStrip_ = nullptr;
  ShadowLabel* titleText_ = nullptr;
  GradientPanel* choiceStrip_ = nullptr;
  QPushButton* openButton_ = nullptr;
  QCheckBox* phraseBox_ = nullptr;
  QRadioButton* englishButton_ = nullptr;
  QRadioButton* indonesianButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QLabel* hintLine_ = nullptr;
  QWidget* textPanel_ = nullptr;
  QPlainTextEdit* textArea_ = nullptr;
  QPushButton* sortButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

// Conversions between list bytes and the text area's text (see above).
QString editorTextOf(std::string_view bytes);
std::string editorBytesOf(const QString& text);
// The same for a list file of the given kind (UTF-8 or not, LF or CR LF).
QString editorTextOfFile(std::string_view bytes, const UserListFormat& format);
// The file bytes for the text in `format`; a Windows-1252 format becomes
// UTF-8 when the text holds a character 1252 cannot.
std::string fileBytesOfEditorText(const QString& text, UserListFormat& format);

}  // namespace tavro2
