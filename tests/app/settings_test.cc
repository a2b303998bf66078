#include "app/settings.h"

#include <gtest/gtest.h>

#include "app/program_dir.h"
#include "test_util.h"

namespace tavro2 {
namespace {

using test::fileExists;
using test::TempDir;
using test::writeFile;

class SettingsTest : public ::testing::Test {
 protected:
  Settings readWith(const std::string& lines) {
    writeFile(ini_.path(), "[General]\r\n" + lines);
    return ReadSettings(ini_);
  }

  TempDir dir_;
  IniFile ini_{dir_.file("Tavro2.ini")};
};

TEST_F(SettingsTest, NoFileGivesEveryDefault) {
  const Settings s = ReadSettings(ini_);
  EXPECT_EQ(s.Language, 1);
  EXPECT_EQ(s.WordsBefore, 0);
  EXPECT_EQ(s.WordsAfter, 0);
  EXPECT_EQ(s.MaxContainTexts, 10);
  EXPECT_EQ(s.AlphaBlend, 255);
  EXPECT_EQ(s.Skin, 0);
  EXPECT_TRUE(s.AlwaysOnTop);
  EXPECT_TRUE(s.AutoRemAlpha);
  EXPECT_FALSE(s.UseClipboard);
  EXPECT_FALSE(s.ShowContain);
  EXPECT_FALSE(s.ShowPhrase);
  EXPECT_EQ(s.WordHistory, 20);
  EXPECT_EQ(s.AutoCloseTime, 7);
  EXPECT_TRUE(s.HistoryFromRight);
  EXPECT_FALSE(ReadCompactMode(ini_));
  EXPECT_FALSE(fileExists(ini_.path())) << "reading never creates the file";
}

// Widths cut first, then the bounds.
TEST_F(SettingsTest, WidthsAndBounds) {
  const struct {
    const char* line;
    long expected;
    long (*field)(const Settings&);
  } rows[] = {
#define FIELD(f) [](const Settings& s) { return static_cast<long>(s.f); }
      {"MaxContainTexts=0", 6, FIELD(MaxContainTexts)},
      {"MaxContainTexts=150", 100, FIELD(MaxContainTexts)},
      {"MaxContainTexts=100", 100, FIELD(MaxContainTexts)},
      {"MaxContainTexts=65536", 6, FIELD(MaxContainTexts)},
      {"MaxContainTexts=-1", 100, FIELD(MaxContainTexts)},
      {"WordsBefore=250", 100, FIELD(WordsBefore)},
      {"WordsBefore=65536", 0, FIELD(WordsBefore)},
      {"WordsBefore=65546", 10, FIELD(WordsBefore)},
      {"WordsAfter=101", 100, FIELD(WordsAfter)},
      {"WordsAfter=abc", 0, FIELD(WordsAfter)},
      {"Language=0", 1, FIELD(Language)},
      {"Language=7", 1, FIELD(Language)},
      {"Language=3", 3, FIELD(Language)},
      {"Language=258", 2, FIELD(Language)},
      {"Language=-1", 1, FIELD(Language)},
      {"AlphaBlend=511", 511, FIELD(AlphaBlend)},  // low byte 255: opaque
      {"AlphaBlend=70000", 4464, FIELD(AlphaBlend)},
      {"Skin=300", 44, FIELD(Skin)},
      {"AlwaysOnTop=2", 1, FIELD(AlwaysOnTop)},
      {"AlwaysOnTop=0", 0, FIELD(AlwaysOnTop)},
      {"AlwaysOnTop=256", 1, FIELD(AlwaysOnTop)},
      {"AutoRemAlpha=x", 0, FIELD(AutoRemAlpha)},
      {"UseClipboard=1", 1, FIELD(UseClipboard)},
      {"ShowContain=-1", 1, FIELD(ShowContain)},
      {"ShowPhrase=0x1", 1, FIELD(ShowPhrase)},
      {"WordHistory=-3", -3, FIELD(WordHistory)},
      {"WordHistory=100000", 100000, FIELD(WordHistory)},
      {"AutoCloseTime=0x10", 16, FIELD(AutoCloseTime)},
      {"HistoryFromRight=0", 0, FIELD(HistoryFromRight)},
#undef FIELD
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.field(readWith(std::string(row.line) + "\r\n")), row.expected) << row.line;
}

TEST_F(SettingsTest, CompactModeIsReadOnItsOwn) {
  writeFile(ini_.path(), "[General]\r\nCompactMode=1\r\n");
  EXPECT_TRUE(ReadCompactMode(ini_));
  ASSERT_TRUE(ini_.WriteBoolean(settings_key::kCompactMode, false));
  EXPECT_FALSE(ReadCompactMode(ini_));
}

// What the windows write is what ReadSettings reads back.
TEST_F(SettingsTest, WrittenValuesReadBack) {
  namespace k = settings_key;
  ASSERT_TRUE(ini_.WriteInteger(k::kLanguage, 3));
  ASSERT_TRUE(ini_.WriteInteger(k::kWordsBefore, 5));
  ASSERT_TRUE(ini_.WriteInteger(k::kMaxContainTexts, 40));
  ASSERT_TRUE(ini_.WriteInteger(k::kAlphaBlend, 200));
  ASSERT_TRUE(ini_.WriteInteger(k::kSkin, 4));
  ASSERT_TRUE(ini_.WriteBoolean(k::kAlwaysOnTop, false));
  ASSERT_TRUE(ini_.WriteBoolean(k::kShowPhrase, true));
  ASSERT_TRUE(ini_.WriteInteger(k::kWordHistory, 0));
  ASSERT_TRUE(ini_.WriteBoolean(k::kHistoryFromRight, false));
  const Settings s = ReadSettings(ini_);
  EXPECT_EQ(s.Language, 3);
  EXPECT_EQ(s.WordsBefore, 5);
  EXPECT_EQ(s.MaxContainTexts, 40);
  EXPECT_EQ(s.AlphaBlend, 200);
  EXPECT_EQ(s.Skin, 4);
  EXPECT_FALSE(s.AlwaysOnTop);
  EXPECT_TRUE(s.ShowPhrase);
  EXPECT_EQ(s.WordHistory, 0);
  EXPECT_FALSE(s.HistoryFromRight);
}

TEST(SettingsPathTest, BesideTheProgram) {
  const std::string saved = ProgramDirectory();
  SetProgramDirectory("/opt/tavro2");
  EXPECT_EQ(SettingsFilePath(), "/opt/tavro2/Tavro2.ini");
  SetProgramDirectory(saved);
}

}  // namespace
}  // namespace tavro2
