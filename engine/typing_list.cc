#include "engine/typing_list.h"

#include <algorithm>
#include <tuple>

#include "engine/cp1252.h"

namespace tavro2 {

std::vector<HeadwordEntry> typingMatches(const DictionaryStore& store, std::string_view prefix,
                                       Direction direction, const WordRanks& ranks,
                                       std::size_t most) {
  std::vector<HeadwordEntry> out;
  if (prefix.empty() || most == 0) return out;
  struct Candidate {
    std::tuple<bool, int, std::size_t, std::string_view> key;  // not exact, rank, length, word
    DataKind kind;
    std::size_t line;
  };
  std::vector<Candidate> found;
  for (const bool indonesian : {false, true}) {
    if (direction == (indonesian ? Direction::kEnglishIndonesian : Direction::kIndonesianEnglish))
      continue;
    const DataKind kind = indonesian ? DataKind::kIndonesian : DataKind::kEnglish;
    const std::int32_t count = store.count(kind);  // acquire: the lists below it are complete
    if (count <= 0) continue;
    const WordList& heads = store.headwords(kind);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), heads.count());
    for (std::size_t i = 0; i < n; ++i) {
      const std::string_view head = heads.line(i);
      if (head.size() < prefix.size() || !equalsFolded(head.substr(0, prefix.size()), prefix))
        continue;
      const std::string folded = foldAscii(head);
      const int rank = indonesian ? ranks.indonesian(folded) : ranks.english(folded);
      found.push_back({{head.size() != prefix.size(), rank, head.size(), head}, kind, i});
    }
  }
  // English before Indonesian among equals; a word both sides hold is
  // listed once, as the English side's (Enter then shows both).
  std::stable_sort(found.begin(), found.end(),
                   [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
  for (const Candidate& c : found) {
    if (out.size() == most) break;
    const std::string_view word = store.headwords(c.kind).line(c.line);
    if (std::any_of(out.begin(), out.end(),
                    [&](const HeadwordEntry& m) { return equalsFolded(m.word, word); }))
      continue;
    out.push_back({std::string(word), std::string(store.translations(c.kind).line(c.line)),
                   c.kind == DataKind::kIndonesian});
  }
  return out;
}

}  // namespace tavro2
