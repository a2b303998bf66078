#include "engine/data_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_util.h"
#include "tools/data_writer.h"

namespace tavro2::test {
namespace {

TEST(DataStatisticsTest, CalendarDatesTheirPictureAndCounts) {
  for (const CalendarDate c : {CalendarDate{1, 1, 1}, CalendarDate{2009, 1, 1},
                               CalendarDate{2000, 2, 29}, CalendarDate{1900, 3, 1},
                               CalendarDate{2024, 12, 31}, CalendarDate{9999, 12, 31}}) {
    for (double time : {0.0, 0.75}) {  // the time of day is ignored
      const auto date = calendarDateOf(dataDateOf(c.year, c.month, c.day) + time);
      ASSERT_TRUE(date) << c.year;
      EXPECT_EQ(*date, c);
    }
  }
  for (double bad :
       {0.0, 0.5, -3.0, 3652060.0, 1e300, std::nan(""), std::numeric_limits<double>::infinity()})
    EXPECT_FALSE(calendarDateOf(bad)) << bad;
  const MonthNames en = englishMonthAbbreviations();
  EXPECT_EQ(formatDdMmmYy({2009, 1, 1}, en), "01 Jan 09");
  EXPECT_EQ(formatDdMmmYy({1999, 12, 31}, en), "31 Dec 99");
  EXPECT_EQ(formatDdMmmYy({2100, 6, 5}, en), "05 Jun 00");
  EXPECT_EQ(formatDdMmmYy({2009, 13, 1}, en), "01 Jan 09");  // no such month
  EXPECT_EQ(monthAbbreviationsUtf8(std::locale::classic()), en);
  struct NoNames : std::time_put<wchar_t> {  // a locale without month names keeps the English ones
    iter_type do_put(iter_type out, std::ios_base&, wchar_t, const std::tm*, char,
                     char) const override {
      return out;
    }
  };
  EXPECT_EQ(monthAbbreviationsUtf8(std::locale(std::locale::classic(), new NoNames)), en);
  const std::pair<std::int64_t, const char*> rows[] = {
      {0, "0"},           {999, "999"},         {1000, "1,000"}, {123456, "123,456"},
      {-1234, "-1,234"}, {2147483647, "2,147,483,647"}};
  for (const auto& [n, text] : rows) EXPECT_EQ(formatCount(n), text);
}

TEST(DataStatisticsTest, FourLinesFromStoreAndFiles) {
  TempDir dir;
  writeEntries(dir.file("dataen.dat"), {"a"}, {"b"});  // dated 1 January 2009
  writeFile(dir.file("dataid.dat"), "1234567");         // too short for a date
  // datapr.dat is missing.
  DictionaryStore store;
  std::string text;
  for (int i = 0; i < 12345; ++i) text += "w\r\n";
  store.publish(DataKind::kEnglish, splitLines(text), splitLines(""), LoadState::kLoaded);
  store.publishTranscriptions(splitLines("a\r\nb\r\n"), splitLines("x\r\ny\r\n"),
                              LoadState::kLoaded);

  const auto english = [](const CalendarDate& d) {
    return formatDdMmmYy(d, englishMonthAbbreviations());
  };
  const DataStatistics stats = readDataStatistics(store, dir.path());
  EXPECT_EQ(dataStatisticsText(stats, english),
            "English-Indonesian : 12,345 [01 Jan 09]\r\n"
            "Indonesian-English : 0 [-]\r\nPhrase : 0 [-]\r\nPronunciation : 2 [-]");

  // Impossible dates never reach the formatter.
  DataStatistics bad;
  bad.dates = {std::nan(""), -5.0, 1e18};
  EXPECT_EQ(dataStatisticsText(bad, [](const CalendarDate&) {
              ADD_FAILURE();
              return std::string("?");
            }),
            "English-Indonesian : 0 [-]\r\nIndonesian-English : 0 [-]\r\nPhrase : 0 [-]\r\n"
            "Pronunciation : 0 [-]");
}

}  // namespace
}  // namespace tavro2::test
