#include "engine/word_ranks.h"

namespace tavro2 {
namespace {

#include "kEnglishWebWords.inc"
#include "kEnglishWikipediaWords.inc"
#include "kIndonesianWords.inc"

constexpr std::string_view kMarkup[] = {"doc", "https", "http", "url", "curid",
                                        "wiki", "title", "id", "org", "www"};

// Ranks the lines of `list` after those `ranks` holds; a word keeps its
// first rank. The views point into `list`, which outlives them.
void addRanks(std::unordered_map<std::string_view, int>& ranks, std::string_view list,
              bool skipMarkup) {
  while (!list.empty()) {
    const std::size_t end = std::min(list.find('\n'), list.size());
    std::string_view word = list.substr(0, end);
    list.remove_prefix(std::min(end + 1, list.size()));
    while (!word.empty() && (word.back() == '\r' || word.back() == ' ')) word.remove_suffix(1);
    if (word.empty() || (skipMarkup && isFrequencyMarkup(word))) continue;
    ranks.try_emplace(word, static_cast<int>(ranks.size()));
  }
}

}  // namespace

bool isFrequencyMarkup(std::string_view word) {
  for (std::string_view m : kMarkup)
    if (word == m) return true;
  return false;
}

const WordRanks& WordRanks::shared() {
  static const WordRanks ranks(kEnglishWebWords, kEnglishWikipediaWords, kIndonesianWords);
  return ranks;
}

WordRanks::WordRanks(std::string_view englishWeb, std::string_view englishWikipedia,
                     std::string_view indonesian) {
  addRanks(english_, englishWeb, false);
  addRanks(english_, englishWikipedia, true);
  addRanks(indonesian_, indonesian, true);
}

int WordRanks::rankIn(const std::unordered_map<std::string_view, int>& ranks,
                      std::string_view word) {
  const auto it = ranks.find(word);
  return it == ranks.end() ? kUnranked : it->second;
}

}  // namespace tavro2
