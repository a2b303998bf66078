#include "engine/lookup_state.h"

#include <algorithm>

#include "engine/base_form_stages.h"
#include "engine/data_file.h"
#include "engine/indonesian_affixes.h"
#include "engine/irregular_forms.h"
#include "engine/phrase_search.h"
#include "engine/query_text.h"
#include "engine/suggestions.h"
#include "engine/text_search.h"
#include "engine/typing_list.h"
#include "engine/word_ranks.h"

namespace tavro2 {

namespace {

const UserList emptyList;

std::string paneText(std::string_view word, std::string_view translation) {
  std::string text;
  text.reserve(word.size() + 1 + translation.size());
  text.append(word).append(" ").append(translation);
  return text;
}

}  // namespace

std::string entriesOnOneLine(std::string_view paneText) {
  std::string out;
  for (char c : paneText) {
    if (c == kEntrySeparator) out += kHistoryEntrySeparator;
    else out += c;
  }
  return out;
}

std::string entriesOnLines(std::string_view oneLine) {
  std::string out(oneLine);
  if (const std::size_t at = out.find(kHistoryEntrySeparator); at != std::string::npos)
    out.replace(at, kHistoryEntrySeparator.size(), 1, kEntrySeparator);
  return out;
}

std::vector<FormatRun> renderPaneText(std::string_view text, std::string_view word,
                                      bool foundInIndonesian) {
  const std::size_t at = text.find(kEntrySeparator);
  if (at == std::string_view::npos) return renderEntryText(text, word, foundInIndonesian);
  // The second entry is "word translation" too: rendered for its own word.
  std::vector<FormatRun> runs = renderEntryText(text.substr(0, at), word, false);
  const std::string_view second = text.substr(at + 1);
  for (FormatRun run : renderEntryText(second, second.substr(0, second.find(' ')), false)) {
    run.start += at + 1;
    runs.push_back(run);
  }
  return runs;
}

LookupState::LookupState(const DictionaryStore& store, std::string userDir,
                         std::shared_ptr<Stemmer> stemmer)
    : store_(store), dir_(std::move(userDir)), stemmer_(std::move(stemmer)),
      userList_(&emptyList) {}

bool LookupState::searchFromBox(std::string_view boxText) {
  queryFound_ = false;
  searchText_ = boxText;
  if (trimView(searchText_).empty()) return false;
  const std::string query = queryOf(searchText_);
  if (query.empty()) return false;
  missedQuery_.clear();
  // A query not found falls back on its base forms: the box is read again
  // for the fallback word, and as it has not changed that is the query.
  queryFound_ = lookupWord(query) || findBaseForm(query) || findExactPhrase(query);
  if (!queryFound_) missedQuery_ = query;
  return true;
}

std::string LookupState::queryOf(std::string_view boxText) const {
  return trim(lower(settings_.AutoRemAlpha ? filterLetters(boxText) : boxText));
}

bool LookupState::lookupCopiedWord(std::string word) {
  searchText_ = std::move(word);
  missedQuery_.clear();
  if (lookupWord(searchText_)) return true;
  const std::string query = lower(searchText_);
  // A word found through its base form is the base's find (went: go), and
  // a phrase found whole is as good as a word found directly.
  if (findBaseForm(query)) {
    searchText_ = baseFound_;
    return true;
  }
  if (findExactPhrase(query)) return true;
  missedQuery_ = trim(query);
  return false;
}

bool LookupState::findExactPhrase(std::string_view query) {
  // A copy (the query may point into a list emptied below), its words one
  // space apart as the collection writes them.
  std::string q;
  for (const char c : trimView(query))
    if (c != ' ' || q.back() != ' ') q += c;
  if (q.find(' ') == std::string::npos) return false;  // a phrase has two words at least
  const Direction dir = settings_.direction;
  const UserList& userPhrases = userLists_.read(dir_ + kPhraseListName);
  for (const bool indonesian : {true, false}) {
    if (dir == (indonesian ? Direction::kEnglishIndonesian : Direction::kIndonesianEnglish))
      continue;
    std::vector<PhrasePair> pairs;
    collectPhrases(q, indonesian, userPhrases, store_, pairs);
    for (const auto& [text, translation] : pairs) {
      // The English side is a list of translations; one of them is the phrase.
      bool same = equalsFolded(text, q);
      for (std::size_t at = 0; !same && !indonesian && at < text.size();) {
        const std::size_t comma = text.find(", ", at);
        same = equalsFolded(text.substr(at, comma - at), q);
        at = comma == std::string::npos ? text.size() : comma + 2;
      }
      if (!same) continue;
      const std::string shown = indonesian ? text : q;
      mainWords_.clear();
      foundTranslations_.clear();
      mainWords_.append(shown);
      foundTranslations_.append(translation);
      foundInIndonesian_ = indonesian;
      alsoIndonesian_ = false;
      translationText_ = paneText(shown, translation);
      translationRuns_ = renderEntryText(translationText_, shown, indonesian);
      notePaneEntry(shown, indonesian);
      statusText_ = indonesian ? " Indonesian phrase" : " English phrase";
      return true;
    }
  }
  return false;
}

void LookupState::scanSide(DataKind kind, const char* userListName, bool indonesian,
                           std::string_view q, std::size_t& related, bool& found) {
  const std::size_t maxRelated = settings_.MaxContainTexts;

  // The user list is checked on disk for every query (the editor may have
  // saved it since the last one) and read again when it changed; its scan
  // always runs to the end. Each word shows the translation of the first
  // line of that word (A-Z folded), which the list's index gives. A word
  // holding q is part of a line holding it: the fast scan finds the lines,
  // and the word is checked on its own.
  userList_ = &userLists_.read(dir_ + userListName);
  const WordList& lines = userList_->lines();
  forEachLineContaining(lines, lines.count(), q, [&](std::size_t i) {
    const std::string_view w = entryWord(lines.line(i));
    if (w.find(q) == std::string_view::npos) return true;
    if (w == q) {
      found = true;
      foundInIndonesian_ = indonesian;
      mainWords_.append(w);
      foundTranslations_.append(userList_->translationOf(i));
    } else if (related < maxRelated) {
      relatedWords_.append(w);
      relatedTranslations_.append(userList_->translationOf(i));
      ++related;
    }
    return true;
  });

  // The count is read once (acquire) and the lists only below it, so a file
  // the loader is still publishing reads as absent.
  const std::int32_t count = store_.count(kind);
  if (count <= 0) return;
  const WordList& heads = store_.headwords(kind);
  const WordList& translations = store_.translations(kind);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), heads.count());
  forEachLineContaining(heads, n, q, [&](std::size_t i) {
    const std::string_view h = heads.line(i);
    if (h == q) {
      found = true;
      foundInIndonesian_ = indonesian;
      const std::size_t lo = i >= settings_.WordsBefore ? i - settings_.WordsBefore : 0;
      const std::size_t hi = std::min(n - 1, i + settings_.WordsAfter);
      for (std::size_t j = lo; j <= hi; ++j) {
        foundTranslations_.append(translations.line(j));
        mainWords_.append(heads.line(j));
      }
      return !settings_.CompactMode;  // compact mode: the first match ends the side
    }
    if (related < maxRelated) {
      relatedWords_.append(h);
      relatedTranslations_.append(translations.line(i));
      ++related;
    }
    return true;
  });
}

std::optional<std::string> LookupState::indonesianTranslation(std::string_view word) {
  const UserList& list = userLists_.read(dir_ + kIndonesianListName);
  std::optional<std::string> found;
  forEachLineContaining(list.lines(), list.lines().count(), word, [&](std::size_t i) {
    if (entryWord(list.lines().line(i)) != word) return true;
    found = std::string(list.translationOf(i));
    return false;
  });
  if (found) return found;
  // Every English find in "Automatic" asks, so the dictionary's headwords
  // get an index once the file is published (a published list never
  // changes); a scan would cost as much as the English side's.
  const std::int32_t count = store_.count(DataKind::kIndonesian);
  if (count <= 0) return found;
  const WordList& heads = store_.headwords(DataKind::kIndonesian);
  if (count != indonesianIndexed_) {
    indonesianIndex_.clear();
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), heads.count());
    indonesianIndex_.reserve(n);
    for (std::size_t i = 0; i < n; ++i) indonesianIndex_.try_emplace(heads.line(i), i);
    indonesianIndexed_ = count;
  }
  if (const auto it = indonesianIndex_.find(word); it != indonesianIndex_.end())
    found = std::string(store_.translations(DataKind::kIndonesian).line(it->second));
  return found;
}

bool LookupState::lookupWord(std::string_view query) {
  // A copy: the caller's text may live in one of the lists emptied below.
  const std::string q(query);
  bool found = false;
  alsoIndonesian_ = false;
  mainList_ = MainList::kLookup;
  listSides_.clear();
  mainWords_.clear();
  translationText_.clear();
  translationRuns_.clear();
  notePaneEntry({}, false);
  relatedWords_.clear();
  relatedTranslationText_.clear();
  relatedTranslationRuns_.clear();
  foundTranslations_.clear();
  relatedTranslations_.clear();
  userList_ = &emptyList;

  const std::string_view trimmed = trimView(q);
  if (trimmed.empty()) return false;  // the status line keeps its text

  std::size_t related = 0;  // one cap over all four scans
  const Direction dir = settings_.direction;
  if (dir == Direction::kAutomatic || dir == Direction::kEnglishIndonesian)
    scanSide(DataKind::kEnglish, kEnglishListName, false, q, related, found);
  if (!found && (dir == Direction::kAutomatic || dir == Direction::kIndonesianEnglish))
    scanSide(DataKind::kIndonesian, kIndonesianListName, true, q, related, found);

  if (!foundTranslations_.empty()) {
    // Every main-list line equal to q was appended with it, so k exists;
    // it may be an earlier neighbour differing from q in case only.
    std::size_t k = 0;
    while (k < mainWords_.count() && !equalsFolded(mainWords_.line(k), q)) ++k;
    translationText_ = paneText(q, foundTranslations_.line(k));
    // A word of both languages (air, jam, orang) shows the Indonesian entry
    // under the English one; the lists stay the English find's.
    if (dir == Direction::kAutomatic && found && !foundInIndonesian_) {
      if (const auto indonesian = indonesianTranslation(q)) {
        alsoIndonesian_ = true;
        translationText_.append(1, kEntrySeparator).append(paneText(q, *indonesian));
      }
    }
    translationRuns_ = renderPaneText(translationText_, q, foundInIndonesian_);
    notePaneEntry(q, foundInIndonesian_);
  }
  if (!relatedTranslations_.empty()) {
    const std::string_view r = relatedWords_.line(0);
    relatedTranslationText_ = paneText(r, relatedTranslations_.line(0));
    relatedTranslationRuns_ = renderEntryText(relatedTranslationText_, r, foundInIndonesian_);
  }

  if (found && alsoIndonesian_)
    statusText_ = " English word, Indonesian word";
  else if (found)
    statusText_ = foundInIndonesian_ ? " Indonesian word" : " English word";
  else
    statusText_ = " ";

  if (trimmed.size() >= 2 && settings_.ShowPhrase && !settings_.CompactMode) {
    if (findPhrases(trimView(searchText_)))
      statusText_ += " (" + std::to_string(phrases_.size()) + " Phrase)";
  }
  return found;
}

bool LookupState::findBaseForm(std::string_view word) {
  const std::string fallbackWord(word);  // may point into a list emptied below
  const std::vector<std::string> tried = baseFormCandidates(fallbackWord);
  for (const std::string& candidate : tried)
    if (lookupWord(candidate)) {
      noteBaseForm(fallbackWord, candidate);
      return true;
    }
  // Only a word that every ending rule left unfound goes on to the further
  // stages, so whatever those rules find stays as it was.
  for (const std::string& candidate :
       furtherBaseFormCandidates(fallbackWord, tried, settings_.direction, stemmer_.get())) {
    if (!lookupWord(candidate)) continue;
    if (!foundInIndonesian_ || noteIndonesianForm(fallbackWord, candidate)) {
      noteBaseForm(fallbackWord, candidate);
      return true;
    }
    // Passed over: its entry is not shown, as for a candidate not found.
    mainWords_.clear();
    foundTranslations_.clear();
    translationText_.clear();
    translationRuns_.clear();
    notePaneEntry({}, false);
  }
  statusText_ = " not found";
  return false;
}

void LookupState::noteOnStatus(std::string_view note) {
  // The status reads " English word" (or " Indonesian word", or both) and
  // perhaps " (2 Phrase)"; the note goes after the words, once.
  const std::size_t end = std::min(statusText_.find(" ("), statusText_.size());
  if (note.empty() || statusText_.substr(0, end).find(':') != std::string::npos) return;
  statusText_.insert(end, ": " + std::string(note));
}

void LookupState::noteBaseForm(std::string_view word, std::string_view base) {
  baseFound_ = base;
  std::string note = std::string(word) + " -> " + std::string(base);
  if (const std::string_view kind = irregularKind(word, base); !kind.empty())
    note.append(" (").append(kind).append(")");
  noteOnStatus(note);  // after the clitics' note, if there is one, nothing
}

bool LookupState::noteIndonesianForm(std::string_view word, std::string_view root) {
  // The pane holds "root translation" (an Indonesian find has no second entry).
  std::string_view translation = translationText_;
  if (translation.starts_with(root) && translation.substr(root.size()).starts_with(' '))
    translation.remove_prefix(root.size() + 1);
  if (!indonesianRootFits(word, root, translation)) return false;
  noteOnStatus(indonesianFormNote(word, root, translation));
  return true;
}

bool LookupState::showTypingList(std::string_view boxText) {
  const std::string prefix = lower(trimView(boxText));
  if (prefix.empty()) return false;
  std::vector<HeadwordEntry> matches =
      typingMatches(store_, prefix, settings_.direction, WordRanks::shared());
  if (matches.empty()) return false;
  showOffered(MainList::kTyping, std::move(matches));
  showSelectedEntry(0);
  return true;
}

std::vector<HeadwordEntry> LookupState::suggestions() const {
  return suggestHeadwords(store_, missedQuery_, settings_.direction, WordRanks::shared(),
                          stemmer_.get());
}

void LookupState::showSuggestions(std::vector<HeadwordEntry> entries) {
  if (entries.empty()) return;
  showOffered(MainList::kSuggestions, std::move(entries));
  translationText_.clear();
  translationRuns_.clear();
  notePaneEntry({}, false);
}

void LookupState::showOffered(MainList kind, std::vector<HeadwordEntry> entries) {
  mainList_ = kind;
  mainWords_.clear();
  foundTranslations_.clear();
  listSides_.clear();
  for (const HeadwordEntry& e : entries) {
    mainWords_.append(e.word);
    foundTranslations_.append(e.translation);
    listSides_.push_back(e.indonesian);
  }
}

void LookupState::showSelectedEntry(std::size_t index) {
  if (index >= mainWords_.count()) return;
  const std::string_view word = mainWords_.line(index);
  const bool indonesian =
      index < listSides_.size() ? static_cast<bool>(listSides_[index]) : foundInIndonesian_;
  translationText_ = paneText(word, foundTranslations_.line(index));
  translationRuns_ = renderEntryText(translationText_, word, indonesian);
  notePaneEntry(word, indonesian);
}

void LookupState::showSelectedRelated(std::size_t index) {
  if (index >= relatedWords_.count()) return;
  const std::string_view word = relatedWords_.line(index);
  relatedTranslationText_ = paneText(word, relatedTranslations_.line(index));
  relatedTranslationRuns_ = renderEntryText(relatedTranslationText_, word, foundInIndonesian_);
}

bool LookupState::findPhrases(std::string_view text) {
  const std::string query(text);  // may point into a list emptied below
  phrases_.clear();
  userList_ = &userLists_.read(dir_ + kPhraseListName);
  const bool indonesianSide =
      foundInIndonesian_ || settings_.direction == Direction::kIndonesianEnglish;
  return collectPhrases(query, indonesianSide, *userList_, store_, phrases_);
}

void LookupState::showHistoryEntry(std::string word, std::string translation) {
  searchText_ = std::move(word);
  translationText_ = entriesOnLines(translation);
  translationRuns_ = renderPaneText(translationText_, searchText_, foundInIndonesian_);
  // The entry begins with its headword: the word as the lookup found it.
  // The history does not say which side it came from; a word the English
  // side transcribes has its transcription.
  const std::string_view head = std::string_view(translationText_).substr(0, searchText_.size());
  const bool begins = equalsFolded(head, searchText_);
  notePaneEntry(translationText_.empty() ? std::string_view() : begins ? head : searchText_,
                std::nullopt, begins);
}

bool LookupState::shownIndonesian() {
  if (!shown_.indonesian) shown_.indonesian = readAsIndonesian(shown_.word);
  return *shown_.indonesian;
}

bool LookupState::readAsIndonesian(std::string_view word) {
  if (settings_.direction != Direction::kAutomatic)
    return settings_.direction == Direction::kIndonesianEnglish;
  const std::string w(word);  // may point into a list read again below
  if (w.empty()) return false;
  const UserList& english = userLists_.read(dir_ + kEnglishListName);
  bool found = false;
  forEachLineContaining(english.lines(), english.count(), w, [&](std::size_t i) {
    found = entryWord(english.lines().line(i)) == w;
    return !found;
  });
  const std::int32_t count = store_.count(DataKind::kEnglish);
  if (!found && count > 0) {
    const WordList& heads = store_.headwords(DataKind::kEnglish);
    forEachLineContaining(heads, static_cast<std::size_t>(count), w, [&](std::size_t i) {
      found = heads.line(i) == w;
      return !found;
    });
  }
  return !found && indonesianTranslation(w).has_value();
}

void LookupState::notePaneEntry(std::string_view word, std::optional<bool> indonesian,
                                bool transcribed) {
  shown_ = {std::string(word), indonesian};
  ipa_ = indonesian.value_or(false) || !transcribed ? std::string() : std::string(store_.ipaOf(word));
}

}  // namespace tavro2
