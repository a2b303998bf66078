// HistoryHost: what the history window (FHistory), the definition popup
// (FDef) and the clipboard monitor need from the main window.
//
// The three companions never reach into the main window's controls directly;
// they go through this interface, so each can be driven on its own with a
// small stand-in host (the tests do), and the work area they snap and slide
// against is whatever the host says it is. MainWindowHistoryHost is the
// implementation over the real main window; it also owns the popup and the
// clipboard monitor and keeps the history window while it exists.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <memory>
#include <string>

#include "skin/skin.h"

class QTextEdit;

namespace tavro2 {

class ClipboardMonitor;
class FDef;
class FHistory;
class HistoryList;
class LookupState;
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

class HistoryHost {
 public:
  virtual ~HistoryHost() = default;

  // --- Data ----------------------------------------------------------------
  virtual HistoryList& historyList() = 0;
  // WordHistory, HistoryFromRight, AutoCloseTime, AutoRemAlpha are read here.
  virtual const Settings& settings() const = 0;
  virtual HistoryColors colors() const = 0;

  // --- Screen (fetched afresh on every call) --------------------------------
  // The desktop's work area and the whole screen, in global coordinates.
  virtual QRect workArea() const = 0;
  virtual QRect screenGeometry() const = 0;
  // The screen under `point` (the one screen, unless the host knows more).
  virtual QRect screenGeometryAt(QPoint) const { return screenGeometry(); }
  // Where the mouse pointer is, in global coordinates.
  virtual QPoint pointerPosition() const = 0;

  // --- The main window -----------------------------------------------------
  virtual std::string searchBoxText() const = 0;  // Windows-1252 bytes
  virtual QTextEdit* translationPane() = 0;
  // ChooseHistoryItem's main-window half: the search box gets `word`, the
  // translation pane historyTranslation(`historyWord`) (the word as the
  // history keeps it, blanks and all), rendered for `word`. No lookup runs
  // and the history does not change.
  virtual void showHistoryEntry(const std::string& word, const std::string& historyWord) = 0;

  virtual bool mainWindowHidden() const = 0;
  // Restores the program (un-minimises it) and brings it to the front.
  virtual void restoreProgram() = 0;
  // Restores the program, shows the main window and clears the hidden flag.
  virtual void showMainWindow() = 0;
  // Minimises the program and hides the main window.
  virtual void minimizeAndHideMainWindow() = 0;

  // The History command (the main window's menu and the history window's
  // "Close" item).
  virtual void historyCommand() = 0;
  // The history window closed: forget it and restore the program.
  virtual void historyWindowClosed() = 0;

  virtual bool clipboardHit() const = 0;
  virtual void setClipboardHit(bool hit) = 0;
  // The popup, which lives for the whole run (never null once the host is
  // set up).
  virtual FDef* definitionPopup() = 0;
  virtual FHistory* historyWindow() = 0;

  // --- The clipboard path ----------------------------------------------------
  virtual bool clipboardButtonDown() const = 0;
  virtual LookupState& lookup() = 0;
  // Shows what the lookup state now holds (lists, panes, status line).
  virtual void showLookupState() = 0;
  // AddToHistory with the search box and translation pane texts; the history
  // window, when it exists, follows through its HistoryObserver side.
  virtual void recordInHistory() = 0;
};

// The host over the real main window. Created by the main window once its
// controls exist; creates the definition popup hidden and the clipboard
// monitor.
class MainWindowHistoryHost final : public HistoryHost {
 public:
  explicit MainWindowHistoryHost(MainWindow& window);
  ~MainWindowHistoryHost() override;

  HistoryList& historyList() override;
  const Settings& settings() const override;
  HistoryColors colors() const override;
  QRect workArea() const override;
  QRect screenGeometry() const override;
  QRect screenGeometryAt(QPoint point) const override;
  QPoint pointerPosition() const override;
  std::string searchBoxText() const override;
  QTextEdit* translationPane() override;
  void showHistoryEntry(const std::string& word, const std::string& historyWord) override;
  bool mainWindowHidden() const override;
  void restoreProgram() override;
  void showMainWindow() override;
  void minimizeAndHideMainWindow() override;
  void historyCommand() override;
  void historyWindowClosed() override;
  bool clipboardHit() const override;
  void setClipboardHit(bool hit) override;
  FDef* definitionPopup() override;
  FHistory* historyWindow() override;
  bool clipboardButtonDown() const override;
  LookupState& lookup() override;
  void showLookupState() override;
  void recordInHistory() override;

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
  // Closes the history window at once, if it exists (close glyph, shutdown).
  void closeHistoryWindow();
  ClipboardMonitor& clipboardMonitor() { return *monitor_; }
  ClipboardMonitor& selectionMonitor() { return *selectionMonitor_; }

 private:
  MainWindow& window_;
  std::unique_ptr<FDef> popup_;
  std::unique_ptr<ClipboardMonitor> monitor_;
  std::unique_ptr<ClipboardMonitor> selectionMonitor_;
  QPointer<FHistory> history_;
  bool closingHistory_ = false;
};

}  // namespace tavro2
