#include "ui/history_host.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include "app/history_list.h"
#include "app/settings.h"
#include "engine/lookup_state.h"
#include "ui/clipboard_monitor.h"
#include "ui/definition_popup.h"
#include "ui/format_adapter.h"
#include "ui/history_window.h"
#include "ui/main_window.h"

namespace tavro2 {

namespace {

QScreen* desktopScreen() { return QGuiApplication::primaryScreen(); }

}  // namespace

MainWindowHistoryHost::MainWindowHistoryHost(MainWindow& window)
    : window_(window),
      popup_(std::make_unique<FDef>(*this)),
      monitor_(std::make_unique<ClipboardMonitor>(*this)),
      selectionMonitor_(std::make_unique<ClipboardMonitor>(*this, SelectionKind::kPrimary)) {}

MainWindowHistoryHost::~MainWindowHistoryHost() {
  // A history window still open when the main window goes (no close event
  // reached it) must not outlive the host it points to.
  delete history_.data();
}

HistoryList& MainWindowHistoryHost::historyList() { return window_.history(); }

const Settings& MainWindowHistoryHost::settings() const { return window_.settings(); }

HistoryColors MainWindowHistoryHost::colors() const {
  const SkinState& skin = window_.skin();
  const SkinPalette& palette = window_.skinPalette();
  HistoryColors colors;
  colors.window = skin.skinOutlineColor;
  colors.title = skin.skinShadeColor;
  colors.panelTop = palette.mainWordList;
  colors.panelBottom = palette.relatedList;
  colors.markedItem = skin.skinBaseColor;
  colors.popupForm = palette.translationPanel;
  colors.popupText = palette.relatedTranslationPane;
  return colors;
}

QRect MainWindowHistoryHost::workArea() const {
  QScreen* screen = desktopScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect MainWindowHistoryHost::screenGeometry() const {
  QScreen* screen = desktopScreen();
  return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QRect MainWindowHistoryHost::screenGeometryAt(QPoint point) const {
  QScreen* screen = QGuiApplication::screenAt(point);
  return screen != nullptr ? screen->geometry() : screenGeometry();
}

QPoint MainWindowHistoryHost::pointerPosition() const { return QCursor::pos(); }

std::string MainWindowHistoryHost::searchBoxText() const {
  return bytesOf(window_.searchBox()->text());
}

QTextEdit* MainWindowHistoryHost::translationPane() { return window_.translationPane(); }

void MainWindowHistoryHost::showHistoryEntry(const std::string& word,
                                             const std::string& historyWord) {
  window_.searchBox()->setText(qStringOf1252(word));
  LookupState& state = window_.lookup();
  state.searchText = bytesOf(window_.searchBox()->text());
  state.showTranslation(window_.history().historyTranslation(historyWord), state.searchText);
  window_.showTranslation();
}

bool MainWindowHistoryHost::mainWindowHidden() const { return window_.hiddenFlag(); }

void MainWindowHistoryHost::restoreProgram() {
  if (window_.isMinimized() || !window_.isVisible()) window_.showNormal();
  window_.raise();
}

void MainWindowHistoryHost::showMainWindow() {
  restoreProgram();
  window_.show();
  window_.setHiddenFlag(false);
}

void MainWindowHistoryHost::minimizeAndHideMainWindow() {
  window_.showMinimized();
  window_.hide();
}

void MainWindowHistoryHost::historyCommand() {
  history_ = FHistory::historyCommand(*this, history_);
  window_.setHistoryWindow(history_);
}

void MainWindowHistoryHost::historyWindowClosed() {
  history_ = nullptr;
  window_.setHistoryWindow(nullptr);
  if (!closingHistory_) restoreProgram();
}

bool MainWindowHistoryHost::clipboardHit() const { return window_.clipboardHit(); }

void MainWindowHistoryHost::setClipboardHit(bool hit) { window_.setClipboardHit(hit); }

FDef* MainWindowHistoryHost::definitionPopup() { return popup_.get(); }

FHistory* MainWindowHistoryHost::historyWindow() { return history_; }

bool MainWindowHistoryHost::clipboardButtonDown() const { return window_.clipboardMonitoring(); }

LookupState& MainWindowHistoryHost::lookup() { return window_.lookup(); }

void MainWindowHistoryHost::showLookupState() {
  // The clipboard path puts its word into the search box through the state.
  window_.searchBox()->setText(qStringOf1252(window_.lookup().searchText));
  window_.showLookupState();
}

void MainWindowHistoryHost::recordInHistory() {
  window_.history().addToHistory(searchBoxText(), window_.lookup().translationText);
}

void MainWindowHistoryHost::pollClipboard() {
  monitor_->pollClipboard();
  selectionMonitor_->pollClipboard();
}

void MainWindowHistoryHost::lookupShown() {
  if (popup_->isVisible() && popup_->word() != searchBoxText()) popup_->hideNow();
}

void MainWindowHistoryHost::mainWindowMinimized() {
  if (history_) history_->mainWindowMinimized();
}

void MainWindowHistoryHost::settingsApplied() {
  if (history_) history_->applyColors();
}

void MainWindowHistoryHost::closeHistoryWindow() {
  if (!history_) return;
  // Closed by the main window itself (close glyph, shutdown): nothing to
  // bring back.
  closingHistory_ = true;
  history_->close();
  closingHistory_ = false;
}

}  // namespace tavro2
