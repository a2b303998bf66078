// Many words of one user word list answered in one pass over the list.
//
// A user list is read afresh for every query and may hold a hundred thousand
// lines; asking FindTranslation once per matching line would make a lookup
// quadratic in the list's length. Instead the words a query needs are
// gathered first, keyed by their A-Z-folded text, and one pass over the list
// then finds the first translation of each.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/word_list.h"

namespace tavro2 {

class FoldedWords {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // Adds a word and returns its slot; words equal with A-Z folded share one.
  std::size_t add(std::string_view word);
  // The slot of a word equal to `word` with A-Z folded, or npos. Words of a
  // length no added word has are turned away without being folded.
  std::size_t find(std::string_view word) const;
  std::size_t size() const { return slots_.size(); }

 private:
  static constexpr std::size_t kLengthBuckets = 256;  // longer words share the last
  static std::size_t bucketOf(std::size_t length) {
    return length < kLengthBuckets ? length : kLengthBuckets - 1;
  }

  std::unordered_map<std::string, std::size_t> slots_;  // folded word -> slot
  std::bitset<kLengthBuckets> lengths_;
  mutable std::string scratch_;
};

// For each slot of `words`, what FindTranslation(list, word) gives for its
// word: the text after the '=' of the first line whose word equals it with
// A-Z folded, or the empty text (always for the empty word). The words are
// those of lines (EntryWord), which hold no '='. One pass over the list,
// ending early once every slot is answered.
std::vector<std::string_view> firstTranslations(const WordList& list, const FoldedWords& words);

}  // namespace tavro2
