#include "properties/file_time.h"

#include <cmath>

namespace txtppt2 {

namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr int64_t kSecondsPerDay = 86400;
// Days from 1601-01-01 to 1970-01-01, and from 1899-12-30 to 1970-01-01.
constexpr int64_t kFileTimeEpochDays = 134774;
constexpr int64_t kOleDateEpochDays = 25569;
constexpr int kLastYear = 9999;
constexpr int kFirstYear = 1601;

// The civil date of a day count from 1970-01-01 (the proleptic Gregorian
// calendar, era by era of 400 years).
void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
  days += 719468;
  int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  int64_t dayOfEra = days - era * 146097;
  int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) /
      365;
  int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 -
                                  yearOfEra / 100);
  int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3
                                             : shiftedMonth - 9);
  year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

// Seconds since 1970-01-01 as ISO text, within the years allowed.
std::optional<std::string> UnixSecondsToIso(int64_t seconds) {
  int64_t days = seconds >= 0 ? seconds / kSecondsPerDay
                              : -((-seconds + kSecondsPerDay - 1) /
                                  kSecondsPerDay);
  int64_t inDay = seconds - days * kSecondsPerDay;
  int64_t year;
  int month, day;
  CivilFromDays(days, year, month, day);
  if (year < kFirstYear || year > kLastYear) return std::nullopt;
  return CalendarTimeToIso(static_cast<int>(year), month, day,
                           static_cast<int>(inDay / 3600),
                           static_cast<int>(inDay / 60 % 60),
                           static_cast<int>(inDay % 60));
}

}  // namespace

std::optional<std::string> FileTimeToIso(uint64_t ticks) {
  if (ticks == 0) return std::nullopt;
  auto seconds = static_cast<int64_t>(ticks / kTicksPerSecond);
  return UnixSecondsToIso(seconds - kFileTimeEpochDays * kSecondsPerDay);
}

std::optional<std::string> OleDateToIso(double days) {
  // Checked before the conversion to an integer, which NaN and huge values
  // would make undefined.
  if (!(days > -150000.0 && days < 3000000.0)) return std::nullopt;
  auto seconds = static_cast<int64_t>(std::llround(days * kSecondsPerDay));
  return UnixSecondsToIso(seconds - kOleDateEpochDays * kSecondsPerDay);
}

std::optional<std::string> CalendarTimeToIso(int year, int month, int day,
                                             int hour, int minute,
                                             int second) {
  if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 ||
      day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59)
    return std::nullopt;
  // Every field is in range, so each has its fixed number of digits.
  std::string text = "0000-00-00T00:00:00Z";
  auto put = [&text](size_t end, int value) {
    for (size_t at = end; value > 0; value /= 10) text[--at] += value % 10;
  };
  put(4, year);
  put(7, month);
  put(10, day);
  put(13, hour);
  put(16, minute);
  put(19, second);
  return text;
}

}  // namespace txtppt2
