// A stand-in main window for the history, popup and clipboard tests: real
// history, lookup state and popup over a scratch directory, counters for the
// main-window operations the companions ask for.
#pragma once

#include <QPointer>
#include <QTextCursor>
#include <QTextEdit>

#include "app/history_list.h"
#include "app/settings.h"
#include "engine/cp1252.h"
#include "engine/lookup_state.h"
#include "test_util.h"
#include "ui/definition_popup.h"
#include "ui/history_host.h"
#include "ui/history_window.h"

namespace tavro2::test {

class FakeHistoryHost : public HistoryHost {
 public:
  ~FakeHistoryHost() override { delete window.data(); }

  void addWords(const std::vector<std::string>& words) {
    for (const std::string& w : words) list.addToHistory(w, w + " translation of " + w);
  }
  std::vector<std::string> itemTexts() const {
    std::vector<std::string> out;
    if (window)
      for (const HistoryItem* item : window->items()) out.push_back(item->itemText());
    return out;
  }
  int slideUntilSettled() {
    int ticks = 0;
    for (; window && window->slideTimerActive() && ticks < 1000; ++ticks) window->slideTick();
    return ticks;
  }
  // 1252 text, so byte offsets are character offsets.
  void showPane() {
    pane.setPlainText(QString::fromUtf8(cp1252ToUtf8(lookupState.translationText)));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (const FormatRun& run : lookupState.translationRuns) {
      if (!run.bold) continue;
      QTextCursor cursor(pane.document());
      cursor.setPosition(static_cast<int>(run.start));
      cursor.setPosition(static_cast<int>(run.start + run.length), QTextCursor::KeepAnchor);
      cursor.mergeCharFormat(bold);
    }
  }

  HistoryList& historyList() override { return list; }
  const Settings& settings() const override { return settingsValue; }
  HistoryColors colors() const override { return colorsValue; }
  QRect workArea() const override { return work; }
  QRect screenGeometry() const override { return screen; }
  std::string searchBoxText() const override { return searchBox; }
  QTextEdit* translationPane() override { return &pane; }
  QPoint pointerPosition() const override { return pointer; }
  void showHistoryEntry(const std::string& word, const std::string& historyWord) override {
    searchBox = word;
    lookupState.showTranslation(list.historyTranslation(historyWord), searchBox);
    showPane();
    ++entriesShown;
  }
  bool mainWindowHidden() const override { return hidden; }
  void restoreProgram() override { ++restores; }
  void showMainWindow() override { ++mainShows, hidden = false; }
  void minimizeAndHideMainWindow() override { ++minimizes, hidden = true; }
  void historyCommand() override { window = FHistory::historyCommand(*this, window); }
  void historyWindowClosed() override { ++closes, restoreProgram(), window = nullptr; }
  bool clipboardHit() const override { return hit; }
  void setClipboardHit(bool value) override { hit = value; }
  FDef* definitionPopup() override { return popup.get(); }
  FHistory* historyWindow() override { return window; }
  bool clipboardButtonDown() const override { return buttonDown; }
  LookupState& lookup() override { return lookupState; }
  void showLookupState() override { searchBox = lookupState.searchText, showPane(), ++lookupShows; }
  void recordInHistory() override {
    ++records;
    list.addToHistory(lookupState.searchText, lookupState.translationText);
  }

  TempDir dir;
  HistoryList list{dir.file("History.txt")};
  Settings settingsValue;
  HistoryColors colorsValue{rgbColor(108, 140, 189), rgbColor(114, 178, 245),
      rgbColor(246, 249, 253), rgbColor(237, 243, 251), rgbColor(164, 194, 235),
      rgbColor(232, 240, 251), rgbColor(237, 243, 251)};
  QRect work{0, 0, 1280, 770}, screen{0, 0, 1280, 800};
  QPoint pointer{600, 400};
  std::string searchBox;
  QTextEdit pane;
  DictionaryStore store;
  LookupState lookupState{store, dir.path()};
  std::unique_ptr<FDef> popup = std::make_unique<FDef>(*this);
  QPointer<FHistory> window;
  bool hidden = false, hit = false, buttonDown = true;
  int restores = 0, mainShows = 0, minimizes = 0, closes = 0, entriesShown = 0, lookupShows = 0,
      records = 0;
};

}  // namespace tavro2::test
