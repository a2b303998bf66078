#include "tools/word_usage.h"

#include <algorithm>

#include "engine/cp1252.h"
#include "engine/word_ranks.h"
#include "tools/dictd_reader.h"
#include "tools/text_fields.h"

namespace tavro2 {
namespace {

// Calls `each` with every line that is not empty once its spaces are off.
template <typename Each>
void forEachLine(std::string_view text, Each&& each) {
  for (std::string_view line : textLines(text)) {
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (!line.empty()) each(line);
  }
}

void addRanks(std::unordered_map<std::string, int>& ranks, std::string_view list,
              std::size_t most, bool skipMarkup) {
  std::size_t seen = 0;
  forEachLine(list, [&](std::string_view line) {
    if (seen == most || (skipMarkup && isFrequencyMarkup(line))) return;
    ++seen;
    ranks.try_emplace(foldAscii(line), static_cast<int>(ranks.size()));
  });
}

}  // namespace

void WordUsage::setIndonesianRanks(std::string_view list) {
  indonesianRanks_.clear();
  addRanks(indonesianRanks_, list, std::numeric_limits<std::size_t>::max(), true);
}

void WordUsage::setEnglishRanks(std::string_view web, std::string_view wikipedia,
                                std::size_t wikipediaCommon) {
  englishRanks_.clear();
  addRanks(englishRanks_, web, std::numeric_limits<std::size_t>::max(), false);
  addRanks(englishRanks_, wikipedia, wikipediaCommon, true);
}

void WordUsage::setEnglishTags(std::string_view text, std::size_t& badLines) {
  badLines = 0;
  forEachLine(text, [&](std::string_view line) {
    if (line.front() == '#') return;
    const std::vector<std::string_view> fields = splitAt(line, "\t");
    std::array<int, 4> tags{};
    bool good = fields.size() == 5 && !fields[0].empty();
    for (std::size_t i = 0; good && i < tags.size(); ++i) good = readCount(fields[i + 1], tags[i]);
    if (!good) {
      ++badLines;
      return;
    }
    englishTags_[foldAscii(fields[0])] = tags;
  });
}

namespace {

int rankIn(const std::unordered_map<std::string, int>& ranks, std::string_view word) {
  const std::string folded = foldAscii(word);
  if (folded.find(' ') == std::string::npos) {
    const auto it = ranks.find(folded);
    return it == ranks.end() ? WordUsage::kUnranked : it->second;
  }
  int worst = 0;
  std::size_t words = 0;
  for (std::string_view part : splitAt(folded, " ")) {
    if (part.empty()) continue;
    const auto it = ranks.find(std::string(part));
    if (it == ranks.end()) return WordUsage::kUnranked;
    worst = std::max(worst, it->second);
    ++words;
  }
  // Behind the rarest word: "di dalam" after "di" and "dalam".
  return words == 0 ? WordUsage::kUnranked : worst + 1 + 100 * static_cast<int>(words - 1);
}

}  // namespace

int WordUsage::indonesianRank(std::string_view word) const { return rankIn(indonesianRanks_, word); }

int WordUsage::englishRank(std::string_view word) const { return rankIn(englishRanks_, word); }

std::array<int, 4> WordUsage::englishTags(std::string_view lemma) const {
  const auto it = englishTags_.find(foldAscii(lemma));
  return it == englishTags_.end() ? std::array<int, 4>{} : it->second;
}

std::unordered_set<std::string> parseWordSet(std::string_view text) {
  std::unordered_set<std::string> words;
  forEachLine(text, [&](std::string_view line) {
    if (line.front() != '#') words.insert(foldAscii(line));
  });
  return words;
}

bool readFrequencyLists(const std::string& dir, WordUsage& usage, std::string& error) {
  std::string id, web, wikipedia;
  const std::string base = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  if (!readWholeFile(base + "id-wikipedia.txt", id, error) ||
      !readWholeFile(base + "en-web-10000.txt", web, error) ||
      !readWholeFile(base + "en-wikipedia.txt", wikipedia, error))
    return false;
  usage.setIndonesianRanks(id);
  usage.setEnglishRanks(web, wikipedia);
  return true;
}

bool readEnglishTags(const std::string& path, WordUsage& usage, std::size_t& badLines,
                     std::string& error) {
  std::string text;
  if (!readDictdText(path, text, error)) return false;
  usage.setEnglishTags(text, badLines);
  return true;
}

}  // namespace tavro2
