// LookupState: what the main window shows of a lookup, as plain data.
//
// The window (and the command line) call the operations below and then show
// what the accessors give; nothing here knows about widgets. Each query
// checks the user word lists on disk (reading a list again only when it
// changed) and scans them before the store's lists. Texts are Windows-1252
// bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// A headword offered in the main word list (while typing, or as a
// suggestion) with what selecting it shows.
struct HeadwordEntry {
  std::string word;         // the headword, as the file writes it
  std::string translation;  // its entry's translation
  bool indonesian = false;  // from the Indonesian side
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
  // The user lists are read from `userDir` (which ends with a separator).
  // `stemmer` gives the base-form fallback Hunspell's stems; none when null
  // (the window, the command line and the reach report pass
  // Stemmer::shared()).
  LookupState(const DictionaryStore& store, std::string userDir,
              std::shared_ptr<Stemmer> stemmer = nullptr);

  // The settings every later operation reads; the caller keeps them current.
  const LookupSettings& settings() const { return settings_; }
  void setSettings(const LookupSettings& settings) { settings_ = settings; }

  // --- Operations --------------------------------------------------------
  // The search box path (Enter or Find) on `boxText`, which becomes the
  // search text. Returns true when the history should be offered the word:
  // every query that was looked up, found or not; false when the cleaned
  // text was empty (nothing else changes then). queryFound() tells whether
  // the query or one of its base forms was found.
  bool searchFromBox(std::string_view boxText);
  // The query searchFromBox looks up for `boxText`: lowered and trimmed,
  // and with AutoRemAlpha only its letters; empty when nothing is left.
  std::string queryOf(std::string_view boxText) const;
  // The clipboard and selection path: `word` (already cleaned and lowered)
  // becomes the search text and is looked up as it is, then through its
  // base forms, then as a whole phrase. True when any of them found it; a
  // base form found becomes the search text (a copied "went" is recorded
  // as "go"). Otherwise the lists and status line show what the last try
  // left, " not found".
  bool lookupCopiedWord(std::string word);
  // Looks a cleaned query up; true when found as a headword. Empties the
  // lists and panes first; the phrase search at its end uses the trimmed
  // search text, not the query.
  bool lookupWord(std::string_view query);
  // Tries the base-form candidates of `word` through lookupWord until one
  // is found (true: the status line then names the word and the form found,
  // see noteBaseForm); otherwise the status line reads " not found". After
  // the ending rules come the irregular forms and the stems of the
  // directions searched (furtherBaseFormCandidates). A root those find on
  // the Indonesian side is passed over when it cannot be the word's
  // (indonesianRootFits); for a word with clitics or reduplicated the
  // status line says so: " Indonesian word: rumah + -nya (his, her, its;
  // the)" (indonesianFormNote).
  bool findBaseForm(std::string_view word);
  // A query no lookup found that is a phrase of the collection (the user's
  // phrases, then the dictionary's; A-Z folded): on the Indonesian side the
  // phrase itself, on the English side one of its translation's items
  // ("thank you" of "thank you, thanks"). The pane shows it as an entry,
  // the main list holds it and the status line reads " Indonesian phrase"
  // or " English phrase"; true then. The directions searched are those of
  // the lookup, Indonesian first.
  bool findExactPhrase(std::string_view query);
  // The list shown while typing: the main word list holds the headwords of
  // the searched sides that begin with `boxText` (trimmed, A-Z lowered;
  // typingMatches) and the translation pane the first of them. Nothing is
  // looked up or recorded, and the status line and the other lists stay.
  // False (and nothing changes) when the text is blank or nothing matches.
  bool showTypingList(std::string_view boxText);
  bool typingListShown() const { return mainList_ == MainList::kTyping; }
  // "Did you mean": the headwords nearest the query the last searchFromBox
  // or lookupCopiedWord did not find (suggestHeadwords over the sides the
  // direction searches); empty after a find. May take tens of milliseconds
  // when Hunspell is asked; the window runs suggestHeadwords on
  // missedQuery() off its thread instead.
  std::vector<HeadwordEntry> suggestions() const;
  // The cleaned query of the last searchFromBox or lookupCopiedWord when
  // nothing was found for it; empty otherwise.
  const std::string& missedQuery() const { return missedQuery_; }
  // The main word list holds `entries` offered as suggestions (and the
  // translation pane nothing until one is selected); the status line and
  // the other lists stay. Nothing changes for an empty list.
  void showSuggestions(std::vector<HeadwordEntry> entries);
  bool suggestionsShown() const { return mainList_ == MainList::kSuggestions; }
  // Selection changes in the main word list and the related-text list. An
  // index outside the list (no selection) changes nothing.
  void showSelectedEntry(std::size_t index);
  void showSelectedRelated(std::size_t index);
  // Fills the phrase list (emptied first); true when a phrase was added.
  // Also run for a double click on a related text; the status line is left
  // alone.
  bool findPhrases(std::string_view query);
  // A history item chosen: `word` becomes the search text and the
  // translation pane shows `translation` rendered for it. No lookup runs.
  void showHistoryEntry(std::string word, std::string translation);
  // The status line's text until an operation changes it (a search of an
  // empty text leaves it alone).
  void setStatusText(std::string text) { statusText_ = std::move(text); }

  // --- What the window shows -------------------------------------------
  const std::string& searchText() const { return searchText_; }  // as typed or copied
  const WordList& mainWords() const { return mainWords_; }
  const WordList& foundTranslations() const { return foundTranslations_; }  // parallel
  const std::string& translationText() const { return translationText_; }
  const std::vector<FormatRun>& translationRuns() const { return translationRuns_; }
  const WordList& relatedWords() const { return relatedWords_; }
  const WordList& relatedTranslations() const { return relatedTranslations_; }  // parallel
  const std::string& relatedTranslationText() const { return relatedTranslationText_; }
  const std::vector<FormatRun>& relatedTranslationRuns() const { return relatedTranslationRuns_; }
  // The phrase list: (phrase, translation) pairs.
  const std::vector<PhrasePair>& phrases() const { return phrases_; }
  const std::string& statusText() const { return statusText_; }  // begins with a space
  // The transcription of the English entry the translation pane shows: the
  // UTF-8 IPA of its headword (of the base form shown for an inflected
  // word) from dataipa.dat. Empty for an Indonesian entry, a word with none
  // and an empty pane; a history entry, whose side is not recorded, has its
  // word's. It is no part of translationText(): the pane's text
  // begins with shownHeadword() and the window shows the transcription
  // after it.
  const std::string& ipa() const { return ipa_; }
  // The last headword found was Indonesian (markers are not coloured then).
  bool foundInIndonesian() const { return foundInIndonesian_; }
  // The headword of the entry the translation pane shows (the first of
  // two), as the pane writes it; empty while it shows no entry.
  const std::string& shownHeadword() const { return shown_.word; }
  // Whether that entry is Indonesian. A history entry names no side: its
  // word's own is found then (readAsIndonesian).
  bool shownIndonesian();
  // Whether `word` reads as Indonesian: the direction searches only that
  // side, or in "Automatic" it is an Indonesian headword and no English one
  // (the user's lists and the dictionary's; English first, as lookups go).
  bool readAsIndonesian(std::string_view word);
  // Set by searchFromBox: the query or one of its base forms was found.
  bool queryFound() const { return queryFound_; }
  // In "Automatic", a query found on the English side that is also an
  // Indonesian headword: the translation pane holds the English entry, a
  // line break (kEntrySeparator), then the Indonesian entry, and the status
  // line names both languages. The lists stay those of the English find.
  bool alsoIndonesian() const { return alsoIndonesian_; }

 private:
  // The translation of the first Indonesian entry of `word` (the user list
  // first, then the dictionary), or nothing.
  std::optional<std::string> indonesianTranslation(std::string_view word);
  // After `word` was found as the Indonesian `root`: false when that cannot
  // be its root (indonesianRootFits); otherwise true, and the status line
  // names the clitics or the reduplication taken off, if any.
  bool noteIndonesianForm(std::string_view word, std::string_view root);
  // After `word` was found as `base`, the status line says so: " English
  // word: went -> go (past form)", the kind where WordNet's lists tell it.
  void noteBaseForm(std::string_view word, std::string_view base);
  // Adds ": note" to the status line after its language words, unless a
  // note is there already; nothing for an empty note.
  void noteOnStatus(std::string_view note);
  // What shownHeadword and shownIndonesian tell; no side for a history entry.
  struct ShownEntry {
    std::string word;
    std::optional<bool> indonesian;
  };
  ShownEntry shown_;
  std::string baseFound_;  // the base form the last successful fallback found
  std::string missedQuery_;
  // What the main word list holds: a lookup's neighbours, or headwords
  // offered while typing or as suggestions, whose sides (Indonesian) are
  // listSides_.
  enum class MainList : std::uint8_t { kLookup, kTyping, kSuggestions };
  MainList mainList_ = MainList::kLookup;
  std::vector<bool> listSides_;
  void showOffered(MainList kind, std::vector<HeadwordEntry> entries);
  // The pane now shows the entry of `word` (none when empty), of the side
  // `indonesian` names (unknown for a history entry): the shown entry, and
  // its transcription when it is not Indonesian and `transcribed`.
  void notePaneEntry(std::string_view word, std::optional<bool> indonesian,
                     bool transcribed = true);
  // One side of a lookup: its user list, then its dictionary headwords.
  void scanSide(DataKind kind, const char* userListName, bool indonesian, std::string_view query,
                std::size_t& related, bool& found);

  const DictionaryStore& store_;
  std::string dir_;
  std::shared_ptr<Stemmer> stemmer_;
  LookupSettings settings_;
  UserListCache userLists_;
  const UserList* userList_;

  std::string searchText_;
  WordList mainWords_;
  WordList foundTranslations_;
  std::string translationText_;
  std::vector<FormatRun> translationRuns_;
  WordList relatedWords_;
  WordList relatedTranslations_;
  std::string relatedTranslationText_;
  std::vector<FormatRun> relatedTranslationRuns_;
  std::vector<PhrasePair> phrases_;
  std::string statusText_;
  std::string ipa_;
  bool foundInIndonesian_ = false;
  bool queryFound_ = false;
  bool alsoIndonesian_ = false;
  // The Indonesian dictionary's headwords -> their first line, for the
  // count it was made for.
  std::unordered_map<std::string_view, std::size_t> indonesianIndex_;
  std::int32_t indonesianIndexed_ = 0;
};

// Joins two entries in one pane; a history line keeps them on one line
// with kHistoryEntrySeparator instead (entriesOnOneLine, entriesOnLines).
inline constexpr char kEntrySeparator = '\n';
inline constexpr std::string_view kHistoryEntrySeparator = " \xA6 ";  // broken bar

// The pane text with its entries on one line, and back.
std::string entriesOnOneLine(std::string_view paneText);
std::string entriesOnLines(std::string_view oneLine);

// The runs of a pane holding one entry or, after kEntrySeparator, a second
// one: each entry rendered for its own word (markers coloured in both).
std::vector<FormatRun> renderPaneText(std::string_view text, std::string_view word,
                                      bool foundInIndonesian);

}  // namespace tavro2
