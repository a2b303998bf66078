#include "engine/user_list.h"

#include <string>
#include <unordered_map>

#include "engine/cp1252.h"
#include "engine/data_file.h"

namespace tavro2 {

std::string_view UserList::translationOf(std::size_t i) const {
  if (i >= count()) return {};
  buildIndex();
  const std::uint32_t first = firstLine_[groupOf_[i]];
  if (first == kNone) return {};
  const std::string_view line = lines_.line(first);
  return line.substr(line.find('=') + 1);
}

void UserList::buildIndex() const {
  if (indexed_) return;
  // Line counts fit 32 bits: a list is read up to kMaxUserListBytes.
  const std::size_t n = count();
  groupOf_.resize(n);
  firstLine_.clear();
  std::unordered_map<std::string, std::uint32_t> groups;
  groups.reserve(n);
  std::string folded;
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view line = lines_.line(i);
    const std::string_view word = entryWord(line);
    folded.assign(word);
    for (char& c : folded) c = foldAscii(c);
    const auto [it, added] = groups.try_emplace(folded, static_cast<std::uint32_t>(groups.size()));
    if (added) firstLine_.push_back(kNone);
    groupOf_[i] = it->second;
    // Only a line with an '=' and a word answers FindTranslation.
    if (firstLine_[it->second] == kNone && word.size() < line.size() && !word.empty())
      firstLine_[it->second] = static_cast<std::uint32_t>(i);
  }
  groupStart_.assign(groups.size() + 1, 0);
  for (const std::uint32_t g : groupOf_) ++groupStart_[g + 1];
  for (std::size_t g = 0; g < groups.size(); ++g) groupStart_[g + 1] += groupStart_[g];
  members_.resize(n);
  std::vector<std::uint32_t> next(groupStart_.begin(), groupStart_.end() - 1);
  for (std::size_t i = 0; i < n; ++i) members_[next[groupOf_[i]]++] = static_cast<std::uint32_t>(i);
  indexed_ = true;
}

}  // namespace tavro2
