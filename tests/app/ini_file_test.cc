#include "app/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "test_util.h"

namespace tavro2 {
namespace {

using test::readFile;
using test::writeFile;

class IniFileTest : public ::testing::Test {
 protected:
  std::string path() const { return dir_.file("Tavro2.ini"); }
  IniFile ini() const { return IniFile(path()); }
  test::TempDir dir_;
};

TEST_F(IniFileTest, ReadsTheFirstMatchingKeyAndWritesChangeOnlyTheirLine) {
  EXPECT_EQ(ini().readInteger("Language", 5), 5);  // no file
  EXPECT_TRUE(ini().readBoolean("AlwaysOnTop", true) && !ini().readString("Language"));

  const struct {
    std::string text;
    std::int32_t value;  // -99: the default
    const char* key = "Language";
  } rows[] = {
      {"[General]\r\nSkin=3\r\n", -99},
      {"[Other]\r\nLanguage=3\r\n", -99},
      {"Language=3\r\n[General]\r\n", -99},  // before any section
      {"[General]\r\nLanguage=  \"\"  \r\n", -99},  // empty once unquoted
      {"[General]\r\nLanguage\r\n", -99},
      {"  [ GENERAL ]  \r\n \t LANGUAGE \t=\t 3 \t\r\n", 3},
      {"[General]\r\nLanguage=3\r\n", 3, "  language "},
      {"[General]\r\nLanguage='-0x10'\r\n", -16},
      {"[General]\r\nLanguage=\"3\r\n", 0},  // an unmatched quote stays
      {"[General]\r\nLanguage=\" 7 \"\r\n", 7},
      {"[General]\r\nLanguage=2 ; comment\r\n", 2},
      {"[General]\r\nLanguage=2\r\nLanguage=3\r\n", 2},
      {"[General]\r\nSkin=1\r\n[Other]\r\n[General]\r\nLanguage=3\r\n", -99},
      {"[General]\rSkin=1\rLanguage=3", 3},
      {"\xEF\xBB\xBF[General]\r\nLanguage=2\r\n", 2},
  };
  for (const auto& row : rows) {
    writeFile(path(), row.text);
    EXPECT_EQ(ini().readInteger(row.key, -99), row.value) << testing::PrintToString(row.text);
  }
  EXPECT_EQ(IniFile(path(), " general ").readInteger("Language", 0), 2);
  writeFile(path(), "[General]\r\nLanguage=\r\nSkin=a=1\r\n");
  EXPECT_TRUE(ini().readBoolean("Language", true));  // an empty value gives the default
  EXPECT_EQ(ini().readString("Language"), "");
  EXPECT_EQ(ini().readInteger("Skin", -99), 0);
  EXPECT_EQ(ini().readString("Skin"), "a=1");
  // The file before (nullptr: no file), the write, the file after.
  const struct {
    const char* name;
    const char* before;
    const char* key;
    std::int32_t value;
    const char* after;
  } cases[] = {
      {"new file", nullptr, "Language", 2, "[General]\r\nLanguage=2\r\n"},
      {"replace keeps spelling and neighbours",
       "; mine\r\n[general]\r\n  LANGUAGE = 1 \r\nSkin=3\n\r\n[Other]\r\nx=1\r\n", "Language", 3,
       "; mine\r\n[general]\r\nLANGUAGE=3\r\nSkin=3\n\r\n[Other]\r\nx=1\r\n"},
      {"replace keeps a lone-LF line end", "[General]\nLanguage=1\nSkin=0\n", "Language", 2,
       "[General]\nLanguage=2\nSkin=0\n"},
      {"replace a last line without line end", "[General]\r\nLanguage=1", "Language", 2,
       "[General]\r\nLanguage=2"},
      {"new key after the section's last line, before the blank",
       "[General]\r\nSkin=1\r\n; note\r\n\r\n[Other]\r\nLanguage=1\r\n", "Language", 3,
       "[General]\r\nSkin=1\r\n; note\r\nLanguage=3\r\n\r\n[Other]\r\nLanguage=1\r\n"},
      {"new key in an empty section at the end", "[General]", "Language", 3,
       "[General]\r\nLanguage=3\r\n"},
      {"missing section appended", "[Other]\r\nx=1\r\n", "Language", 2,
       "[Other]\r\nx=1\r\n[General]\r\nLanguage=2\r\n"},
      {"missing section after a line without line end", "[Other]\nx=1", "Language", 2,
       "[Other]\nx=1\r\n[General]\r\nLanguage=2\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::unlink(path().c_str());
    if (c.before) writeFile(path(), c.before);
    IniFile file = ini();
    ASSERT_TRUE(file.writeInteger(c.key, c.value));
    EXPECT_EQ(readFile(path()), c.after);
    EXPECT_EQ(file.readInteger(c.key, -99), c.value);
  }
  ::unlink(path().c_str());
  ASSERT_TRUE(ini().writeBoolean("AlwaysOnTop", false) && ini().writeBoolean("ShowPhrase", true));
  EXPECT_EQ(readFile(path()), "[General]\r\nAlwaysOnTop=0\r\nShowPhrase=1\r\n");
}

TEST_F(IniFileTest, RefusedWritesChangeNothingAndIntegersReadAsWindowsDoes) {
  // A settings path that exists but is no readable file: writing would throw
  // away whatever is there.
  ::mkdir(path().c_str(), 0755);
  EXPECT_FALSE(ini().writeInteger("Language", 2));
  EXPECT_EQ(ini().readInteger("Language", 1), 1);
  ::rmdir(path().c_str());

  const std::string before = "[General]\r\nLanguage=1\r\n";
  writeFile(path(), before);
  IniFile file = ini();
  EXPECT_TRUE(!file.writeString("", "1") && !file.writeString("a=b", "1"));
  EXPECT_FALSE(file.writeString("Skin", "1\r\nLanguage=3"));
  EXPECT_EQ(readFile(path()), before);

  // A FIFO (opening it must not wait for a writer) and a file past the size
  // limit read as absent and are never rewritten.
  ::unlink(path().c_str());
  ASSERT_EQ(::mkfifo(path().c_str(), 0600), 0);
  EXPECT_EQ(ini().readInteger("Language", 1), 1);
  EXPECT_FALSE(file.writeInteger("Language", 2));
  ::unlink(path().c_str());
  const std::string huge = before + std::string(kMaxSettingsBytes, '\r');
  writeFile(path(), huge);
  EXPECT_EQ(ini().readInteger("Language", 3), 3);
  EXPECT_FALSE(file.writeInteger("Language", 2));
  EXPECT_EQ(readFile(path()), huge);
  const struct {
    const char* text;
    std::int32_t value;
  } rows[] = {{"12abc", 12},     {" \t\x01 9", 9},   {"+-5", 0},
              {"- 5", 0},        {"-0x10", -16},     {"0o17", 15},
              {"0o8", 0},        {"0b102", 2},       {"0X10", 0},
              {"08", 8},         {"2147483648", INT_MIN}, {"0xFFFFFFFF", -1},
              {"99999999999999999999", 1661992959}, {"\xE9\x35", 0}};  // a byte above 127 is no blank
  for (const auto& row : rows) EXPECT_EQ(parseProfileInteger(row.text), row.value) << row.text;
}

}  // namespace
}  // namespace tavro2
