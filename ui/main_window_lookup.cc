// The main window's side of a lookup: it runs the lookup state's operations
// and shows what the state then holds.
#include <QAccessible>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QThreadPool>
#include <QTimer>

#include "app/storage.h"
#include "engine/lookup_state.h"
#include "engine/stemmer.h"
#include "engine/suggestions.h"
#include "engine/word_ranks.h"
#include "ui/accessible_roles.h"
#include "ui/definition_popup.h"
#include "ui/format_adapter.h"
#include "ui/history_host.h"
#include "ui/main_window.h"
#include "ui/word_list_delegate.h"

namespace tavro2 {

namespace {

// A status text too wide for the line shrinks down to this size.
constexpr int kSmallestStatusPixels = 8;

// Refills a list without reporting a selection change: a lookup leaves no
// line selected.
void fillList(QListWidget* list, const WordList& lines) {
  const QSignalBlocker blocker(list);
  list->clear();
  for (std::size_t i = 0; i < lines.count(); ++i) {
    list->addItem(qStringOf1252(lines.line(i)));
  }
  list->setCurrentRow(-1);
}

}  // namespace

void MainWindow::search() {
  typingTimer_->stop();  // the search answers what was typed
  syncLookupSettings();
  // A box of blanks (or, filtered, of no letters) looks nothing up and
  // leaves the window as it was, its status line included.
  if (!lookup_->searchFromBox(bytesOf(searchBox_->text()))) return;
  showLookupState();
  recordInHistory();
  if (!lookup_->queryFound()) requestSuggestions();
}

void MainWindow::showTypingList() {
  syncLookupSettings();
  if (!lookup_->showTypingList(bytesOf(searchBox_->text()))) return;
  ++suggestionRequest_;
  fillList(mainList_, lookup_->mainWords());
  showTranslation();
}

void MainWindow::requestSuggestions(std::optional<QPoint> popupAt) {
  const int request = ++suggestionRequest_;
  if (lookup_->missedQuery().empty()) return;
  // The search reads only what the store has published and the stemmer
  // locks its dictionaries: both are safe from this thread. The pool is
  // waited for before the window and its store go.
  suggestionThread_->start([this, request, popupAt, store = store_.get(),
                            query = lookup_->missedQuery(),
                            direction = lookup_->settings().direction] {
    std::vector<HeadwordEntry> entries =
        suggestHeadwords(*store, query, direction, WordRanks::shared(), Stemmer::shared().get());
    QMetaObject::invokeMethod(
        this,
        [this, request, popupAt, entries = std::move(entries)]() mutable {
          showSuggestions(request, std::move(entries), popupAt);
        },
        Qt::QueuedConnection);
  });
}

void MainWindow::showSuggestions(int request, std::vector<HeadwordEntry> entries,
                                 std::optional<QPoint> popupAt) {
  if (request != suggestionRequest_ || entries.empty()) return;
  QStringList words;
  for (const HeadwordEntry& e : entries) words.append(qStringOf1252(e.word));
  lookup_->showSuggestions(std::move(entries));
  {
    const QSignalBlocker blocker(mainList_);
    mainList_->clear();
    auto* heading = new QListWidgetItem("Did you mean:", mainList_);
    heading->setFlags(Qt::NoItemFlags);
    heading->setData(kOfferRole, static_cast<int>(Offer::kHeading));
    for (const QString& word : words) {
      auto* item = new QListWidgetItem(word, mainList_);
      item->setData(kOfferRole, static_cast<int>(Offer::kSuggestion));
      item->setToolTip("Suggestion: click to look up \u201c" + word + "\u201d");
      item->setData(Qt::AccessibleDescriptionRole, "suggestion");
    }
    mainList_->setCurrentRow(-1);
  }
  showTranslation();
  if (popupAt && companions_) {
    QStringList first;
    for (const QString& word : words.mid(0, 3)) first.append("<b>" + word.toHtmlEscaped() + "</b>");
    companions_->definitionPopup()->showTextNearPointer(
        *popupAt, "<b>" + searchBox_->text().toHtmlEscaped() + "</b> not found. Did you mean " +
                      first.join(", ") + "?");
    companions_->setClipboardHit(true);  // it fades as a found word's does
  }
  emit suggestionsShown();
}

int MainWindow::entryOfRow(int row) const { return lookup_->suggestionsShown() ? row - 1 : row; }

bool MainWindow::lookUpOfferedLine(const QListWidgetItem* item) {
  if (!lookup_->typingListShown() && !lookup_->suggestionsShown()) return false;
  if (item == nullptr || !(item->flags() & Qt::ItemIsEnabled)) return false;
  searchBox_->setText(item->text());
  search();
  return true;
}

void MainWindow::showLookupState() {
  ++suggestionRequest_;
  const LookupState& state = *lookup_;
  fillList(mainList_, state.mainWords());
  showTranslation();
  fillList(relatedList_, state.relatedWords());
  showFormattedText(relatedPane_, state.relatedTranslationText(), state.relatedTranslationRuns());
  showPhraseList();
  setStatusText(state.statusText());
  if (companions_) companions_->lookupShown();
}

void MainWindow::showTranslation() {
  showFormattedText(translationPane_, lookup_->translationText(), lookup_->translationRuns());
  // The history records the entry's text, without its transcription.
  showTranscription(translationPane_, lookup_->shownHeadword().size(), lookup_->ipa(),
                    palette_.transcriptionText);
}

void MainWindow::showPhraseList() {
  const QSignalBlocker blocker(phraseList_);
  phraseList_->clear();
  for (const auto& [phrase, translation] : lookup_->phrases()) {
    phraseList_->addItem(qStringOf1252(phrase));
    phraseList_->addItem(qStringOf1252(translation));
  }
  // A refilled list has new lines under the old index; the next move sets
  // the hint afresh.
  hintLine_ = -1;
  phraseList_->setToolTip(QString());
}

void MainWindow::setStatusText(const std::string& text) {
  const QString shown = qStringOf1252(noteMissingData(text, loadStatus_));
  statusLine_->setProperty(kWholeTextProperty, shown);
  statusLine_->setText(shown);
  fitStatusFont();
  QAccessibleEvent changed(statusLine_, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
  emit statusChanged(shown);
}

void MainWindow::fitStatusFont() {
  const QString whole = statusLine_->property(kWholeTextProperty).toString();
  QFont font = this->font();
  const int room = statusLine_->width() - 2;
  while (font.pixelSize() > kSmallestStatusPixels &&
         QFontMetrics(font).horizontalAdvance(whole) > room)
    font.setPixelSize(font.pixelSize() - 1);
  statusLine_->setFont(font);
  // Where even the smallest size is cut (compact mode), the line ends in
  // "…" and the hint has it all.
  const bool cut = QFontMetrics(font).horizontalAdvance(whole) > room;
  statusLine_->setText(cut ? QFontMetrics(font).elidedText(whole, Qt::ElideRight, room) : whole);
  statusLine_->setToolTip(cut ? whole : QString());
}

void MainWindow::onMainSelection(int row) {
  if (entryOfRow(row) < 0) return;
  lookup_->showSelectedEntry(static_cast<std::size_t>(entryOfRow(row)));
  showTranslation();
}

void MainWindow::onRelatedSelection(int row) {
  if (row < 0) return;
  lookup_->showSelectedRelated(static_cast<std::size_t>(row));
  showFormattedText(relatedPane_, lookup_->relatedTranslationText(),
                    lookup_->relatedTranslationRuns());
}

// A double click on a related text lists the phrases holding it; the status
// line is left as it is.
void MainWindow::onRelatedDoubleClicked() {
  const QListWidgetItem* item = relatedList_->currentItem();
  if (item == nullptr) return;
  syncLookupSettings();
  lookup_->findPhrases(bytesOf(item->text()));
  showPhraseList();
}

void MainWindow::updatePhraseHint(QPoint pos) {
  if (phraseList_->count() == 0) return;
  const int line = phraseList_->indexAt(pos).row();
  if (line < 0 || line == hintLine_) return;
  phraseList_->setToolTip(phraseList_->item(line)->text());
  hintLine_ = line;
}

}  // namespace tavro2
