#include "engine/phrase_search.h"

#include "engine/data_file.h"
#include "engine/folded_words.h"
#include "engine/render.h"
#include "engine/text_search.h"

namespace tavro2 {
namespace {

// The user phrases part of CollectPhrases in linear time. A line's English
// text is the translation of the first line of its word (A-Z folded), which
// need not be its own line, so each side first gathers the words it needs
// and one pass finds their translations.
void collectUserPhrases(std::string_view query, bool indonesianSide, const WordList& list,
                        std::vector<PhrasePair>& out) {
  FoldedWords words;
  if (indonesianSide) {
    std::vector<std::pair<std::string_view, std::size_t>> hits;  // (phrase, slot)
    for (std::size_t i = 0; i < list.count(); ++i) {
      const std::string_view indonesian = EntryWord(list.line(i));
      if (PosWholeWord(query, indonesian) > 0) hits.emplace_back(indonesian, words.add(indonesian));
    }
    if (hits.empty()) return;
    const std::vector<std::string_view> english = firstTranslations(list, words);
    for (const auto& [indonesian, slot] : hits) out.emplace_back(indonesian, english[slot]);
    return;
  }
  // A word whose English text holds the query has it as the translation of
  // its first line, which therefore holds the query itself: those lines'
  // words are the only ones that can match.
  for (std::size_t i = 0; i < list.count(); ++i) {
    const std::string_view line = list.line(i);
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos && PosWholeWord(query, line.substr(eq + 1)) > 0)
      words.add(line.substr(0, eq));
  }
  if (words.size() == 0) return;
  const std::vector<std::string_view> english = firstTranslations(list, words);
  std::vector<bool> matches(words.size());
  for (std::size_t slot = 0; slot < words.size(); ++slot)
    matches[slot] = PosWholeWord(query, english[slot]) > 0;
  for (std::size_t i = 0; i < list.count(); ++i) {
    const std::string_view indonesian = EntryWord(list.line(i));
    const std::size_t slot = words.find(indonesian);
    if (slot != FoldedWords::npos && matches[slot]) out.emplace_back(english[slot], indonesian);
  }
}

}  // namespace

bool CollectPhrases(std::string_view query, bool indonesianSide, const WordList& userPhrases,
                    const DictionaryStore& store, std::vector<PhrasePair>& out) {
  const std::size_t before = out.size();

  collectUserPhrases(query, indonesianSide, userPhrases, out);

  const std::int32_t count = store.PhraseCount();  // acquire: the lists below are complete
  if (count <= 0) return out.size() > before;
  const WordList& texts = store.PhraseTexts();
  const WordList& translations = store.PhraseTranslations();
  const WordList& searched = indonesianSide ? texts : translations;
  auto add = [&](std::size_t i) {
    if (indonesianSide)
      out.emplace_back(texts.line(i), translations.line(i));
    else
      out.emplace_back(translations.line(i), texts.line(i));
    return true;
  };
  if (query.empty()) {
    // PosWholeWord gives 1 for an empty needle in any non-empty text.
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
      if (PosWholeWord(query, searched.line(i)) > 0) add(i);
  } else {
    // Lines of `searched` beyond its own count (fewer translations than
    // phrases) are empty and hold no word, so scanning below both limits is
    // the whole answer.
    ForEachLineWithWholeWord(searched, static_cast<std::size_t>(count), query, add);
  }
  return out.size() > before;
}

}  // namespace tavro2
