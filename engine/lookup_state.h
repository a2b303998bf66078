// LookupState: what the main window shows of a lookup, as plain data.
//
// The window (and the command line) call the operations below and then show
// the fields; nothing here knows about widgets. Each query reads the user
// word lists from the program directory afresh and scans them before the
// store's lists. Texts are Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dictionary_store.h"
#include "engine/phrase_search.h"
#include "engine/render.h"
#include "engine/user_list_cache.h"
#include "engine/word_list.h"

namespace tavro2 {

class Stemmer;

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
  std::string searchText;       // the search box, as the user typed it
  WordList mainWords;           // main word list
  WordList FoundTranslations;   // parallel to mainWords
  std::string translationText;  // translation pane
  std::vector<FormatRun> translationRuns;
  WordList relatedWords;               // related-text list
  WordList RelatedTranslations;        // parallel to relatedWords
  std::string relatedTranslationText;  // related translation pane
  std::vector<FormatRun> relatedTranslationRuns;
  std::vector<PhrasePair> phrases;  // phrase list: (phrase, translation) pairs
  std::string statusText;           // status line (texts begin with a space)
  bool FoundInIndonesian = false;
  std::string fallbackWord;
  // Set by SearchFromBox: the query or one of its base forms was found.
  bool queryFound = false;
  // Hunspell's stems for the base-form fallback; none when null (the
  // window, the command line and the reach report give it Stemmer::shared()).
  std::shared_ptr<Stemmer> stemmer;

  // --- Operations --------------------------------------------------------
  // The search box path (Enter or Find) on searchText. Returns true when the
  // history should be offered the word: every query that was looked up,
  // found or not; false when the cleaned text was empty. Sets queryFound.
  bool searchFromBox();
  // Looks a cleaned query up; true when found as a headword. Empties the
  // lists and panes first; the phrase search at its end uses the trimmed
  // searchText, not the query.
  bool lookupWord(std::string_view query);
  // Tries the base-form candidates of fallbackWord through LookupWord until
  // one is found (true); otherwise the status line reads " not found". After
  // the ending rules come the irregular forms and the stems of the
  // directions searched (FurtherBaseFormCandidates).
  bool findBaseForm();
  // Selection changes in the main word list and the related-text list. An
  // index outside the list (no selection) changes nothing.
  void showSelectedEntry(std::size_t index);
  void showSelectedRelated(std::size_t index);
  // Fills the phrase list (emptied first); true when a phrase was added.
  // Also run for a double click on a related text; the status line is left
  // alone.
  bool findPhrases(std::string_view query);
  // Puts a text into the translation pane rendered for `word` (the history
  // window's choice of an item uses it).
  void showTranslation(std::string text, std::string_view word);
  // The user list read last (empty after a lookup of an empty text).
  const WordList& userWordList() const { return userList_->lines(); }

 private:
  // One side of a lookup: its user list, then its dictionary headwords.
  void scanSide(DataKind kind, const char* userListName, bool indonesian, std::string_view query,
                std::size_t& related, bool& found);

  const DictionaryStore& store_;
  std::string dir_;
  UserListCache userLists_;
  const UserList* userList_;
};

}  // namespace tavro2
