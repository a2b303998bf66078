// The options dialog (F2): the settings that have no control of their own
// in the main window.
//
// Three controls act at once: the skin list applies and stores `Skin`, the
// opacity slider sets the main window's opacity and stores `AlphaBlend`, and
// "Select to Translate" turns select-to-translate on or off and stores
// `UseSelection`.
// Everything else reaches the settings file only through "Save", which
// writes eight keys in a fixed order, has the main window read its settings
// back (that is where the bounds apply) and closes. The close glyph leaves
// without saving the rest. The dialog is built afresh for every opening and
// shown modally.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string_view>

class QCheckBox;
class QColor;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QLabel;
class QSlider;

namespace tavro2 {

class GlyphButton;
class GradientPanel;
class IniFile;
class ShadowLabel;
class SkinTitleStrip;
struct Settings;
struct SkinState;

// What the dialog needs of the main window. The pointers outlive the dialog.
struct OptionsHost {
  QWidget* mainWindow = nullptr;  // its opacity follows the slider
  Settings* settings = nullptr;   // the running values the controls start from
  IniFile* ini = nullptr;         // the settings file, section "General"
  const SkinState* skin = nullptr;
  // Loads a skin into *skin and recolours the main window.
  std::function<void(int index)> applySkin;
  // Reads every setting back from the file, bounds and applies them.
  std::function<void()> readSettings;
  // Turns select-to-translate on or off and writes UseSelection at once.
  std::function<void(bool on)> setUseSelection;
  // Told whether each write to the settings file succeeded.
  std::function<void(bool saved)> settingsWritten;
  // Whether this desktop lets the window read other programs' selections;
  // without it the switch is greyed.
  bool selectionReadable = true;
};

// A box's text as a number: an optional '-' or '+', then the digits up to
// the first non-digit; 0 for an empty box or one that starts otherwise.
// Numbers beyond the 32-bit range stop at its ends.
std::int32_t boxNumber(std::string_view text);

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 288;
  // The row of "Look up as you type" pushes the rows below it down.
  static constexpr int kTypingRow = 24;
  static constexpr int kHeight = 275 + kTypingRow;
  static constexpr int kTitleHeight = 29;
  static constexpr int kOpacityMin = 20;
  static constexpr int kOpacityMax = 255;

  OptionsDialog(const OptionsHost& host, QWidget* parent = nullptr);

  // Creates the dialog, shows it modally over the main window and destroys it.
  static void showFor(const OptionsHost& host);

  // Commands.
  void skinChanged(int index);
  void opacityChanged(int position);
  void save();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void createControls();
  void fillFromSettings();
  void recolor();
  void settingsWritten(bool saved);
  QColor windowColor() const;
  QLineEdit* makeNumberBox(int x, int y);

  OptionsHost host_;

  SkinTitleStrip* titleStrip_ = nullptr;
  ShadowLabel* titleText_ = nullptr;
  GlyphButton* closeGlyph_ = nullptr;
  GradientPanel* body_ = nullptr;
  QGroupBox* group_ = nullptr;
  QCheckBox* alwaysOnTop_ = nullptr;
  QCheckBox* autoRemAlpha_ = nullptr;
  QCheckBox* useSelection_ = nullptr;
  QCheckBox* lookAsYouType_ = nullptr;
  QLineEdit* wordsBefore_ = nullptr;
  QLineEdit* wordsAfter_ = nullptr;
  QLineEdit* maxContainTexts_ = nullptr;
  QComboBox* skinList_ = nullptr;
  QLineEdit* wordHistory_ = nullptr;
  QComboBox* historyOrder_ = nullptr;
  QSlider* opacity_ = nullptr;
  QLabel* alphaLabel_ = nullptr;  // the slider is made with the settings
  QPushButton* saveButton_ = nullptr;
};

}  // namespace tavro2
