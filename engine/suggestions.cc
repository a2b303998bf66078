#include "engine/suggestions.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <tuple>

#include "engine/cp1252.h"
#include "engine/stemmer.h"

namespace tavro2 {

namespace {

// Hunspell's suggestions are ranked by their true distance, up to this.
constexpr int kFarDistance = 64;

struct Candidate {
  // Nearest; then beginning as the query does (a first letter is seldom
  // mistyped); then the commonest, nearest in length, alphabetically.
  std::tuple<int, bool, int, std::size_t, std::string> key;
  HeadwordEntry entry;
};

std::size_t lengthGap(std::size_t a, std::size_t b) { return a > b ? a - b : b - a; }

}  // namespace

int editDistance(std::string_view a, std::string_view b, int limit) {
  if (limit < 0) return 0;
  const std::size_t la = a.size();
  const std::size_t lb = b.size();
  if (lengthGap(la, lb) > static_cast<std::size_t>(limit)) return limit + 1;
  // Three rows of the table (two back for a swap), on the stack for the
  // short words nearly every call compares.
  constexpr std::size_t kOnStack = 64;
  std::array<int, 3 * (kOnStack + 1)> stackRows;
  std::vector<int> heapRows;
  int* rows = stackRows.data();
  if (lb > kOnStack) {
    heapRows.resize(3 * (lb + 1));
    rows = heapRows.data();
  }
  int* before = rows;             // row i - 2
  int* previous = rows + lb + 1;  // row i - 1
  int* current = rows + 2 * (lb + 1);
  for (std::size_t j = 0; j <= lb; ++j) previous[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= la; ++i) {
    const char ai = foldAscii(a[i - 1]);
    current[0] = static_cast<int>(i);
    int rowMin = current[0];
    for (std::size_t j = 1; j <= lb; ++j) {
      const char bj = foldAscii(b[j - 1]);
      int value = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ai != bj)});
      if (i > 1 && j > 1 && ai == foldAscii(b[j - 2]) && foldAscii(a[i - 2]) == bj)
        value = std::min(value, before[j - 2] + 1);
      current[j] = value;
      rowMin = std::min(rowMin, value);
    }
    // A row's least value never falls further down the table (a swap two
    // rows on costs as much as the cell beside it in this row), so a row
    // all over the limit settles it.
    if (rowMin > limit) return limit + 1;
    int* const spare = before;
    before = previous;
    previous = current;
    current = spare;
  }
  return std::min(previous[lb], limit + 1);
}

int suggestionDistance(std::size_t length) { return length <= 4 ? 1 : 2; }

std::vector<HeadwordEntry> suggestHeadwords(const DictionaryStore& store, std::string_view query,
                                            Direction direction, const WordRanks& ranks,
                                            Stemmer* stemmer, std::size_t most) {
  std::vector<HeadwordEntry> out;
  if (query.empty() || query.size() > kMaxSuggestionQuery || most == 0) return out;
  const int limit = suggestionDistance(query.size());
  const bool sides[2] = {direction != Direction::kIndonesianEnglish,
                         direction != Direction::kEnglishIndonesian};

  std::vector<Candidate> found;
  auto add = [&](std::string_view word, std::string_view translation, bool indonesian,
                 int distance) {
    std::string folded = foldAscii(word);
    const int rank = indonesian ? ranks.indonesian(folded) : ranks.english(folded);
    const bool otherStart = folded.empty() || folded[0] != foldAscii(query[0]);
    found.push_back(
        {{distance, otherStart, rank, lengthGap(word.size(), query.size()), std::move(folded)},
         {std::string(word), std::string(translation), indonesian}});
  };
  // Calls visit(word, translation) for each headword of a searched side;
  // the Indonesian side's include the phrase collection's (terima kasih).
  auto eachHeadword = [&](bool indonesian, auto&& visit) {
    if (!sides[indonesian]) return;
    static constexpr DataKind kEnglishKinds[] = {DataKind::kEnglish};
    static constexpr DataKind kIndonesianKinds[] = {DataKind::kIndonesian, DataKind::kPhrase};
    const std::span<const DataKind> kinds = indonesian ? std::span<const DataKind>(kIndonesianKinds)
                                                       : std::span<const DataKind>(kEnglishKinds);
    for (const DataKind kind : kinds) {
      const std::int32_t count = store.count(kind);  // acquire: the lists below it are complete
      if (count <= 0) continue;
      const WordList& heads = store.headwords(kind);
      const WordList& translations = store.translations(kind);
      const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), heads.count());
      for (std::size_t i = 0; i < n; ++i) visit(heads.line(i), translations.line(i));
    }
  };

  for (const bool indonesian : {false, true}) {
    eachHeadword(indonesian, [&](std::string_view head, std::string_view translation) {
      if (lengthGap(head.size(), query.size()) > static_cast<std::size_t>(limit)) return;
      const int d = editDistance(query, head, limit);
      if (d <= limit) add(head, translation, indonesian, d);
    });
  }
  if (found.empty() && stemmer != nullptr) {
    for (const bool indonesian : {false, true}) {
      if (!sides[indonesian]) continue;
      const std::vector<std::string> offered = stemmer->suggestions(
          indonesian ? StemLanguage::kIndonesian : StemLanguage::kEnglish, query);
      if (offered.empty()) continue;
      eachHeadword(indonesian, [&](std::string_view head, std::string_view translation) {
        for (const std::string& word : offered) {
          if (word.size() == head.size() && equalsFolded(word, head)) {
            add(head, translation, indonesian, editDistance(query, head, kFarDistance));
            return;
          }
        }
      });
    }
  }

  // English before Indonesian among equals; a word listed twice (both
  // sides, or a headword with several entries) keeps its first line.
  std::stable_sort(found.begin(), found.end(),
                   [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
  for (Candidate& c : found) {
    if (out.size() == most) break;
    const auto same = [&](const HeadwordEntry& e) { return equalsFolded(e.word, c.entry.word); };
    if (std::none_of(out.begin(), out.end(), same)) out.push_back(std::move(c.entry));
  }
  return out;
}

}  // namespace tavro2
