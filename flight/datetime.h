#pragma once

namespace lumo {

// Date-times are doubles counting days since 1899-12-30 00:00, the time of
// day being the fraction. A difference times 86400 gives seconds.
constexpr double SecondsPerDay = 86400.0;

struct DateParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, msec = 0;
};

bool isValidDate(int year, int month, int day);
// Inline: the raw decoder converts a time for every line.
inline bool isValidTime(int hour, int minute, int second, int msec)
{
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           msec >= 0 && msec < 1000;
}

// Day number of a calendar date (proleptic Gregorian); false when invalid.
bool encodeDate(int year, int month, int day, double& result);
// Fraction of a day; false when out of range.
inline bool encodeTime(int hour, int minute, int second, int msec, double& result)
{
    if (!isValidTime(hour, minute, second, msec))
        return false;
    result = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
    return true;
}
double encodeDateTime(const DateParts& parts);

// Splits a date-time into its parts, rounding to the nearest millisecond
// first, so 0.99999999 s never shows as a second too few.
DateParts decodeDateTime(double dateTime);

// The date-time rounded to the nearest millisecond.
double roundToMillisecond(double dateTime);

// Local date and time of the machine now.
double nowDateTime();
// The same in UTC.
double nowUtcDateTime();

} // namespace lumo
