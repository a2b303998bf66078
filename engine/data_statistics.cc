#include "engine/data_statistics.h"

#include <cmath>
#include <ctime>
#include <sstream>

#include "engine/cp1252.h"
#include "engine/loader.h"

namespace tavro2 {

namespace {

constexpr double kLastDay = 3652059;       // 31 December 9999
constexpr std::int64_t kDay1970 = 719163;  // DataDate of 1 January 1970

// Days since 1 January 1970 to a proleptic Gregorian date (the era-based
// conversion that is exact over the whole range).
CalendarDate civilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

}  // namespace

std::optional<CalendarDate> calendarDateOf(double dataDate) {
  if (!(dataDate >= 1 && dataDate < kLastDay + 1)) return std::nullopt;  // NaN fails too
  const auto day = static_cast<std::int64_t>(std::floor(dataDate));
  return civilFromDays(day - kDay1970);
}

std::string formatCount(std::int64_t count) {
  const bool negative = count < 0;
  // Via unsigned so that the most negative value has a magnitude too.
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
  std::string digits = std::to_string(magnitude);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return negative ? "-" + out : out;
}

MonthNames englishMonthAbbreviations() {
  return {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}

MonthNames monthAbbreviationsUtf8(const std::locale& locale) {
  MonthNames names = englishMonthAbbreviations();
  const auto& put = std::use_facet<std::time_put<wchar_t>>(locale);
  for (int m = 0; m < 12; ++m) {
    std::tm tm{};
    tm.tm_mon = m;
    tm.tm_mday = 1;
    tm.tm_year = 109;
    std::wostringstream out;
    out.imbue(locale);
    put.put(std::ostreambuf_iterator<wchar_t>(out), out, L' ', &tm, 'b');
    const std::wstring wide = out.str();
    if (wide.empty()) continue;
    std::string utf8;
    for (wchar_t c : wide) appendUtf8(utf8, static_cast<char32_t>(c));
    names[static_cast<std::size_t>(m)] = std::move(utf8);
  }
  return names;
}

std::string formatDdMmmYy(const CalendarDate& date, const MonthNames& months) {
  auto twoDigits = [](int v) {
    std::string s(2, '0');
    s[0] = static_cast<char>('0' + (v / 10) % 10);
    s[1] = static_cast<char>('0' + v % 10);
    return s;
  };
  const int month = date.month >= 1 && date.month <= 12 ? date.month : 1;
  return twoDigits(date.day) + " " + months[static_cast<std::size_t>(month - 1)] + " " +
         twoDigits(date.year % 100);
}

DataStatistics readDataStatistics(const DictionaryStore& store, const std::string& programDir) {
  DataStatistics stats;
  for (std::size_t i = 0; i < 3; ++i) {
    stats.counts[i] = store.count(static_cast<DataKind>(i));
    stats.dates[i] = readDataDate(programDir + kDataFileNames[i]);
  }
  stats.transcriptions = store.transcriptionCount();
  stats.transcriptionDate = readDataDate(programDir + kTranscriptionFileName);
  return stats;
}

std::string dataStatisticsText(const DataStatistics& stats, const DateFormatter& formatDate,
                               std::string_view lineBreak) {
  static constexpr std::array<std::string_view, 4> kLabels = {
      "English-Indonesian : ", "Indonesian-English : ", "Phrase : ", "Pronunciation : "};
  std::string text;
  for (std::size_t i = 0; i < kLabels.size(); ++i) {
    if (i > 0) text.append(lineBreak);
    const std::optional<double>& when = i < 3 ? stats.dates[i] : stats.transcriptionDate;
    std::string date = "-";
    if (when)
      if (const auto calendar = calendarDateOf(*when)) date = formatDate(*calendar);
    text.append(kLabels[i])
        .append(formatCount(i < 3 ? stats.counts[i] : stats.transcriptions))
        .append(" [")
        .append(date)
        .append("]");
  }
  return text;
}

}  // namespace tavro2
