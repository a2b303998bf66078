#include "app/settings.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "test_util.h"

namespace tavro2 {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  IniFile ini_{dir_.file("Tavro2.ini")};
};

TEST_F(SettingsTest, DefaultsCompactModeWidthsAndBounds) {
  const Settings s = readSettings(ini_);
  EXPECT_EQ(std::tuple(s.Language, s.WordsBefore, s.WordsAfter, s.MaxContainTexts, s.AlphaBlend,
                       s.Skin, s.WordHistory, s.AutoCloseTime),
            std::tuple(1, 0, 0, 10, 255, 0, 20, 7));
  EXPECT_EQ(std::tuple(s.AlwaysOnTop, s.AutoRemAlpha, s.UseClipboard, s.ShowContain, s.ShowPhrase,
                       s.HistoryFromRight, readCompactMode(ini_), s.UseSelection),
            std::tuple(true, true, false, false, false, true, false, false));
  EXPECT_FALSE(test::fileExists(ini_.path())) << "reading never creates the file";
  test::writeFile(ini_.path(), "[General]\r\nCompactMode=1\r\n");
  EXPECT_TRUE(readCompactMode(ini_));
  ASSERT_TRUE(ini_.writeBoolean(settings_key::kCompactMode, false));
  EXPECT_FALSE(readCompactMode(ini_));
  // Every key by its file name: widths cut first, then the bounds.
  const struct {
    const char* key;
    long (*field)(const Settings&);
    std::vector<std::pair<const char*, long>> values;  // the value written, the value read
  } rows[] = {
#define FIELD(f) #f, [](const Settings& s) { return static_cast<long>(s.f); }
      {FIELD(MaxContainTexts), {{"0", 6}, {"150", 100}, {"100", 100}, {"65536", 6}, {"-1", 100}}},
      {FIELD(WordsBefore), {{"250", 100}, {"65536", 0}, {"65546", 10}}},
      {FIELD(WordsAfter), {{"101", 100}, {"abc", 0}}},
      {FIELD(Language), {{"0", 1}, {"7", 1}, {"3", 3}, {"258", 2}, {"-1", 1}}},
      {FIELD(AlphaBlend), {{"511", 511}, {"70000", 4464}}},  // 511: low byte 255, opaque
      {FIELD(Skin), {{"300", 44}}},
      {FIELD(AlwaysOnTop), {{"2", 1}, {"0", 0}, {"256", 1}}},
      {FIELD(AutoRemAlpha), {{"x", 0}}},
      {FIELD(ShowContain), {{"-1", 1}}},
      {FIELD(ShowPhrase), {{"0x1", 1}}},
      {FIELD(WordHistory), {{"-3", -3}, {"100000", 100000}}},
      {FIELD(AutoCloseTime), {{"0x10", 16}}},
      {FIELD(UseSelection), {{"1", 1}, {"0", 0}}},
#undef FIELD
  };
  for (const auto& row : rows) {
    for (const auto& [text, expected] : row.values) {
      test::writeFile(ini_.path(), "[General]\r\n" + std::string(row.key) + "=" + text + "\r\n");
      EXPECT_EQ(row.field(readSettings(ini_)), expected) << row.key << "=" << text;
    }
  }
}

}  // namespace
}  // namespace tavro2
