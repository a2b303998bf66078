// A user word list with its words indexed.
//
// A line of a user list shows the translation of the first line of its word
// (the word compared with A-Z folded; see FindTranslation), which need not be
// its own line. A list may hold a hundred thousand lines, so asking
// FindTranslation once per line would make a lookup quadratic; the index
// answers for every line at once, built in one pass the first time it is
// needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/word_list.h"

namespace tavro2 {

// File names of the three user lists in the user directory. The lookup finds
// a list whatever the case of its name on disk.
inline constexpr const char* kEnglishListName = "Tavro2en.dat";
inline constexpr const char* kIndonesianListName = "Tavro2id.dat";
inline constexpr const char* kPhraseListName = "Tavro2phrase.dat";

class UserList {
 public:
  UserList() = default;
  explicit UserList(WordList lines) : lines_(std::move(lines)) {}

  const WordList& lines() const { return lines_; }
  std::size_t count() const { return lines_.count(); }

  // findTranslation(lines(), entryWord(lines()[i])); empty outside the list.
  std::string_view translationOf(std::size_t i) const;

  // Calls visit(j) for every line j whose word equals line i's with A-Z
  // folded (i among them), in increasing order.
  template <class Visit>
  void forEachLineOfWord(std::size_t i, Visit&& visit) const {
    if (i >= count()) return;
    buildIndex();
    const std::uint32_t group = groupOf_[i];
    for (std::uint32_t k = groupStart_[group]; k < groupStart_[group + 1]; ++k) visit(members_[k]);
  }

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  void buildIndex() const;

  WordList lines_;
  // Built by buildIndex: each line's word group, each group's first line
  // with a translation (kNone without one), and the groups' lines in order
  // (group g's are members_[groupStart_[g] .. groupStart_[g + 1])).
  mutable bool indexed_ = false;
  mutable std::vector<std::uint32_t> groupOf_;
  mutable std::vector<std::uint32_t> firstLine_;
  mutable std::vector<std::uint32_t> groupStart_;
  mutable std::vector<std::uint32_t> members_;
};

}  // namespace tavro2
