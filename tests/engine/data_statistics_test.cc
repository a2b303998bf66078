#include "engine/data_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_util.h"
#include "tools/data_writer.h"

namespace tavro2::test {
namespace {

TEST(DataStatisticsTest, CountsGroupThreeDigitsFromTheRight) {
  EXPECT_EQ(FormatCount(0), "0");
  EXPECT_EQ(FormatCount(999), "999");
  EXPECT_EQ(FormatCount(1000), "1,000");
  EXPECT_EQ(FormatCount(12345), "12,345");
  EXPECT_EQ(FormatCount(123456), "123,456");
  EXPECT_EQ(FormatCount(2147483647), "2,147,483,647");
  EXPECT_EQ(FormatCount(-1234), "-1,234");
}

TEST(DataStatisticsTest, CalendarDatesOverTheWholeRange) {
  struct Case {
    int y, m, d;
  };
  for (const Case c : {Case{1, 1, 1}, Case{2009, 1, 1}, Case{2000, 2, 29}, Case{1900, 3, 1},
                       Case{1970, 1, 1}, Case{2024, 12, 31}, Case{9999, 12, 31}}) {
    const auto date = CalendarDateOf(DataDateOf(c.y, c.m, c.d) + 0.75);  // time of day ignored
    ASSERT_TRUE(date) << c.y;
    EXPECT_EQ(*date, (CalendarDate{c.y, c.m, c.d}));
  }
  EXPECT_EQ(DataDateOf(2009, 1, 1), 733408);
  for (double bad :
       {0.0, 0.5, -3.0, 3652060.0, 1e300, std::nan(""), std::numeric_limits<double>::infinity()})
    EXPECT_FALSE(CalendarDateOf(bad)) << bad;
}

TEST(DataStatisticsTest, DatePicture) {
  const MonthNames en = EnglishMonthAbbreviations();
  EXPECT_EQ(FormatDdMmmYy({2009, 1, 1}, en), "01 Jan 09");
  EXPECT_EQ(FormatDdMmmYy({1999, 12, 31}, en), "31 Dec 99");
  EXPECT_EQ(FormatDdMmmYy({2100, 6, 5}, en), "05 Jun 00");
  EXPECT_EQ(MonthAbbreviationsUtf8(std::locale::classic()), en);
}

TEST(DataStatisticsTest, ThreeLinesFromStoreAndFiles) {
  TempDir dir;
  writeDataFile(dir.file("dataen.dat"), {"a"}, {"b"});  // dated 1 January 2009
  writeFile(dir.file("dataid.dat"), "1234567");         // too short for a date
  // datapr.dat is missing.
  DictionaryStore store;
  std::vector<std::string> heads(12345, "w");
  std::string text;
  for (const auto& h : heads) text += h + "\r\n";
  store.publish(DataKind::kEnglish, SplitLines(text), SplitLines(""), LoadState::kLoaded);

  const DataStatistics stats = ReadDataStatistics(store, dir.path());
  const auto english = [](const CalendarDate& d) {
    return FormatDdMmmYy(d, EnglishMonthAbbreviations());
  };
  EXPECT_EQ(DataStatisticsText(stats, english),
            "English-Indonesian : 12,345 [01 Jan 09]\r\n"
            "Indonesian-English : 0 [-]\r\n"
            "Phrase : 0 [-]");
  EXPECT_EQ(DataStatisticsText(stats, english, "\n"),
            "English-Indonesian : 12,345 [01 Jan 09]\nIndonesian-English : 0 [-]\nPhrase : 0 [-]");
}

TEST(DataStatisticsTest, ImpossibleDatesShowADash) {
  DataStatistics stats;
  stats.dates = {std::nan(""), -5.0, 1e18};
  bool called = false;
  const std::string text = DataStatisticsText(stats, [&](const CalendarDate&) {
    called = true;
    return std::string("?");
  });
  EXPECT_FALSE(called);
  EXPECT_EQ(text, "English-Indonesian : 0 [-]\r\nIndonesian-English : 0 [-]\r\nPhrase : 0 [-]");
}

}  // namespace
}  // namespace tavro2::test
