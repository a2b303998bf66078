#include "engine/text_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavro2 {

namespace {

constexpr std::size_t npos = std::string_view::npos;

#if defined(__SSE2__)
// Compares 16 candidate starts at once on the needle's first and last byte
// and checks the middle only where both agree; on text like a dictionary's
// that leaves few candidates, so the pass runs near memory speed.
std::size_t findSse2(const char* h, std::size_t size, const char* nd, std::size_t n,
                     std::size_t i) {
  const std::size_t lastStart = size - n;
  const __m128i first = _mm_set1_epi8(nd[0]);
  const __m128i last = _mm_set1_epi8(nd[n - 1]);
  auto block = [&](std::size_t at) -> unsigned {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at + n - 1));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
  };
  auto check = [&](std::size_t at, unsigned mask) -> std::size_t {
    while (mask) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (std::memcmp(h + at + bit + 1, nd + 1, n - 2) == 0) return at + bit;
      mask &= mask - 1;
    }
    return npos;
  };
  // Every load of a block of starts i..i+15 stays inside the haystack as
  // long as i + 15 <= lastStart.
  while (i + 32 <= lastStart + 1) {
    const unsigned m0 = block(i);
    const unsigned m1 = block(i + 16);
    if (m0 | m1) {
      std::size_t r = check(i, m0);
      if (r != npos) return r;
      r = check(i + 16, m1);
      if (r != npos) return r;
    }
    i += 32;
  }
  while (i + 16 <= lastStart + 1) {
    const std::size_t r = check(i, block(i));
    if (r != npos) return r;
    i += 16;
  }
  for (; i <= lastStart; ++i)
    if (h[i] == nd[0] && std::memcmp(h + i + 1, nd + 1, n - 1) == 0) return i;
  return npos;
}
#endif

}  // namespace

std::size_t FindText(std::string_view hay, std::string_view needle, std::size_t from) {
  const std::size_t size = hay.size();
  const std::size_t n = needle.size();
  if (from > size) return npos;
  if (n == 0) return from;
  if (size - from < n) return npos;
  if (n == 1) {
    const void* p = std::memchr(hay.data() + from, needle[0], size - from);
    return p ? static_cast<std::size_t>(static_cast<const char*>(p) - hay.data()) : npos;
  }
#if defined(__SSE2__)
  return findSse2(hay.data(), size, needle.data(), n, from);
#else
  return hay.find(needle, from);
#endif
}

std::size_t FindWholeWord(std::string_view hay, std::string_view needle, std::size_t from) {
  if (needle.empty()) return npos;
  for (std::size_t pos = FindText(hay, needle, from); pos != npos;
       pos = FindText(hay, needle, pos + 1)) {
    const std::size_t after = pos + needle.size();
    if ((pos == 0 || !isAlnum1252(static_cast<unsigned char>(hay[pos - 1]))) &&
        (after == hay.size() || !isAlnum1252(static_cast<unsigned char>(hay[after]))))
      return pos;
  }
  return npos;
}

namespace detail {

std::size_t lineOfHit(const WordList& list, std::size_t lo, std::size_t n, std::size_t pos) {
  std::size_t step = 1;
  std::size_t hi = lo + 1;
  while (hi < n && list.lineStart(hi) <= pos) {
    lo = hi;
    step *= 2;
    hi = lo + step;
  }
  if (hi > n) hi = n;
  // lineStart(lo) <= pos, and hi is n or a line starting after pos.
  while (hi - lo > 1) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (list.lineStart(mid) <= pos)
      lo = mid;
    else
      hi = mid;
  }
  return lo;
}

}  // namespace detail

}  // namespace tavro2
