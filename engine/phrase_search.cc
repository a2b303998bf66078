#include "engine/phrase_search.h"

#include <algorithm>

#include "engine/data_file.h"
#include "engine/render.h"
#include "engine/text_search.h"

namespace tavro2 {
namespace {

// Calls visit(i) for every line of `list` that may hold `query` as a whole
// word; every line that does is among them. A fast scan of the whole text
// passes over the lines without the query at all.
template <class Visit>
void forEachCandidateLine(const WordList& list, std::string_view query, Visit&& visit) {
  forEachLineWithWholeWord(list, list.count(), query, [&](std::size_t i) {
    visit(i);
    return true;
  });
}

// The user phrases part of CollectPhrases. A whole word of a line's word or
// translation is one of the whole line too ('=' and the line's ends are no
// letters), so the candidate lines hold every match.
void collectUserPhrases(std::string_view query, bool indonesianSide, const UserList& list,
                        std::vector<PhrasePair>& out) {
  const WordList& lines = list.lines();
  if (indonesianSide) {
    forEachCandidateLine(lines, query, [&](std::size_t i) {
      const std::string_view indonesian = entryWord(lines.line(i));
      if (posWholeWord(query, indonesian) > 0) out.emplace_back(indonesian, list.translationOf(i));
    });
    return;
  }
  // A word whose English text holds the query has it as the translation of
  // its first line, which therefore is a candidate itself; every line of
  // such a word matches, wherever it stands.
  std::vector<bool> seen(list.count());
  std::vector<std::size_t> matched;
  forEachCandidateLine(lines, query, [&](std::size_t c) {
    if (seen[c] || posWholeWord(query, list.translationOf(c)) == 0) return;
    list.forEachLineOfWord(c, [&](std::size_t j) {
      seen[j] = true;
      matched.push_back(j);
    });
  });
  std::sort(matched.begin(), matched.end());
  for (const std::size_t j : matched)
    out.emplace_back(list.translationOf(j), entryWord(lines.line(j)));
}

}  // namespace

bool collectPhrases(std::string_view query, bool indonesianSide, const UserList& userPhrases,
                    const DictionaryStore& store, std::vector<PhrasePair>& out) {
  const std::size_t before = out.size();

  collectUserPhrases(query, indonesianSide, userPhrases, out);

  // acquire: the lists below the count are complete
  const std::int32_t count = store.count(DataKind::kPhrase);
  if (count <= 0) return out.size() > before;
  const WordList& texts = store.headwords(DataKind::kPhrase);
  const WordList& translations = store.translations(DataKind::kPhrase);
  const WordList& searched = indonesianSide ? texts : translations;
  auto add = [&](std::size_t i) {
    if (indonesianSide)
      out.emplace_back(texts.line(i), translations.line(i));
    else
      out.emplace_back(translations.line(i), texts.line(i));
    return true;
  };
  // Lines of `searched` beyond its own count (fewer translations than
  // phrases) are empty and hold no word, so scanning below both limits is
  // the whole answer.
  forEachLineWithWholeWord(searched, static_cast<std::size_t>(count), query, add);
  return out.size() > before;
}

}  // namespace tavro2
