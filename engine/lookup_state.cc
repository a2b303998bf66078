#include "engine/lookup_state.h"

#include <algorithm>

#include "engine/base_form_stages.h"
#include "engine/data_file.h"
#include "engine/query_text.h"
#include "engine/text_search.h"

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

LookupState::LookupState(const DictionaryStore& store, std::string programDir)
    : store_(store), dir_(std::move(programDir)), userList_(&emptyList) {}

bool LookupState::searchFromBox() {
  queryFound = false;
  if (trimView(searchText).empty()) return false;
  std::string query;
  if (settings.AutoRemAlpha) {
    query = trim(lower(filterLetters(searchText)));
    if (query.empty()) return false;
  } else {
    query = trim(lower(searchText));
  }
  queryFound = lookupWord(query);
  if (!queryFound) {
    // The box is read again for the fallback word; it has not changed, so
    // this is the cleaned query itself.
    fallbackWord = query;
    queryFound = findBaseForm();
  }
  return true;
}

void LookupState::scanSide(DataKind kind, const char* userListName, bool indonesian,
                           std::string_view q, std::size_t& related, bool& found) {
  const std::size_t maxRelated = settings.MaxContainTexts;

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
      FoundInIndonesian = indonesian;
      mainWords.append(w);
      FoundTranslations.append(userList_->translationOf(i));
    } else if (related < maxRelated) {
      relatedWords.append(w);
      RelatedTranslations.append(userList_->translationOf(i));
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
      FoundInIndonesian = indonesian;
      const std::size_t lo = i >= settings.WordsBefore ? i - settings.WordsBefore : 0;
      const std::size_t hi = std::min(n - 1, i + settings.WordsAfter);
      for (std::size_t j = lo; j <= hi; ++j) {
        FoundTranslations.append(translations.line(j));
        mainWords.append(heads.line(j));
      }
      return !settings.CompactMode;  // compact mode: the first match ends the side
    }
    if (related < maxRelated) {
      relatedWords.append(h);
      RelatedTranslations.append(translations.line(i));
      ++related;
    }
    return true;
  });
}

bool LookupState::lookupWord(std::string_view query) {
  // A copy: the caller's text may live in one of the lists emptied below.
  const std::string q(query);
  bool found = false;
  mainWords.clear();
  translationText.clear();
  translationRuns.clear();
  relatedWords.clear();
  relatedTranslationText.clear();
  relatedTranslationRuns.clear();
  FoundTranslations.clear();
  RelatedTranslations.clear();
  userList_ = &emptyList;

  const std::string_view trimmed = trimView(q);
  if (trimmed.empty()) return false;  // the status line keeps its text

  std::size_t related = 0;  // one cap over all four scans
  const Direction dir = settings.direction;
  if (dir == Direction::kAutomatic || dir == Direction::kEnglishIndonesian)
    scanSide(DataKind::kEnglish, kEnglishListName, false, q, related, found);
  if (!found && (dir == Direction::kAutomatic || dir == Direction::kIndonesianEnglish))
    scanSide(DataKind::kIndonesian, kIndonesianListName, true, q, related, found);

  if (!FoundTranslations.empty()) {
    // Every main-list line equal to q was appended with it, so k exists;
    // it may be an earlier neighbour differing from q in case only.
    std::size_t k = 0;
    while (k < mainWords.count() && !equalsFolded(mainWords.line(k), q)) ++k;
    translationText = paneText(q, FoundTranslations.line(k));
    translationRuns = renderEntryText(translationText, q, FoundInIndonesian);
  }
  if (!RelatedTranslations.empty()) {
    const std::string_view r = relatedWords.line(0);
    relatedTranslationText = paneText(r, RelatedTranslations.line(0));
    relatedTranslationRuns = renderEntryText(relatedTranslationText, r, FoundInIndonesian);
  }

  if (found)
    statusText = FoundInIndonesian ? " Indonesian word" : " English word";
  else
    statusText = " ";

  if (trimmed.size() >= 2 && settings.ShowPhrase && !settings.CompactMode) {
    if (findPhrases(trimView(searchText)))
      statusText += " (" + std::to_string(phrases.size()) + " Phrase)";
  }
  return found;
}

bool LookupState::findBaseForm() {
  for (const std::string& candidate : baseFormCandidates(fallbackWord))
    if (lookupWord(candidate)) return true;
  // Only a word that every ending rule left unfound goes on to the further
  // stages, so whatever those rules find stays as it was.
  for (const std::string& candidate :
       furtherBaseFormCandidates(fallbackWord, settings.direction, stemmer.get()))
    if (lookupWord(candidate)) return true;
  statusText = " not found";
  return false;
}

void LookupState::showSelectedEntry(std::size_t index) {
  if (index >= mainWords.count()) return;
  const std::string_view word = mainWords.line(index);
  translationText = paneText(word, FoundTranslations.line(index));
  translationRuns = renderEntryText(translationText, word, FoundInIndonesian);
}

void LookupState::showSelectedRelated(std::size_t index) {
  if (index >= relatedWords.count()) return;
  const std::string_view word = relatedWords.line(index);
  relatedTranslationText = paneText(word, RelatedTranslations.line(index));
  relatedTranslationRuns = renderEntryText(relatedTranslationText, word, FoundInIndonesian);
}

bool LookupState::findPhrases(std::string_view text) {
  const std::string query(text);  // may point into a list emptied below
  phrases.clear();
  userList_ = &userLists_.read(dir_ + kPhraseListName);
  const bool indonesianSide =
      FoundInIndonesian || settings.direction == Direction::kIndonesianEnglish;
  return collectPhrases(query, indonesianSide, *userList_, store_, phrases);
}

void LookupState::showTranslation(std::string text, std::string_view word) {
  translationText = std::move(text);
  translationRuns = renderEntryText(translationText, word, FoundInIndonesian);
}

}  // namespace tavro2
