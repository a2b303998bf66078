#include "engine/cp1252.h"

#include <gtest/gtest.h>

namespace tavro2 {
namespace {

// The edges of every class range and their neighbours.
TEST(Cp1252Test, LetterAndDigitClassesAndUtf8BothWays) {
  const struct { unsigned char c; bool letter, alnum; } rows[] = {
      {'a', true, true},   {'z', true, true},   {'A', true, true},   {'Z', true, true},
      {'0', false, true},  {'9', false, true},  {'@', false, false}, {'[', false, false},
      {'`', false, false}, {'{', false, false}, {'/', false, false}, {':', false, false},
      {0x83, true, true},  {0x9F, true, true},  {0x80, false, false}, {0xA0, false, false},
      {0xC0, true, true},  {0xD6, true, true},  {0xD7, false, false}, {0xD8, true, true},
      {0xF7, false, false}, {0xFF, true, true}, {0xBF, false, false}, {0xB5, true, true},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(isLetter1252(r.c), r.letter) << int{r.c};
    EXPECT_EQ(isAlnum1252(r.c), r.alnum) << int{r.c};
  }
  const std::pair<std::string, std::string> texts[] = {
      // 1252 text and its UTF-8 form.
      {"caf\xE9 \x80 \x9F \x81", "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8 \xC2\x81"},
      {"\xFF\x7F", "\xC3\xBF\x7F"},
  };
  for (const auto& [bytes, utf8] : texts) {
    EXPECT_EQ(cp1252ToUtf8(bytes), utf8);
    EXPECT_EQ(utf8To1252(utf8), bytes);
  }
  // Malformed or foreign: one '?' a bad byte or a character 1252 lacks.
  const std::pair<std::string, std::string> bad[] = {
      {"\x80", "?"},           {"\xC3", "?"},        {"a\xE2\x82", "a??"},
      {"\xC3\x41", "?A"},      {"\xF8\x80", "??"},   {"\xE4\xB8\xAD", "?"},
      {"\xF0\x9F\x98\x80", "?"}, {"\xC2\x80", "?"},
  };
  for (const auto& [utf8, bytes] : bad) EXPECT_EQ(utf8To1252(utf8), bytes) << utf8;
  std::string out;
  for (const auto cp : {0x80u, 0x7FFu, 0x800u, 0xD800u, 0x10FFFFu, 0x110000u}) appendUtf8(out, cp);
  EXPECT_EQ(out, "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xF4\x8F\xBF\xBF\xEF\xBF\xBD");
}

}  // namespace
}  // namespace tavro2
