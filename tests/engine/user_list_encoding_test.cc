#include "engine/user_list_encoding.h"

#include <gtest/gtest.h>

#include "engine/data_file.h"
#include "test_util.h"

namespace tavro2 {
namespace {

using Strings = std::vector<std::string>;

// What the lookup reads from each kind of file, with the line rules applied.
TEST(UserListEncodingTest, DetectsTheKindAndReadsWindowsAndLinuxText) {
  const struct { const char* name; std::string bytes; Strings lines; } rows[] = {
      {"Windows, unchanged", "caf\xE9=kopi\r\na=b\nc\r\n", {"caf\xE9=kopi", "a=b\nc"}},
      {"Windows, lone CR", "a=b\rc=d", {"a=b", "c=d"}},
      {"Linux LF, ASCII", "bank=tepi\nhouse=rumah\n", {"bank=tepi", "house=rumah"}},
      {"Linux LF, UTF-8", "kaf\xC3\xA9=coffee\n\nx=\xE2\x82\xAC 5\n", {"kaf\xE9=coffee", "", "x=\x80 5"}},
      {"UTF-8 outside 1252", "\xE4\xB8\xAD=china\n", {"?=china"}},
      {"byte-order mark", "\xEF\xBB\xBFkata=word\r\n", {"kata=word"}},
      {"Latin-1 LF, not UTF-8", "caf\xE9=kopi\n", {"caf\xE9=kopi"}},
      {"overlong is not UTF-8", "\xC0\xAF=x\r\n", {"\xC0\xAF=x"}},
  };
  test::TempDir dir;
  for (const auto& row : rows) {
    test::writeFile(dir.file("Tavro2id.dat"), row.bytes);
    EXPECT_EQ(test::lines(readUserWordList(dir.file("Tavro2id.dat"))), row.lines) << row.name;
  }
  EXPECT_FALSE(detectUserListFormat("plain\r\n").utf8);  // the rows above show the rest
  // Cut sequences, surrogates and code points above U+10FFFF are not UTF-8.
  for (const char* bad : {"\xC3", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
    EXPECT_FALSE(isValidUtf8(bad)) << bad;
  // The top of each range of second bytes.
  for (const char* good : {"\xC3\xBF", "\xED\x9F\xBF", "\xEF\xBF\xBF", "\xF4\x8F\xBF\xBF"})
    EXPECT_TRUE(isValidUtf8(good)) << good;
}

}  // namespace
}  // namespace tavro2
