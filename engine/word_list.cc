#include "engine/word_list.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavro2 {

void WordList::append(std::string_view line) {
  const auto start = static_cast<std::uint32_t>(text_.size());
  text_.append(line);
  spans_.push_back({start, static_cast<std::uint32_t>(text_.size())});
}

void WordList::clear() {
  text_.clear();
  spans_.clear();
}

namespace {

#if defined(__SSE2__)
// Bit i of the result is set when p[i] is a CR (16 bytes at p).
inline unsigned crMask(const char* p) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
}
#endif

// Calls onCr(offset) for every CR in text, in order. A dictionary block has
// a line end every few bytes, so this scans 16 bytes at a time rather than
// calling memchr once per line.
template <typename F>
void forEachCr(const char* text, std::size_t size, F&& onCr) {
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= size; i += 16) {
    for (unsigned m = crMask(text + i); m != 0; m &= m - 1)
      onCr(i + static_cast<std::size_t>(__builtin_ctz(m)));
  }
#endif
  for (; i < size; ++i)
    if (text[i] == '\r') onCr(i);
}

std::size_t countCr(const char* text, std::size_t size) {
  std::size_t n = 0, i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= size; i += 16) n += static_cast<std::size_t>(__builtin_popcount(crMask(text + i)));
#endif
  for (; i < size; ++i) n += text[i] == '\r';
  return n;
}

}  // namespace

WordList splitLines(std::string text) {
  WordList list;
  const char* const base = text.data();
  const std::size_t size = text.size();
  // Counting the CRs first lets the span vector be sized exactly once.
  list.spans_.reserve(countCr(base, size) + 1);
  // `start` is where the current line begins; a CR ends it, and one LF right
  // after the CR belongs to the line end. A CR that an LF-skip stepped over
  // cannot occur: the skipped byte is an LF.
  std::size_t start = 0;
  forEachCr(base, size, [&](std::size_t cr) {
    list.spans_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(cr)});
    start = cr + 1;
    if (start < size && base[start] == '\n') ++start;
  });
  if (start < size)
    list.spans_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(size)});
  list.text_ = std::move(text);
  return list;
}

std::size_t countLineEnds(std::string_view text) { return countCr(text.data(), text.size()); }

std::vector<std::string_view> splitLineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t cr = text.find('\r', pos);
    if (cr == std::string_view::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, cr - pos));
    pos = cr + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

}  // namespace tavro2
