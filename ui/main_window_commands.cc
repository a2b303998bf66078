// The main window's hooks into its companion windows: the options dialog,
// the about box, the add-word editor, the history window with its definition
// popup, and clipboard monitoring. Each is one small function here, so the
// companions plug in without touching the window's own code.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include "app/history_list.h"
#include "app/ini_file.h"
#include "app/settings.h"
#include "editor/add_word_editor.h"
#include "engine/cp1252.h"
#include "engine/lookup_state.h"
#include "ui/about_box.h"
#include "ui/format_adapter.h"
#include "ui/history_host.h"
#include "ui/history_window.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"

#include <QMenu>

namespace tavro2 {

// Options: create the options dialog, show it modally, destroy it.
void MainWindow::openOptions() {
  OptionsHost host;
  host.mainWindow = this;
  host.settings = settings_.get();
  host.ini = ini_.get();
  host.skin = &skin_;
  host.applySkin = [this](int index) {
    applySkin(index);
    if (addWordEditor_) addWordEditor_->applySkin();
  };
  host.readSettings = [this] { readSettings(); };
  host.setUseSelection = [this](bool on) { setUseSelection(on); };
  host.selectionReadable = companions_->selectionReadable();
  host.settingsWritten = [this](bool saved) { settingsWritten(saved); };
  OptionsDialog::showFor(host);
}

// About: create the about box, show it modally, destroy it.
void MainWindow::openAbout() { AboutBox::showFor(*store_, places_.dataDir, &skin_, this); }

// Add: create the add-word editor if none exists, then show it. The editor
// deletes itself when it closes, which clears the pointer, so the next
// command builds a fresh one.
void MainWindow::openAddWord() {
  if (!addWordEditor_) addWordEditor_ = new FAddWord(places_.userDir, &skin_, this);
  addWordEditor_->present();
}

// History: with at least one word in the history, open the history window or
// slide a docked one out; with an empty history nothing happens.
void MainWindow::toggleHistory() {
  if (companions_) companions_->historyCommand();
}

void MainWindow::focusHistory() {
  if (!companions_) return;
  FHistory* history = companions_->historyWindow();
  if (history == nullptr || !history->isVisible()) {
    companions_->historyCommand();
    history = companions_->historyWindow();
  }
  if (history != nullptr) history->focusFirstItem();
}

// Minimize: minimizes the program; with a history window present the window
// is hidden as well (the history window brings it back).
void MainWindow::minimizeProgram() {
  if (companions_ && companions_->historyWindow() != nullptr) {
    showMinimized();
    hide();
  } else {
    showMinimized();
  }
}

// Run every 100 ms by the clipboard timer, whatever the clipboard button's
// state; looks up newly copied text while clipboardMonitoring() is on, and
// newly selected text while select-to-translate is on.
void MainWindow::pollClipboard() {
  if (!companions_) return;
  syncLookupSettings();
  companions_->pollClipboard();
}

void MainWindow::setUseSelection(bool on) {
  settings_->UseSelection = on;
  settingsWritten(ini_->writeBoolean(settings_key::kUseSelection, on));
  useSelectionAction_->setChecked(on);
}

// After a search: the history records the search box text with the
// translation pane's text when the word is new and the pane is not empty;
// a pane of two entries becomes one history line.
void MainWindow::recordInHistory() {
  using Added = HistoryList::AddResult;
  const std::string word = bytesOf(searchBox_->text());
  if (history_->addToHistory(word, entriesOnOneLine(lookup_->translationText())) ==
      Added::kAppended)
    showSaveNotice(historyNotice_.afterWrite(!history_->lastWriteFailed(), history_->path()));
}

void MainWindow::settingsWritten(bool saved) {
  showSaveNotice(settingsNotice_.afterWrite(saved, ini_->path()));
}

void MainWindow::showSaveNotice(const std::string& text) {
  if (!text.empty()) setStatusText(utf8To1252(text));
}

void MainWindow::setSearchText(const QString& word) { searchBox_->setText(word); }

void MainWindow::bringForward() {
  if (isMinimized()) showNormal();
  show();
  hidden_ = false;
  raise();
  activateWindow();
}

// The window received the system minimize command.
void MainWindow::onMinimizeCommand() {
  if (companions_) companions_->mainWindowMinimized();
}

// ReadSettings ran again: the history window takes the skin's colours.
void MainWindow::onSettingsApplied() {
  if (companions_) companions_->settingsApplied();
}

// Closes the history window at once, if it exists (close glyph, shutdown).
void MainWindow::closeHistoryWindow() {
  if (companions_) companions_->closeHistoryWindow();
}

// Called once at the end of construction, after the skin is applied: the
// definition popup is created hidden here.
void MainWindow::createCompanionWindows() {
  companions_ = std::make_unique<MainWindowHistoryHost>(*this);
  // Where the window cannot read other programs' selections (Wayland's own
  // platform, without data-control) the switch is greyed.
  if (useSelectionAction_ != nullptr && !companions_->selectionReadable()) {
    useSelectionAction_->setEnabled(false);
    useSelectionAction_->setToolTip("This desktop gives programs no selected text to read");
    menu_->setToolTipsVisible(true);
  }
}

}  // namespace tavro2
