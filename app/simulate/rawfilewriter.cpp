#include "rawfilewriter.h"

#include <cmath>

#include "flight/atomicfile.h"
#include "flight/datetime.h"
#include "numberformat.h"

namespace lumo::sim {

namespace {

constexpr long long MsPerDay = 86400000;

void twoDigits(std::string& out, int v)
{
    out += static_cast<char>('0' + v / 10);
    out += static_cast<char>('0' + v % 10);
}

} // namespace

StationClock::StationClock(int year, int month, int day, int hour, int minute, int second)
{
    double d = 0;
    encodeDate(year, month, day, d);
    startDay_ = static_cast<long long>(d);
    startMs_ = (hour * 3600LL + minute * 60LL + second) * 1000LL;
}

void StationClock::append(std::string& out, long long ms) const
{
    const long long total = startMs_ + ms;
    const long long day = startDay_ + total / MsPerDay;
    long long rest = total % MsPerDay;
    const DateParts date = decodeDateTime(static_cast<double>(day));
    out += std::to_string(date.year);
    out += '/';
    twoDigits(out, date.month);
    out += '/';
    twoDigits(out, date.day);
    out += ' ';
    const int msec = static_cast<int>(rest % 1000);
    rest /= 1000;
    twoDigits(out, static_cast<int>(rest / 3600));
    out += ':';
    twoDigits(out, static_cast<int>(rest / 60 % 60));
    out += ':';
    twoDigits(out, static_cast<int>(rest % 60));
    out += '.';
    out += static_cast<char>('0' + msec / 100);
    twoDigits(out, msec % 100);
}

double StationClock::dateTime(long long ms) const
{
    const long long total = startMs_ + ms;
    const long long day = startDay_ + total / MsPerDay;
    const long long rest = total % MsPerDay;
    double t = 0;
    encodeTime(static_cast<int>(rest / 3600000), static_cast<int>(rest / 60000 % 60),
        static_cast<int>(rest / 1000 % 60), static_cast<int>(rest % 1000), t);
    return static_cast<double>(day) + t;
}

void StationClock::timeOfDay(long long ms, int& hour, int& minute, int& second) const
{
    const long long s = (startMs_ + ms) % MsPerDay / 1000;
    hour = static_cast<int>(s / 3600);
    minute = static_cast<int>(s / 60 % 60);
    second = static_cast<int>(s % 60);
}

void RawFileWriter::add(long long ms, const Packet& packet)
{
    clock_.append(text_, ms);
    text_ += ' ';
    appendHex(text_, packet);
    text_ += "\r\n";
    ++lines_;
}

void RawFileWriter::addSeparator(long long ms)
{
    // A one-byte packet: too short for a packet type, it marks the end of
    // the surface part.
    clock_.append(text_, ms);
    text_ += " 00\r\n";
    ++lines_;
}

bool RawFileWriter::save(const std::string& path) const
{
    return writeFileAtomically(path, text_);
}

} // namespace lumo::sim
