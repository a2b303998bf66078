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

HistoryHost::HistoryHost() : popup_(std::make_unique<FDef>(*this)) {}

HistoryHost::~HistoryHost() = default;

FHistory* HistoryHost::historyWindow() const { return history_; }

void HistoryHost::historyCommand() { history_ = FHistory::historyCommand(*this, history_); }

void HistoryHost::historyWindowClosed() {
  history_ = nullptr;
  if (!closingHistory_) mainWindowCommand(MainWindowCommand::kRestore);
}

void HistoryHost::closeHistoryWindow() {
  if (!history_) return;
  // Closed by the host's side itself (close glyph, shutdown): nothing to
  // bring back.
  closingHistory_ = true;
  history_->close();
  closingHistory_ = false;
}

// A history window still open when its host goes (no close event reached
// it) must not outlive what it points to.
void HistoryHost::deleteHistoryWindow() { delete history_.data(); }

MainWindowHistoryHost::MainWindowHistoryHost(MainWindow& window)
    : window_(window),
      monitor_(std::make_unique<ClipboardMonitor>(*this)),
      selectionMonitor_(std::make_unique<ClipboardMonitor>(*this, SelectionKind::kPrimary)) {}

MainWindowHistoryHost::~MainWindowHistoryHost() { deleteHistoryWindow(); }

HistoryList& MainWindowHistoryHost::historyList() { return *window_.history_; }

const Settings& MainWindowHistoryHost::settings() const { return window_.settings(); }

HistoryColors MainWindowHistoryHost::colors() const {
  const SkinState& skin = window_.skin();
  const SkinPalette& palette = window_.palette_;
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

ScreenPlaces MainWindowHistoryHost::screen() const {
  const QScreen* screen = desktopScreen();
  const QRect fallback(0, 0, 1024, 768);
  return {screen != nullptr ? screen->availableGeometry() : fallback,
          screen != nullptr ? screen->geometry() : fallback, QCursor::pos()};
}

QRect MainWindowHistoryHost::screenAt(QPoint point) const {
  const QScreen* screen = QGuiApplication::screenAt(point);
  return screen != nullptr ? screen->geometry() : this->screen().geometry;
}

std::string MainWindowHistoryHost::searchBoxText() const {
  return bytesOf(window_.searchBox_->text());
}

QTextEdit* MainWindowHistoryHost::translationPane() { return window_.translationPane_; }

void MainWindowHistoryHost::showHistoryEntry(const std::string& word,
                                             const std::string& historyWord) {
  window_.searchBox_->setText(qStringOf1252(word));
  window_.lookup_->showHistoryEntry(bytesOf(window_.searchBox_->text()),
                                    window_.history_->historyTranslation(historyWord));
  window_.showTranslation();
}

bool MainWindowHistoryHost::mainWindowHidden() const { return window_.hiddenFlag(); }

QRect MainWindowHistoryHost::mainWindowArea() const {
  if (!window_.isVisible() || window_.isMinimized()) return {};
  return window_.frameGeometry();
}

void MainWindowHistoryHost::mainWindowCommand(MainWindowCommand command) {
  if (command == MainWindowCommand::kMinimizeAndHide) {
    window_.showMinimized();
    window_.hide();
    return;
  }
  if (window_.isMinimized() || !window_.isVisible()) window_.showNormal();
  window_.raise();
  if (command == MainWindowCommand::kShow) {
    window_.show();
    window_.hidden_ = false;
  }
  if (command == MainWindowCommand::kFocus) {
    window_.activateWindow();
    window_.searchBox_->setFocus(Qt::OtherFocusReason);
  }
}

bool MainWindowHistoryHost::clipboardButtonDown() const { return window_.clipboardMonitoring(); }

bool MainWindowHistoryHost::lookUpCopiedWord(std::string word) {
  const bool found = window_.lookup_->lookupCopiedWord(std::move(word));
  // The word reaches the search box through the state.
  window_.searchBox_->setText(qStringOf1252(window_.lookup_->searchText()));
  window_.showLookupState();
  // Shown before it is recorded: the popup copies the translation pane.
  if (found) window_.recordInHistory();
  return found;
}

void MainWindowHistoryHost::offerSuggestions(std::optional<QPoint> popupAt) {
  window_.requestSuggestions(popupAt);
}

bool MainWindowHistoryHost::canPronounce() const {
#ifdef TAVRO2_HAVE_SOUND
  return !window_.lookup_->shownHeadword().empty();
#else
  return false;
#endif
}

void MainWindowHistoryHost::pronounce() { window_.pronounce(); }

void MainWindowHistoryHost::pollClipboard() {
  monitor_->pollClipboard();
  selectionMonitor_->pollClipboard();
}

bool MainWindowHistoryHost::selectionReadable() const {
  return selectionMonitor_->readsWithoutFocus();
}

bool MainWindowHistoryHost::clipboardNeedsFocus() const { return !monitor_->readsWithoutFocus(); }

void MainWindowHistoryHost::lookupShown() {
  FDef* popup = definitionPopup();
  if (popup->isVisible() && popup->word() != searchBoxText()) popup->hideNow();
}

void MainWindowHistoryHost::mainWindowMinimized() {
  if (FHistory* history = historyWindow()) history->mainWindowMinimized();
}

void MainWindowHistoryHost::settingsApplied() {
  if (FHistory* history = historyWindow()) history->applyColors();
}

}  // namespace tavro2
