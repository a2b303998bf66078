// HistoryHost: what the history window (FHistory), the definition popup
// (FDef) and the clipboard monitor need from the main window.
//
// The three companions never reach into the main window's controls directly;
// they go through this interface, so each can be driven on its own with a
// small stand-in host (the tests do), and the work area they snap and slide
// against is whatever the host says it is. The companions' own state (the
// popup, the history window, the clipboard-hit flag) lives in the base, so
// a host only answers the questions. MainWindowHistoryHost is the
// implementation over the real main window.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "skin/skin.h"

class QTextEdit;

namespace tavro2 {

class ClipboardMonitor;
class FDef;
class FHistory;
class HistoryList;
class MainWindow;
struct Settings;

// The colours the companions take from the skin and the main window.
struct HistoryColors {
  ColorRef window = 0;          // history window: skinOutlineColor
  ColorRef title = 0;           // history title background: skinShadeColor
  ColorRef panelTop = 0;        // item panel: the main word list's background
  ColorRef panelBottom = 0;     //   down to the related-text list's background
  ColorRef markedItem = 0;      // a marked item's background: skinBaseColor
  ColorRef popupForm = 0;       // popup form: the translation panel's colour
  ColorRef popupText = 0;       // popup text area: the related translation pane's
};

// The desktop as the companions see it, in global coordinates.
struct ScreenPlaces {
  QRect workArea;  // the desktop's work area
  QRect geometry;  // the whole screen
  QPoint pointer;  // where the mouse pointer is
};

// What the history window asks of the main window.
enum class MainWindowCommand {
  kRestore,          // un-minimise the program and bring it to the front
  kShow,             // restore it, show the main window, clear the hidden flag
  kMinimizeAndHide,  // minimise the program and hide the main window
  kFocus,            // the keyboard goes back to the main window's search box
};

class HistoryHost {
 public:
  // Creates the popup hidden. A derived host deletes the history window in
  // its destructor (deleteHistoryWindow), while what the window uses lives.
  HistoryHost();
  virtual ~HistoryHost();
  HistoryHost(const HistoryHost&) = delete;
  HistoryHost& operator=(const HistoryHost&) = delete;

  // --- Data ----------------------------------------------------------------
  virtual HistoryList& historyList() = 0;
  // WordHistory, HistoryFromRight, AutoCloseTime, AutoRemAlpha are read here.
  virtual const Settings& settings() const = 0;
  virtual HistoryColors colors() const = 0;
  // Fetched afresh on every call.
  virtual ScreenPlaces screen() const = 0;
  // The screen under `point` (the one screen, unless the host knows more).
  virtual QRect screenAt(QPoint) const { return screen().geometry; }

  // --- The main window -----------------------------------------------------
  virtual std::string searchBoxText() const = 0;  // Windows-1252 bytes
  virtual QTextEdit* translationPane() = 0;
  // ChooseHistoryItem's main-window half: the search box gets `word`, the
  // translation pane historyTranslation(`historyWord`) (the word as the
  // history keeps it, blanks and all), rendered for `word`. No lookup runs
  // and the history does not change.
  virtual void showHistoryEntry(const std::string& word, const std::string& historyWord) = 0;
  virtual bool mainWindowHidden() const = 0;
  // Where the main window shows on the screen; empty while it is hidden or
  // minimised.
  virtual QRect mainWindowArea() const { return {}; }
  virtual void mainWindowCommand(MainWindowCommand command) = 0;

  // --- The clipboard path ----------------------------------------------------
  virtual bool clipboardButtonDown() const = 0;
  // Looks up a copied or selected `word` (cleaned and lowered) and shows
  // what was found (lists, panes, status line: a base form's entry, or
  // " not found"). A word found as it is then goes into the history (the
  // history window follows through its HistoryObserver side); true then.
  virtual bool lookUpCopiedWord(std::string word) = 0;
  // After lookUpCopiedWord found nothing: the nearest headwords are offered
  // when they come, and with `popupAt` the definition popup names the first
  // of them there. A host without suggestions does nothing.
  virtual void offerSuggestions(std::optional<QPoint> /*popupAt*/) {}
  // The main window's Pronounce command, for the popup's menu: whether it
  // has an entry to speak, and speaking it. A host without it has none.
  virtual bool canPronounce() const { return false; }
  virtual void pronounce() {}

  // --- The companions, the same for every host -------------------------------
  // Set by a word the clipboard path found; the popup fades out only then.
  bool clipboardHit() const { return clipboardHit_; }
  void setClipboardHit(bool hit) { clipboardHit_ = hit; }
  // The popup lives as long as the host; the history window while it exists.
  FDef* definitionPopup() const { return popup_.get(); }
  FHistory* historyWindow() const;
  // The History command (the main window's menu and the history window's
  // "Close" item): with at least one word in the history, open the window
  // or slide a docked one out.
  void historyCommand();
  // The history window closed: forget it and restore the program, unless
  // the host closed it itself.
  void historyWindowClosed();
  // Closes the history window at once, if it exists.
  void closeHistoryWindow();

 protected:
  void deleteHistoryWindow();

 private:
  std::unique_ptr<FDef> popup_;
  QPointer<FHistory> history_;
  bool closingHistory_ = false;
  bool clipboardHit_ = false;
};

// The host over the real main window. Created by the main window once its
// controls exist; also owns the clipboard and selection monitors.
class MainWindowHistoryHost final : public HistoryHost {
 public:
  explicit MainWindowHistoryHost(MainWindow& window);
  ~MainWindowHistoryHost() override;

  HistoryList& historyList() override;
  const Settings& settings() const override;
  HistoryColors colors() const override;
  ScreenPlaces screen() const override;
  QRect screenAt(QPoint point) const override;
  std::string searchBoxText() const override;
  QTextEdit* translationPane() override;
  void showHistoryEntry(const std::string& word, const std::string& historyWord) override;
  bool mainWindowHidden() const override;
  QRect mainWindowArea() const override;
  void mainWindowCommand(MainWindowCommand command) override;
  bool clipboardButtonDown() const override;
  bool lookUpCopiedWord(std::string word) override;
  void offerSuggestions(std::optional<QPoint> popupAt) override;
  bool canPronounce() const override;
  void pronounce() override;

  // --- Entry points of the main window's commands and events --------------
  // The 100 ms clipboard timer: the clipboard and the selection monitors.
  void pollClipboard();
  // The main window shows a new lookup: a popup showing another word is
  // hidden (a found word brings it back with its own entry).
  void lookupShown();
  // The window received the system minimise command.
  void mainWindowMinimized();
  // Settings were read again: the history window takes the skin's colours.
  void settingsApplied();
  ClipboardMonitor& clipboardMonitor() { return *monitor_; }
  // Whether text selected in other programs can be followed here, and
  // whether the clipboard reaches the window only while it is focused
  // (Wayland's own clipboard, where the desktop offers no data-control).
  bool selectionReadable() const;
  bool clipboardNeedsFocus() const;

 private:
  MainWindow& window_;
  std::unique_ptr<ClipboardMonitor> monitor_;
  std::unique_ptr<ClipboardMonitor> selectionMonitor_;
};

}  // namespace tavro2
