#include "engine/phrase_search.h"

#include "engine/data_file.h"
#include "engine/render.h"
#include "engine/text_search.h"

namespace tavro2 {

bool CollectPhrases(std::string_view query, bool indonesianSide, const WordList& userPhrases,
                    const DictionaryStore& store, std::vector<PhrasePair>& out) {
  const std::size_t before = out.size();

  for (std::size_t i = 0; i < userPhrases.count(); ++i) {
    const std::string_view indonesian = EntryWord(userPhrases.line(i));
    const std::string_view english = FindTranslation(userPhrases, indonesian);
    if (indonesianSide) {
      if (PosWholeWord(query, indonesian) > 0) out.emplace_back(indonesian, english);
    } else {
      if (PosWholeWord(query, english) > 0) out.emplace_back(english, indonesian);
    }
  }

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
