#include "engine/word_list.h"

#include <algorithm>

#include "lookup_fixture.h"

namespace tavro2 {
namespace {

using Strings = std::vector<std::string>;

// Both splitters follow the same line rules.
TEST(SplitLinesTest, LineEndRules) {
  const std::pair<std::string, Strings> rows[] = {
      {"", {}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\nb\r\n", {"a\nb"}},
      {"a\r\n\nb", {"a", "\nb"}},
      {"\r\r", {"", ""}},
      {"\r\n", {""}},
      // Past the 16-byte scan: CRs on either side of the block edge.
      {"0123456789abcde\r\nx\r0123456789abcdef\rz", {"0123456789abcde", "x", "0123456789abcdef", "z"}},
  };
  for (const auto& [text, lines] : rows) {
    const WordList list = splitLines(text);
    EXPECT_EQ(test::lines(list), lines) << text;
    EXPECT_EQ(list.text(), text);  // line ends kept in the buffer
    const std::vector<std::string_view> views = splitLineViews(text);
    EXPECT_EQ(Strings(views.begin(), views.end()), lines) << text;
    EXPECT_EQ(countLineEnds(text), static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')));
  }
}

}  // namespace
}  // namespace tavro2
