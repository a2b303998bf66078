#include "engine/word_list.h"

#include <algorithm>
#include <cstring>

namespace tavro2 {

std::size_t WordList::lineAt(std::size_t pos) const {
  auto it = std::upper_bound(spans_.begin(), spans_.end(), pos,
                             [](std::size_t p, const Span& s) { return p < s.start; });
  if (it == spans_.begin()) return spans_.size();
  return static_cast<std::size_t>(it - spans_.begin()) - 1;
}

void WordList::append(std::string_view line) {
  const auto start = static_cast<std::uint32_t>(text_.size());
  text_.append(line);
  spans_.push_back({start, static_cast<std::uint32_t>(text_.size())});
}

void WordList::clear() {
  text_.clear();
  spans_.clear();
}

WordList WordList::fromText(std::string text) {
  WordList list;
  const char* const base = text.data();
  const std::size_t size = text.size();
  // Counting the CRs first lets the span vector be sized exactly once.
  std::size_t lines = 0;
  for (const char* p = base; (p = static_cast<const char*>(std::memchr(p, '\r', base + size - p)));
       ++p)
    ++lines;
  list.spans_.reserve(lines + 1);
  std::size_t pos = 0;
  while (pos < size) {
    const void* cr = std::memchr(base + pos, '\r', size - pos);
    const std::size_t end = cr ? static_cast<const char*>(cr) - base : size;
    list.spans_.push_back({static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(end)});
    pos = end + 1;
    if (cr && pos < size && base[pos] == '\n') ++pos;
  }
  list.text_ = std::move(text);
  return list;
}

WordList SplitLines(std::string text) { return WordList::fromText(std::move(text)); }

}  // namespace tavro2
