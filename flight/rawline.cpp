#include "rawline.h"

#include <cstring>

#include "datetime.h"

namespace lumo {

namespace {

// Character classes of the line's fields, looked up once per character.
enum CharClass : std::uint8_t { Separator = 1, EndsPacket = 2 };

struct CharClassTable {
    std::uint8_t of[256];
    constexpr CharClassTable() : of()
    {
        for (const char c : {',', ' ', '\t'})
            of[static_cast<unsigned char>(c)] = Separator | EndsPacket;
        // Characters that end the packet field besides the separators.
        for (const char c : {'\r', '\n', '\v', '\f'})
            of[static_cast<unsigned char>(c)] = EndsPacket;
    }
};

constexpr CharClassTable Classes;

bool isFieldSeparator(char c) { return Classes.of[static_cast<unsigned char>(c)] & Separator; }
bool endsPacket(char c) { return Classes.of[static_cast<unsigned char>(c)] & EndsPacket; }

// Reads 1 to `maxDigits` decimal digits at text[i]; false when there is none.
bool readNumber(std::string_view text, std::size_t& i, int maxDigits, int& value)
{
    const std::size_t start = i;
    int v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (static_cast<int>(i - start) >= maxDigits)
            return false;
        v = v * 10 + (text[i] - '0');
        ++i;
    }
    if (i == start)
        return false;
    value = v;
    return true;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

struct HexTable {
    std::int8_t value[256];
    constexpr HexTable() : value()
    {
        for (int i = 0; i < 256; ++i)
            value[i] = -1;
        for (int i = 0; i < 10; ++i)
            value['0' + i] = static_cast<std::int8_t>(i);
        for (int i = 0; i < 6; ++i) {
            value['a' + i] = static_cast<std::int8_t>(10 + i);
            value['A' + i] = static_cast<std::int8_t>(10 + i);
        }
    }
};

constexpr HexTable Hex;

} // namespace

bool parseRawDate(std::string_view text, double& day)
{
    std::size_t i = 0;
    int year = 0, month = 0, dayOfMonth = 0;
    if (!readNumber(text, i, 4, year) || i >= text.size() || text[i++] != '/')
        return false;
    if (!readNumber(text, i, 2, month) || i >= text.size() || text[i++] != '/')
        return false;
    if (!readNumber(text, i, 2, dayOfMonth) || i != text.size())
        return false;
    return encodeDate(year, month, dayOfMonth, day);
}

bool parseRawTime(std::string_view text, double& fraction)
{
    std::size_t i = 0;
    int hour = 0, minute = 0, second = 0, msec = 0;
    if (!readNumber(text, i, 2, hour) || i >= text.size() || text[i++] != ':')
        return false;
    if (!readNumber(text, i, 2, minute))
        return false;
    if (i < text.size() && text[i] == ':') {
        ++i;
        if (!readNumber(text, i, 2, second))
            return false;
        // Milliseconds as a count: ".5" is 5 ms, ".250" is 250 ms.
        if (i < text.size() && text[i] == '.') {
            ++i;
            if (!readNumber(text, i, 3, msec))
                return false;
        }
    }
    if (i < text.size()) {
        if (text.size() - i != 2 || lower(text[i + 1]) != 'm')
            return false;
        const char marker = lower(text[i]);
        if ((marker != 'a' && marker != 'p') || hour > 12)
            return false;
        if (hour == 12)
            hour = 0;
        if (marker == 'p')
            hour += 12;
    }
    return encodeTime(hour, minute, second, msec, fraction);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digits2(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

// "yyyy/mm/dd hh:nn:ss.zzz" followed by a separator, as the ground station
// writes every line: date and time sit at fixed places. No character of this
// pattern is a separator, so the general split finds the same two fields.
bool isStationStamp(std::string_view line)
{
    if (line.size() < 24 || !isFieldSeparator(line[10]) || !isFieldSeparator(line[23]))
        return false;
    const char* p = line.data();
    bool digits = true;
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18, 20, 21, 22})
        digits = digits && isDigit(p[i]);
    return digits && p[4] == '/' && p[7] == '/' && p[13] == ':' && p[16] == ':' && p[19] == '.';
}

bool readDate(std::string_view field, double& day, RawDayCache* cache)
{
    if (cache && cache->valid && field.size() == cache->length &&
        std::memcmp(field.data(), cache->text, field.size()) == 0) {
        day = cache->day;
        return true;
    }
    if (!parseRawDate(field, day))
        return false;
    if (cache && field.size() <= sizeof cache->text) {
        field.copy(cache->text, field.size());
        cache->length = field.size();
        cache->day = day;
        cache->valid = true;
    }
    return true;
}

std::string_view packetField(std::string_view line, std::size_t i)
{
    while (i < line.size() && isFieldSeparator(line[i]))
        ++i;
    const std::size_t packetStart = i;
    // Every character that ends the packet lies at or below ',' (0x2C), hex
    // digits above it: eight characters at a time are passed over while
    // none of them is that low.
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    constexpr std::uint64_t Highs = 0x8080808080808080u;
    while (i + 8 <= line.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, line.data() + i, 8);
        if (((word - Ones * 0x2D) & ~word & Highs) != 0)
            break;
        i += 8;
    }
    while (i < line.size() && !endsPacket(line[i]))
        ++i;
    return line.substr(packetStart, i - packetStart);
}

} // namespace

bool parseRawLine(std::string_view line, double& time, std::string_view& packet, RawDayCache* cache)
{
    double day = 0, fraction = 0;
    std::size_t i = 0;
    if (isStationStamp(line)) {
        const char* t = line.data() + 11;
        const int msec = (t[9] - '0') * 100 + digits2(t + 10);
        if (!readDate(line.substr(0, 10), day, cache) || !encodeTime(digits2(t), digits2(t + 3), digits2(t + 6), msec, fraction))
            return false;
        i = 23;
    } else {
        while (i < line.size() && !isFieldSeparator(line[i]))
            ++i;
        const std::string_view dateField = line.substr(0, i);
        while (i < line.size() && isFieldSeparator(line[i]))
            ++i;
        const std::size_t timeStart = i;
        while (i < line.size() && !isFieldSeparator(line[i]))
            ++i;
        // The time field must end at a comma or blank, not at the line end.
        if (i >= line.size() || i == timeStart)
            return false;
        const std::string_view timeField = line.substr(timeStart, i - timeStart);
        if (!readDate(dateField, day, cache) || !parseRawTime(timeField, fraction))
            return false;
    }
    // Before the epoch the day number is negative and the time counts forwards.
    time = day >= 0 ? day + fraction : day - fraction;
    packet = packetField(line, i);
    return true;
}

void hexToBytes(std::string_view hex, std::uint8_t* bytes)
{
    const std::size_t n = hex.size() / 2;
    for (std::size_t k = 0; k < n; ++k) {
        const int hi = Hex.value[static_cast<unsigned char>(hex[2 * k])];
        const int lo = Hex.value[static_cast<unsigned char>(hex[2 * k + 1])];
        bytes[k] = (hi < 0 || lo < 0) ? 0 : static_cast<std::uint8_t>(hi << 4 | lo);
    }
}

} // namespace lumo
