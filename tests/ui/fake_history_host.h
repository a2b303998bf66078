// A stand-in main window for the companion windows' tests: real history and lookup state,
// a plain text pane, and counters for what they ask of the main window.
#pragma once

#include <QTextEdit>

#include "app/history_list.h"
#include "app/settings.h"
#include "engine/dictionary_store.h"
#include "engine/lookup_state.h"
#include "test_util.h"
#include "ui/definition_popup.h"
#include "ui/format_adapter.h"
#include "ui/history_host.h"
#include "ui/history_window.h"

namespace tavro2::test {

class FakeHistoryHost : public HistoryHost {
 public:
  ~FakeHistoryHost() override { deleteHistoryWindow(); }

  HistoryList& historyList() override { return list; }
  const Settings& settings() const override { return settingsValue; }
  HistoryColors colors() const override { return {}; }
  ScreenPlaces screen() const override { return places; }
  std::string searchBoxText() const override { return searchBox; }
  QTextEdit* translationPane() override { return &pane; }
  void showHistoryEntry(const std::string& word, const std::string& historyWord) override {
    lookupState.showHistoryEntry(word, list.historyTranslation(historyWord));
    showPane();
  }
  bool mainWindowHidden() const override { return hidden; }
  QRect mainWindowArea() const override { return mainArea; }
  void mainWindowCommand(MainWindowCommand command) override {
    ++commands[static_cast<int>(command)];
    if (command == MainWindowCommand::kShow || command == MainWindowCommand::kMinimizeAndHide)
      hidden = command == MainWindowCommand::kMinimizeAndHide;
  }
  bool clipboardButtonDown() const override { return buttonDown; }
  bool lookUpCopiedWord(std::string word) override {
    const bool found = lookupState.lookupCopiedWord(std::move(word));
    showPane(), ++lookupShows;
    if (found) ++records, list.addToHistory(searchBox, lookupState.translationText());
    return found;
  }

  void showPane() {
    searchBox = lookupState.searchText();
    showFormattedText(&pane, lookupState.translationText(), lookupState.translationRuns());
  }
  int count(MainWindowCommand command) const { return commands[static_cast<int>(command)]; }
  void addWords(const std::vector<std::string>& words) {
    for (const std::string& w : words) list.addToHistory(w, w + " translation of " + w);
  }
  std::vector<std::string> itemTexts() const {
    std::vector<std::string> out;
    if (historyWindow())
      for (const HistoryItem* item : historyWindow()->items()) out.push_back(item->itemText());
    return out;
  }
  int slideUntilSettled() {
    int ticks = 0;
    for (FHistory* w; (w = historyWindow()) && w->slideTimerActive() && ticks < 1000; ++ticks)
      w->slideTick();
    return ticks;
  }

  TempDir dir;
  HistoryList list{dir.file("History.txt")};
  Settings settingsValue;
  ScreenPlaces places{{0, 0, 1280, 770}, {0, 0, 1280, 800}, {600, 400}};
  QRect mainArea;  // where the main window shows; empty: hidden
  std::string searchBox;
  QTextEdit pane;
  DictionaryStore store;
  LookupState lookupState{store, dir.path()};
  bool hidden = false, buttonDown = true;
  int commands[3] = {}, lookupShows = 0, records = 0;
};

}  // namespace tavro2::test
