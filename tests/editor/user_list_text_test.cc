#include "editor/user_list_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavro2 {
namespace {

TEST(UserListTextTest, SplitsAtCarriageReturns) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> rows = {
      {"", {}},
      {"a\r\n", {"a"}},
      {"a\rb", {"a", "b"}},
      {"a\nb", {"a\nb"}},  // a lone LF stays inside its line
      {"a\r\n\r\n", {"a", ""}},
      {"a\r\r\nb", {"a", "", "b"}},
  };
  for (const auto& [text, lines] : rows) {
    const std::vector<std::string_view> split = splitEditorLines(text);
    EXPECT_EQ(std::vector<std::string>(split.begin(), split.end()), lines) << text;
  }
}

TEST(UserListTextTest, CheckCountsOnlyNonBlankLines) {
  const std::vector<std::pair<std::string, int>> rows = {
      {"a=b\r\n \t\r\nc\r\nd", 2},  // spaces and tabs make a blank line
      {"word=", 0},
      {"  \r\n\r\n", 0},  // blank lines only pass
      {"a\nb=c", 0},      // one line, holding '='
      {"a=b\r\nbad\r\nworse", 2},  // the first offender is named
      {"\x01\x1f \x20=\r\nz", 2},  // control bytes are blank, '=' makes it complete
  };
  for (const auto& [text, incomplete] : rows)
    EXPECT_EQ(findIncompleteLine(text), incomplete) << text;
}

// Blank lines lead; bytes above 127 follow ASCII; '=' sorts after digits;
// every line ends with CR LF, the last one too.
TEST(UserListTextTest, SortsByUnsignedBytes) {
  EXPECT_EQ(sortEditorLines("\xe9t\xe9=x\r\nz=y\r\n\r\na1=b\r\na=c\r\n"),
            "\r\na1=b\r\na=c\r\nz=y\r\n\xe9t\xe9=x\r\n");
  EXPECT_EQ(sortEditorLines(""), "");
  EXPECT_EQ(sortEditorLines("only"), "only\r\n");
}

}  // namespace
}  // namespace tavro2
