#include "engine/text_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "engine/render.h"

namespace tavro2 {
namespace {

// The lines a scan visits, ending the scan once it has `stopAfter` of them.
std::vector<std::size_t> visited(bool whole, const WordList& list, std::size_t limit,
                                 const char* needle, std::size_t stopAfter = SIZE_MAX) {
  std::vector<std::size_t> out;
  const auto visit = [&](std::size_t i) { return out.push_back(i), out.size() < stopAfter; };
  if (whole)
    forEachLineWithWholeWord(list, limit, needle, visit);
  else
    forEachLineContaining(list, limit, needle, visit);
  return out;
}

// The buffer scans give exactly what testing each line gives, also when stopped early.
void expectLineByLineRule(const WordList& l, std::initializer_list<const char*> needles) {
  for (const char* needle : needles) {
    for (std::size_t limit : {l.count(), l.count() - 1, std::size_t{3}}) {
      std::vector<std::size_t> contains, whole;
      for (std::size_t i = 0; i < limit; ++i) {
        if (l.line(i).find(needle) != std::string_view::npos) contains.push_back(i);
        if (posWholeWord(needle, l.line(i)) > 0) whole.push_back(i);
      }
      EXPECT_EQ(visited(false, l, limit, needle), contains) << needle << " limit " << limit;
      EXPECT_EQ(visited(true, l, limit, needle), whole) << needle << " limit " << limit;
      for (std::size_t stop : {std::size_t{1}, contains.size() / 2 + 1})
        EXPECT_EQ(visited(false, l, limit, needle, stop),
                  std::vector(contains.begin(), contains.begin() + std::min(stop, contains.size())))
            << needle;
    }
  }
}

TEST(LineScanTest, AgreesWithTheLineByLineRule) {
  // The last line has no line end.
  const WordList list = splitLines(
      "\r\na\r\nab\r\nba\r\naba\r\na a\r\nxa\r\nax\r\na\nb\r\nab\nab\r\nb,a.\r\n\xE9"
      "a\r\naa\r\na");
  WordList appended;  // lines back to back, nothing between them
  for (std::size_t i = 0; i < list.count(); ++i) appended.append(list.line(i));
  for (const WordList* l : {&list, static_cast<const WordList*>(&appended)})
    expectLineByLineRule(*l, {"a", "ab", "ba", "a a", "b\r\na", "ab\nab", "aa", "\nb", "aba"});
}

// Haystacks in exact-size heap buffers, so a read past the end is seen under ASan.
TEST(FindTextTest, EveryLengthAndPlace) {
  const std::string_view alphabet = "abcdefghijklmnopq";
  for (std::size_t size = 1; size <= 80; ++size) {
    const std::unique_ptr<char[]> buffer(new char[size]);
    const std::string_view hay(buffer.get(), size);
    for (const std::size_t n : {1, 2, 3, 4, 8, 9, 17}) {
      if (n > size) continue;
      const std::string_view needle = alphabet.substr(0, n);
      std::fill_n(buffer.get(), size, 'x');
      // Only a prefix of the needle at the very end: no match.
      std::copy_n(needle.data(), n - 1, buffer.get() + size - (n - 1));
      EXPECT_EQ(findText(hay, needle), std::string_view::npos) << size << " " << n;
      for (std::size_t at = 0; at + n <= size; ++at) {
        std::fill_n(buffer.get(), size, 'x');
        std::copy_n(needle.data(), n, buffer.get() + at);
        EXPECT_EQ(findText(hay, needle), at) << size << " " << n;
        EXPECT_EQ(findText(hay, needle, at), at) << size << " " << n;
        EXPECT_EQ(findText(hay, needle, at + 1), std::string_view::npos) << size << " " << n;
      }
    }
  }
  EXPECT_EQ(findText("abc", "", 3), 3u);
  EXPECT_EQ(findText("abc", "a", 4), std::string_view::npos);
}

// The last line has no line end, so a read past the full line table is seen under ASan.
TEST(LineOfHitTest, AgreesWithALinearSearch) {
  std::mt19937 rng(3);
  for (int round = 0; round < 4; ++round) {
    std::string text;
    const int lines = 50 + round * 150;
    for (int i = 0; i < lines; ++i) {
      const std::size_t n = i == lines - 1 ? 3000 : rng() % 20 == 0 ? 400 : rng() % 6;
      text += std::string(n, 'a') + (i == lines - 1 ? "" : "\r\n");
    }
    const WordList list = splitLines(text);
    const std::size_t n = list.count();
    for (const std::size_t lo : {std::size_t{0}, n / 3}) {
      std::vector<std::size_t> hits;
      for (std::size_t pos = list.lineStart(lo); pos < text.size(); ++pos) {
        std::size_t expected = lo;
        while (expected + 1 < n && list.lineStart(expected + 1) <= pos) ++expected;
        ASSERT_EQ(detail::lineOfHit(list, lo, n, pos), expected) << round << " " << pos;
        if (rng() % 7 == 0) hits.push_back(pos);
      }
      for (std::size_t k = 0; k < hits.size(); k += detail::kHitBatch) {
        const std::size_t count = std::min(detail::kHitBatch, hits.size() - k);
        std::size_t out[detail::kHitBatch];
        detail::linesOfHits(list, lo, n, hits.data() + k, count, out);
        for (std::size_t j = 0; j < count; ++j)
          ASSERT_EQ(out[j], detail::lineOfHit(list, lo, n, hits[k + j])) << hits[k + j];
      }
    }
  }
}

}  // namespace
}  // namespace tavro2
