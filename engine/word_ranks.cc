#include "engine/word_ranks.h"

#include <algorithm>

namespace tavro2 {
namespace {

#include "kEnglishWebWords.inc"
#include "kEnglishWikipediaWords.inc"
#include "kIndonesianWords.inc"

constexpr std::string_view kMarkup[] = {"doc",  "https", "http", "url", "curid",
                                        "wiki", "title", "id",   "org", "www"};

}  // namespace

bool isFrequencyMarkup(std::string_view word) {
  for (std::string_view m : kMarkup)
    if (word == m) return true;
  return false;
}

bool WordRanks::listed(std::string_view word) {
  if (word.empty() || word.find('\n') != std::string_view::npos) return false;
  for (const std::string_view list : {kEnglishWebWords, kEnglishWikipediaWords, kIndonesianWords}) {
    // Each list ends with a line end; a word is a whole line.
    for (std::size_t at = list.find(word); at != std::string_view::npos;
         at = list.find(word, at + 1)) {
      const std::size_t end = at + word.size();
      if ((at == 0 || list[at - 1] == '\n') && end < list.size() && list[end] == '\n') return true;
    }
  }
  return false;
}

const WordRanks& WordRanks::shared() {
  static const WordRanks ranks(kEnglishWebWords, kEnglishWikipediaWords, kIndonesianWords);
  return ranks;
}

// FNV-1a: words are short, and the table only needs them spread.
std::size_t WordRanks::Table::slotOf(std::string_view word) const {
  std::uint64_t h = 14695981039346656037ull;
  for (const char c : word) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<std::size_t>(h) & (slots_.size() - 1);
}

// At most half full, so a probe soon meets an empty slot.
void WordRanks::Table::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(std::max<std::size_t>(1024, old.size() * 2), Slot{});
  for (const Slot& s : old) {
    if (s.data == nullptr) continue;
    std::size_t i = slotOf({s.data, s.size});
    while (slots_[i].data != nullptr) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = s;
  }
}

void WordRanks::Table::reserve(std::size_t words) {
  while ((count_ + words) * 2 > slots_.size()) grow();
}

void WordRanks::Table::add(std::string_view word) {
  if ((count_ + 1) * 2 > slots_.size()) grow();
  std::size_t i = slotOf(word);
  for (; slots_[i].data != nullptr; i = (i + 1) & (slots_.size() - 1))
    if (std::string_view(slots_[i].data, slots_[i].size) == word) return;  // keeps its first rank
  slots_[i] = {word.data(), static_cast<std::uint32_t>(word.size()),
               static_cast<std::int32_t>(count_)};
  ++count_;
}

int WordRanks::Table::find(std::string_view word) const {
  if (slots_.empty()) return kUnranked;
  for (std::size_t i = slotOf(word); slots_[i].data != nullptr; i = (i + 1) & (slots_.size() - 1))
    if (std::string_view(slots_[i].data, slots_[i].size) == word) return slots_[i].rank;
  return kUnranked;
}

// Ranks the lines of `list` after those `table` holds.
void WordRanks::addList(Table& table, std::string_view list, bool skipMarkup) {
  table.reserve(static_cast<std::size_t>(std::count(list.begin(), list.end(), '\n')) + 1);
  while (!list.empty()) {
    const std::size_t end = std::min(list.find('\n'), list.size());
    std::string_view word = list.substr(0, end);
    list.remove_prefix(std::min(end + 1, list.size()));
    while (!word.empty() && (word.back() == '\r' || word.back() == ' ')) word.remove_suffix(1);
    if (word.empty() || (skipMarkup && isFrequencyMarkup(word))) continue;
    table.add(word);
  }
}

WordRanks::WordRanks(std::string_view englishWeb, std::string_view englishWikipedia,
                     std::string_view indonesian) {
  addList(english_, englishWeb, false);
  addList(english_, englishWikipedia, true);
  addList(indonesian_, indonesian, true);
}

}  // namespace tavro2
