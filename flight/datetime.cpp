#include "datetime.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>

namespace lumo {

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && isLeap(y)) ? 29 : days[m - 1];
}

// Days from 0001-01-01 to the given date (both proleptic Gregorian).
long long daysFromCivil(int y, int m, int d)
{
    // Howard Hinnant's algorithm, shifted so that March is the first month.
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468; // days since 1970-01-01
}

void civilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long EpochOffsetDays = -25569;

} // namespace

bool isValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

bool encodeDate(int year, int month, int day, double& result)
{
    if (!isValidDate(year, month, day))
        return false;
    result = static_cast<double>(daysFromCivil(year, month, day) - EpochOffsetDays);
    return true;
}

double encodeDateTime(const DateParts& p)
{
    double date = 0, time = 0;
    encodeDate(p.year, p.month, p.day, date);
    encodeTime(p.hour, p.minute, p.second, p.msec, time);
    // Before the epoch the fraction counts forwards from the day's start too.
    return date >= 0 ? date + time : date - time;
}

DateParts decodeDateTime(double dateTime)
{
    DateParts parts;
    if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3.0e6)
        return parts;
    double whole = std::trunc(dateTime);
    double frac = std::fabs(dateTime - whole);
    long long ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000LL) {
        ms -= 86400000LL;
        whole += dateTime >= 0 ? 1 : -1;
    }
    civilFromDays(static_cast<long long>(whole) + EpochOffsetDays, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.msec = static_cast<int>(ms % 1000);
    return parts;
}

double roundToMillisecond(double dateTime)
{
    if (!std::isfinite(dateTime))
        return dateTime;
    return encodeDateTime(decodeDateTime(dateTime));
}

double nowDateTime()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    // std::localtime fills one buffer shared by the whole process, and
    // lumo-batch imports several flights at once.
    static std::mutex sharedBuffer;
    std::tm local;
    {
        const std::lock_guard<std::mutex> lock(sharedBuffer);
        local = *std::localtime(&t);
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    DateParts p{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec < 60 ? local.tm_sec : 59, static_cast<int>(ms)};
    return encodeDateTime(p);
}

double nowUtcDateTime()
{
    // 1970-01-01 is day 25569 after 1899-12-30.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    return 25569.0 + static_cast<double>(ms) / (SecondsPerDay * 1000);
}

} // namespace lumo
