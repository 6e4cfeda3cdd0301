#include "rawline.h"

#include <bit>
#include <cstring>

#include "datetime.h"

namespace lumo {

// The word-at-a-time scans below read characters as little-endian words.
static_assert(std::endian::native == std::endian::little);

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

int digits2(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

// Eight characters as one little-endian word: character 0 in the low byte.
std::uint64_t word8(const char* p)
{
    std::uint64_t w = 0;
    std::memcpy(&w, p, 8);
    return w;
}

constexpr std::uint64_t Ones = 0x0101010101010101u;
constexpr std::uint64_t Highs = 0x8080808080808080u;

// A word whose bytes are 0xFF where `pattern` has a '#' and 0 elsewhere.
constexpr std::uint64_t byteMask(const char* pattern, char of)
{
    std::uint64_t m = 0;
    for (int i = 0; i < 8; ++i)
        if (pattern[i] == of)
            m |= std::uint64_t{0xFF} << (8 * i);
    return m;
}

// The word `pattern` spells with its '#' bytes as zero.
constexpr std::uint64_t literalBytes(const char* pattern)
{
    std::uint64_t w = 0;
    for (int i = 0; i < 8; ++i)
        if (pattern[i] != '#' && pattern[i] != '?')
            w |= std::uint64_t(static_cast<unsigned char>(pattern[i])) << (8 * i);
    return w;
}

// True when the word matches the pattern: '#' a decimal digit, '?' any
// character, anything else itself.
template <std::size_t N>
constexpr bool matchesPattern(std::uint64_t w, const char (&pattern)[N])
{
    static_assert(N == 9, "eight characters");
    const std::uint64_t digits = byteMask(pattern, '#');
    const std::uint64_t literal = ~(digits | byteMask(pattern, '?'));
    // y < 10 in every digit byte: adding 0x76 to its low seven bits sets the
    // high bit from 10 on (no carry reaches the next byte), and a byte at or
    // above 0x80 has it set already.
    const std::uint64_t y = w ^ (Ones * '0');
    const bool allDigits = ((((y & ~Highs) + Ones * 0x76) | y) & Highs & digits) == 0;
    return allDigits && (w & literal) == literalBytes(pattern);
}

// "yyyy/mm/dd hh:nn:ss.zzz" followed by a separator, as the ground station
// writes every line: date and time sit at fixed places. No character of this
// pattern is a separator, so the general split finds the same two fields.
bool isStationStamp(std::string_view line)
{
    if (line.size() < 24 || !isFieldSeparator(line[10]) || !isFieldSeparator(line[23]))
        return false;
    const char* p = line.data();
    return matchesPattern(word8(p), "####/##/") && matchesPattern(word8(p + 8), "##?##:##")
        && matchesPattern(word8(p + 16), ":##.###?");
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

// The date of a station stamp: ten characters, compared with the cached
// day as two words instead of through memcmp.
bool readStampDate(const char* p, double& day, RawDayCache* cache)
{
    if (cache && cache->valid && cache->length == 10) {
        std::uint16_t tail = 0, cachedTail = 0;
        std::memcpy(&tail, p + 8, 2);
        std::memcpy(&cachedTail, cache->text + 8, 2);
        if (word8(p) == word8(cache->text) && tail == cachedTail) {
            day = cache->day;
            return true;
        }
    }
    return readDate(std::string_view(p, 10), day, cache);
}

std::string_view packetField(std::string_view line, std::size_t i)
{
    while (i < line.size() && isFieldSeparator(line[i]))
        ++i;
    const std::size_t packetStart = i;
    // Every character that ends the packet lies at or below ',' (0x2C), hex
    // digits above it: eight characters at a time are passed over while
    // none of them is that low.
    while (i + 8 <= line.size()) {
        const std::uint64_t word = word8(line.data() + i);
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
        if (!readStampDate(line.data(), day, cache) || !encodeTime(digits2(t), digits2(t + 3), digits2(t + 6), msec, fraction))
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

namespace {

// Eight hexadecimal characters into four bytes at once; a pair with a
// character that is no hexadecimal digit gives 0, as byte by byte.
std::uint32_t hexWordToBytes(std::uint64_t w)
{
    // Per byte, on its low seven bits (so that no carry reaches the next
    // byte): x + (0x80 - lo) sets the high bit from lo on, x + (0x7F - hi)
    // from above hi. A byte with the high bit set is no digit.
    const auto inRange = [](std::uint64_t x, unsigned lo, unsigned hi) {
        const std::uint64_t low = x & ~Highs;
        return (low + Ones * (0x80 - lo)) & ~(low + Ones * (0x7F - hi)) & ~x & Highs;
    };
    const std::uint64_t lowered = w | Ones * 0x20; // 'A'..'F' to 'a'..'f'
    const std::uint64_t digit = inRange(w, '0', '9');
    const std::uint64_t letter = inRange(lowered, 'a', 'f');
    const std::uint64_t valid = digit | letter;
    // '0'..'9' and 'a'..'f' keep their value in the low nibble, letters 9 less.
    const std::uint64_t nibbles = (lowered & Ones * 0x0F) + (letter >> 7) * 9;
    // Byte 2k gets nibble 2k (high) and 2k+1 (low); odd bytes are dropped.
    const std::uint64_t pairValid = valid & (valid >> 8) & 0x0080008000800080u;
    std::uint64_t pairs = ((nibbles << 4) | (nibbles >> 8)) & ((pairValid >> 7) * 0xFF);
    pairs = (pairs | (pairs >> 8)) & 0x0000FFFF0000FFFFu;
    return static_cast<std::uint32_t>(pairs | (pairs >> 16));
}

} // namespace

void hexToBytes(std::string_view hex, std::uint8_t* bytes)
{
    const std::size_t n = hex.size() / 2;
    std::size_t k = 0;
    for (; 2 * k + 8 <= hex.size(); k += 4) {
        const std::uint32_t four = hexWordToBytes(word8(hex.data() + 2 * k));
        std::memcpy(bytes + k, &four, 4); // little-endian: byte k first
    }
    for (; k < n; ++k) {
        const int hi = Hex.value[static_cast<unsigned char>(hex[2 * k])];
        const int lo = Hex.value[static_cast<unsigned char>(hex[2 * k + 1])];
        bytes[k] = (hi < 0 || lo < 0) ? 0 : static_cast<std::uint8_t>(hi << 4 | lo);
    }
}

} // namespace lumo
