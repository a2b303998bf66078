#include "engine/text_search.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavro2 {

namespace {

constexpr std::size_t npos = std::string_view::npos;

#if defined(__SSE2__)
// Tests 16 candidate starts at once on three bytes of the needle (first,
// middle, last) and compares the rest only where all three agree; on text
// like a dictionary's that leaves few candidates, so the pass runs near
// memory speed. Needles of two bytes use the first and last alone.
std::size_t findSse2(const char* h, std::size_t size, const char* nd, std::size_t n,
                     std::size_t i) {
  const std::size_t lastStart = size - n;
  const std::size_t mid = n / 2;
  const __m128i first = _mm_set1_epi8(nd[0]);
  const __m128i middle = _mm_set1_epi8(nd[mid]);
  const __m128i last = _mm_set1_epi8(nd[n - 1]);
  auto block = [&](std::size_t at) -> unsigned {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at));
    const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at + mid));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + at + n - 1));
    const __m128i eq =
        _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(m, middle)),
                      _mm_cmpeq_epi8(b, last));
    return static_cast<unsigned>(_mm_movemask_epi8(eq));
  };
  // Needles up to 3 bytes are wholly tested by the filter; up to 8 bytes two
  // overlapping 4-byte words cover them; longer ones need memcmp.
  std::uint32_t head = 0, tail = 0;
  if (n >= 4 && n <= 8) {
    std::memcpy(&head, nd, 4);
    std::memcpy(&tail, nd + n - 4, 4);
  }
  auto equalAt = [&](std::size_t at) {
    if (n <= 3) return true;
    if (n <= 8) {
      std::uint32_t a, b;
      std::memcpy(&a, h + at, 4);
      std::memcpy(&b, h + at + n - 4, 4);
      return a == head && b == tail;
    }
    return std::memcmp(h + at + 1, nd + 1, n - 2) == 0;
  };
  auto check = [&](std::size_t at, unsigned mask) -> std::size_t {
    while (mask) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (equalAt(at + bit)) return at + bit;
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

std::size_t findText(std::string_view hay, std::string_view needle, std::size_t from) {
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

std::size_t findWholeWord(std::string_view hay, std::string_view needle, std::size_t from) {
  if (needle.empty()) return npos;
  for (std::size_t pos = findText(hay, needle, from); pos != npos;
       pos = findText(hay, needle, pos + 1)) {
    const std::size_t after = pos + needle.size();
    if ((pos == 0 || !isAlnum1252(static_cast<unsigned char>(hay[pos - 1]))) &&
        (after == hay.size() || !isAlnum1252(static_cast<unsigned char>(hay[after]))))
      return pos;
  }
  return npos;
}

namespace detail {

namespace {

// The line whose start is the last at or before pos (as lineOfHit), given a
// guess: gallops from the guess towards pos and halves the last step. Near
// guesses read neighbouring spans, which share cache lines.
std::size_t lineFromGuess(const WordList& list, std::size_t lo, std::size_t n, std::size_t pos,
                          std::size_t guess) {
  if (guess < lo) guess = lo;
  if (guess >= n) guess = n - 1;
  std::size_t hi;
  if (list.lineStart(guess) <= pos) {
    lo = guess;
    std::size_t step = 1;
    hi = lo + 1;
    while (hi < n && list.lineStart(hi) <= pos) {
      lo = hi;
      step *= 2;
      hi = lo + step;
    }
    if (hi > n) hi = n;
  } else {
    hi = guess;
    std::size_t step = 1;
    while (hi - lo > step && list.lineStart(hi - step) > pos) {
      hi -= step;
      step *= 2;
    }
    if (hi - lo > step) lo = hi - step;
  }
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

// Keeps reads whose only purpose is to bring memory into the cache from
// being dropped as unused.
inline void keepRead(std::uint32_t value) {
#if defined(__GNUC__)
  __asm__ volatile("" : : "r"(value));
#else
  static volatile std::uint32_t sink;
  sink = value;
#endif
}

// Guesses the line of a position from the average line length between lo
// and the end, and refines a guess from the start of the guessed line.
class LineGuesser {
 public:
  LineGuesser(const WordList& list, std::size_t lo, std::size_t n)
      : lo_(lo), n_(n), base_(list.lineStart(lo)) {
    const std::size_t span = list.lineEnd(n - 1) - base_;
    perByte_ = span ? static_cast<double>(n - lo) / static_cast<double>(span) : 0;
  }
  std::size_t first(std::size_t pos) const {
    return clamp(static_cast<double>(lo_) + static_cast<double>(pos - base_) * perByte_);
  }
  // `start` is the start of line `guess`.
  std::size_t refine(std::size_t guess, std::size_t start, std::size_t pos) const {
    return clamp(static_cast<double>(guess) +
                 (static_cast<double>(pos) - static_cast<double>(start)) * perByte_);
  }

 private:
  std::size_t clamp(double g) const {
    if (!(g > static_cast<double>(lo_))) return lo_;
    const auto i = static_cast<std::size_t>(g);
    return i < n_ ? i : n_ - 1;
  }
  std::size_t lo_, n_, base_;
  double perByte_;
};

// A hit close after lo (dense hits: most lines holding the needle) is
// mostly within the next few lines, whose starts are likely cached; tries
// those one by one. Returns n when the hit lies further.
std::size_t nearLine(const WordList& list, std::size_t lo, std::size_t n, std::size_t pos) {
  if (pos - list.lineStart(lo) >= 256) return n;
  for (int k = 0; k < 8; ++k) {
    if (lo + 1 >= n || list.lineStart(lo + 1) > pos) return lo;
    ++lo;
  }
  return n;
}

}  // namespace

std::size_t lineOfHit(const WordList& list, std::size_t lo, std::size_t n, std::size_t pos) {
  const std::size_t near = nearLine(list, lo, n, pos);
  if (near < n) return near;
  const LineGuesser guess(list, lo, n);
  const std::size_t g = guess.first(pos);
  return lineFromGuess(list, lo, n, pos, guess.refine(g, list.lineStart(g), pos));
}

void linesOfHits(const WordList& list, std::size_t lo, std::size_t n, const std::size_t* pos,
                 std::size_t count, std::size_t* out) {
  // The line starts of a big list do not fit in the cache. Each pass below
  // reads one line start per hit, independent of the others, so the
  // processor fetches them all at once: a first guess from the average line
  // length, a second one corrected by what the first read, which then is
  // mostly within a line or two; the gallops at the end find their spans
  // cached. Hits close to the one before are left to nearLine (dense hits).
  const LineGuesser guess(list, lo, n);
  constexpr std::size_t kNoGuess = static_cast<std::size_t>(-1);
  std::size_t guesses[kHitBatch];
  std::uint32_t starts[kHitBatch];
  std::size_t previous = list.lineStart(lo);
  for (std::size_t k = 0; k < count; ++k) {
    guesses[k] = kNoGuess;
    if (pos[k] - previous >= 256) {
      guesses[k] = guess.first(pos[k]);
      starts[k] = list.lineStart(guesses[k]);
    }
    previous = pos[k];
  }
  std::uint32_t touched = 0;
  for (std::size_t k = 0; k < count; ++k) {
    if (guesses[k] == kNoGuess) continue;
    guesses[k] = guess.refine(guesses[k], starts[k], pos[k]);
    touched ^= list.lineStart(guesses[k]);
  }
  keepRead(touched);
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t near = nearLine(list, lo, n, pos[k]);
    if (near < n) {
      lo = near;
    } else {
      std::size_t g = guesses[k];
      if (g == kNoGuess) {
        g = guess.first(pos[k]);
        g = guess.refine(g, list.lineStart(g), pos[k]);
      }
      lo = lineFromGuess(list, lo, n, pos[k], g);
    }
    out[k] = lo;
  }
}

}  // namespace detail

}  // namespace tavro2
