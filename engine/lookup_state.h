// LookupState: what the main window shows of a lookup, as plain data.
//
// The window (and the command line) call the operations below and then show
// the fields; nothing here knows about widgets. Each query reads the user
// word lists from the program directory afresh and scans them before the
// store's lists. Texts are Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dictionary_store.h"
#include "engine/render.h"
#include "engine/word_list.h"

namespace tavro2 {

// The three direction choices; the numbers are the Language setting's.
enum class Direction : std::uint8_t {
  kAutomatic = 1,
  kEnglishIndonesian = 2,
  kIndonesianEnglish = 3,
};

// The settings a lookup reads; the caller keeps them current.
struct LookupSettings {
  Direction direction = Direction::kAutomatic;
  std::uint16_t WordsBefore = 0;
  std::uint16_t WordsAfter = 0;
  std::uint16_t MaxContainTexts = 10;
  bool CompactMode = false;
  bool ShowPhrase = false;
  bool AutoRemAlpha = true;
};

class LookupState {
 public:
  // `programDir` ends with a separator; the user lists are read from it.
  LookupState(const DictionaryStore& store, std::string programDir);

  LookupSettings settings;

  // --- What the window shows -------------------------------------------
  std::string searchText;            // the search box, as the user typed it
  WordList mainWords;                // main word list
  WordList FoundTranslations;        // parallel to mainWords
  std::string translationText;       // translation pane
  std::vector<FormatRun> translationRuns;
  WordList relatedWords;             // related-text list
  WordList RelatedTranslations;      // parallel to relatedWords
  std::string relatedTranslationText;  // related translation pane
  std::vector<FormatRun> relatedTranslationRuns;
  std::vector<std::pair<std::string, std::string>> phrases;  // phrase list, in pairs
  std::string statusText;            // status line (texts begin with a space)
  bool FoundInIndonesian = false;
  std::string fallbackWord;
  WordList UserWordList;             // the user list read last

  // --- Operations --------------------------------------------------------
  // The search box path (Enter or Find). Returns true when the history should
  // be offered the word (every query that was looked up).
  bool SearchFromBox();
  // Looks a cleaned query up; true when found as a headword.
  bool LookupWord(std::string_view query);
  // Tries the base-form candidates of fallbackWord; " not found" when none is.
  void FindBaseForm();
  // Selection changes in the main word list and the related-text list.
  void ShowSelectedEntry(std::size_t index);
  void ShowSelectedRelated(std::size_t index);
  // Fills the phrase list; true when a phrase was added.
  bool FindPhrases(std::string_view query);
  // Puts a text into the translation pane rendered for `word` (the history
  // window's choice of an item uses it).
  void ShowTranslation(std::string text, std::string_view word);

 private:
  const DictionaryStore& store_;
  std::string dir_;
};

}  // namespace tavro2
