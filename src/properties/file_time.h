// Times of property sets as ISO 8601 UTC text ("2008-08-04T22:27:16Z").
#ifndef TXTPPT2_PROPERTIES_FILE_TIME_H_
#define TXTPPT2_PROPERTIES_FILE_TIME_H_

#include <cstdint>
#include <optional>
#include <string>

namespace txtppt2 {

// A FILETIME: 100-nanosecond ticks since 1601-01-01 UTC, fractions of a
// second dropped. Nothing for 0 (the unset time) and for years past 9999.
std::optional<std::string> FileTimeToIso(uint64_t ticks);

// An OLE DATE: days since 1899-12-30, the fraction the time of day, to the
// nearest second. Nothing outside the years 1601 to 9999 or for NaN.
std::optional<std::string> OleDateToIso(double days);

// A calendar date and time, checked only in its ranges (month 1-12, day
// 1-31, hour 0-23, minute and second 0-59, year 1601-9999); nothing
// outside them. A SYSTEMTIME's fields fit it directly.
std::optional<std::string> CalendarTimeToIso(int year, int month, int day,
                                             int hour, int minute, int second);

}  // namespace txtppt2

#endif  // TXTPPT2_PROPERTIES_FILE_TIME_H_
