// The about box's statistics text: entry count and data date of each of the
// three dictionaries and of the English transcriptions (dataipa.dat).
//
//   English-Indonesian : 12,345 [01 Jan 09]
//   Indonesian-English : 0 [-]
//   Phrase : 987 [01 Jan 09]
//   Pronunciation : 9,876 [01 Jan 09]
//
// Counts are those of the store now (0 for a file not loaded yet); dates come
// from the last 8 bytes of each data file. The date picture is "dd MMM yy"
// with the month abbreviation of the user's locale, so the month names are
// the caller's (a formatter callback); everything else in the text is ASCII
// and the formatter's bytes are passed through unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <locale>
#include <optional>
#include <string>
#include <string_view>

#include "engine/dictionary_store.h"

namespace tavro2 {

struct CalendarDate {
  int year = 1;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  bool operator==(const CalendarDate&) const = default;
};

// The calendar date of a DataDate (day 1 is 1 January of year 1, proleptic
// Gregorian; the fraction is the time of day). Nothing for a value that is no
// date of the years 1 to 9999 (below 1, too large, NaN or infinite).
std::optional<CalendarDate> calendarDateOf(double dataDate);

// Decimal with "," between groups of three digits from the right.
std::string formatCount(std::int64_t count);

// Month abbreviations, January first.
using MonthNames = std::array<std::string, 12>;
MonthNames englishMonthAbbreviations();
// The abbreviations of `locale` ("%b"), encoded as UTF-8; a locale that
// yields nothing for a month falls back to the English name.
MonthNames monthAbbreviationsUtf8(const std::locale& locale);

// "dd MMM yy": two-digit day, month name, two-digit year.
std::string formatDdMmmYy(const CalendarDate& date, const MonthNames& months);

using DateFormatter = std::function<std::string(const CalendarDate&)>;

struct DataStatistics {
  std::array<std::int32_t, 3> counts{};          // indexed by DataKind
  std::array<std::optional<double>, 3> dates{};  // nothing: missing or < 8 bytes
  std::int32_t transcriptions = 0;               // headwords dataipa.dat transcribes
  std::optional<double> transcriptionDate;
};

// Counts from the store and dates from the data files in programDir (which
// ends with a separator).
DataStatistics readDataStatistics(const DictionaryStore& store, const std::string& programDir);

// The four lines joined by lineBreak (the about box uses CR LF). A date that
// is missing or no calendar date shows as "-" between the brackets.
std::string dataStatisticsText(const DataStatistics& stats, const DateFormatter& formatDate,
                               std::string_view lineBreak = "\r\n");

}  // namespace tavro2
