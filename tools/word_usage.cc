#include "tools/word_usage.h"

#include <algorithm>
#include <charconv>

#include "engine/cp1252.h"
#include "tools/dictd_reader.h"

namespace tavro2 {
namespace {

// The Wikipedia lists' markup words, which rank high without being words.
constexpr std::string_view kMarkup[] = {"doc", "https", "http", "url", "curid",
                                        "wiki", "title", "id", "org", "www"};

bool isMarkup(std::string_view word) {
  for (std::string_view m : kMarkup)
    if (word == m) return true;
  return false;
}

// Calls `each` with every non-empty line (CR LF or LF), trimmed of spaces.
template <typename Each>
void forEachLine(std::string_view text, Each&& each) {
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (!line.empty()) each(line);
  }
}

void addRanks(std::unordered_map<std::string, int>& ranks, std::string_view list,
              std::size_t most, bool skipMarkup) {
  std::size_t seen = 0;
  forEachLine(list, [&](std::string_view line) {
    if (seen == most || (skipMarkup && isMarkup(line))) return;
    ++seen;
    ranks.try_emplace(foldAscii(line), static_cast<int>(ranks.size()));
  });
}

}  // namespace

std::string WordUsage::fold(std::string_view word) { return foldAscii(word); }

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
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      fields.push_back(line.substr(start, tab - start));
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    std::array<int, 4> tags{};
    bool good = fields.size() == 5 && !fields[0].empty();
    for (std::size_t i = 0; good && i < tags.size(); ++i) {
      const std::string_view f = fields[i + 1];
      const auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), tags[i]);
      good = ec == std::errc() && end == f.data() + f.size() && tags[i] >= 0;
    }
    if (!good) {
      ++badLines;
      return;
    }
    englishTags_[fold(fields[0])] = tags;
  });
}

int WordUsage::indonesianRank(std::string_view word) const {
  const std::string folded = fold(word);
  if (folded.find(' ') == std::string::npos) {
    const auto it = indonesianRanks_.find(folded);
    return it == indonesianRanks_.end() ? kUnranked : it->second;
  }
  int worst = 0;
  std::size_t words = 0;
  for (std::size_t start = 0; start < folded.size();) {
    std::size_t end = folded.find(' ', start);
    if (end == std::string::npos) end = folded.size();
    if (end > start) {
      const auto it = indonesianRanks_.find(folded.substr(start, end - start));
      if (it == indonesianRanks_.end()) return kUnranked;
      worst = std::max(worst, it->second);
      ++words;
    }
    start = end + 1;
  }
  // Behind the rarest word: "di dalam" after "di" and "dalam".
  return words == 0 ? kUnranked : worst + 1 + 100 * static_cast<int>(words - 1);
}

std::array<int, 4> WordUsage::englishTags(std::string_view lemma) const {
  const auto it = englishTags_.find(fold(lemma));
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
