#include "editor/user_list_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavro2 {
namespace {

std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> out;
  for (std::string_view line : SplitEditorLines(text)) out.emplace_back(line);
  return out;
}

TEST(UserListTextTest, SplitsAtCarriageReturns) {
  struct Row {
    std::string text;
    std::vector<std::string> lines;
  };
  const std::vector<Row> rows = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb", {"a", "b"}},
      {"a\nb", {"a\nb"}},  // a lone LF stays inside its line
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"a\r\r\nb", {"a", "", "b"}},
  };
  for (const Row& row : rows) EXPECT_EQ(linesOf(row.text), row.lines) << row.text;
}

TEST(UserListTextTest, CheckCountsOnlyNonBlankLines) {
  struct Row {
    std::string text;
    int incomplete;
  };
  const std::vector<Row> rows = {
      {"a=b\r\n\r\nc", 2},
      {"a=b\r\n \t\r\nc\r\nd", 2},  // spaces and tabs make a blank line
      {"\r\n\r\nx", 1},
      {"=", 0},
      {"word=", 0},
      {"  \r\n\r\n", 0},  // blank lines only pass
      {"a\nb=c", 0},      // one line, holding '='
      {"a=b\r\nc=d\r\ne", 3},
      {"a=b\r\nbad\r\nworse", 2},  // the first offender is named
      {"\x01\x1f \x20=\r\nz", 2},  // control bytes are blank, '=' makes it complete
  };
  for (const Row& row : rows) EXPECT_EQ(FindIncompleteLine(row.text), row.incomplete) << row.text;
}

TEST(UserListTextTest, MessageNamesTheLine) {
  EXPECT_EQ(IncompleteLineMessage(2),
            "Incomplete data at lines 2\n"
            "The format for every line is : the_word=the_translation_of_word");
}

TEST(UserListTextTest, SortsByUnsignedBytesWithCrLfAfterEveryLine) {
  EXPECT_EQ(SortEditorLines("b=1\r\nB=2\r\na=3\r\nab=4\r\nabc=5"),
            "B=2\r\na=3\r\nab=4\r\nabc=5\r\nb=1\r\n");
  // Blank lines lead; bytes above 127 follow ASCII; '=' sorts after digits.
  EXPECT_EQ(SortEditorLines("\xe9t\xe9=x\r\nz=y\r\n\r\na1=b\r\na=c\r\n"),
            "\r\na1=b\r\na=c\r\nz=y\r\n\xe9t\xe9=x\r\n");
  EXPECT_EQ(SortEditorLines(""), "");
  EXPECT_EQ(SortEditorLines("only"), "only\r\n");
}

}  // namespace
}  // namespace tavro2
