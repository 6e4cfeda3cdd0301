#include "archivetext.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "flight/datetime.h"
#include "flight/fixedpoint.h"

namespace lumo {

void appendFixed(std::string& out, double v, int decimals)
{
    const std::size_t at = out.size();
    appendFixedPoint(out, v, decimals);
    // Beyond 64 characters (magnitudes from about 1e58) the value is left
    // out: the field stays empty, as the archive files have always had it.
    if (out.size() - at > 64) {
        out.resize(at);
        return;
    }
    // "-0.00" is written "0.00".
    if (out.size() - at > 1 && out[at] == '-' && out[at + 1] == '0'
        && out.find_first_not_of("0.", at + 1) == std::string::npos)
        out.erase(at, 1);
}

std::string fixedText(double v, int decimals)
{
    std::string s;
    appendFixed(s, v, decimals);
    return s;
}

namespace {

DateParts toSecond(double dateTime)
{
    return decodeDateTime(std::round(dateTime * SecondsPerDay) / SecondsPerDay);
}

} // namespace

std::string isoDate(double dateTime)
{
    const DateParts d = toSecond(dateTime);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string clockTime(double dateTime)
{
    const DateParts d = toSecond(dateTime);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", d.hour, d.minute, d.second);
    return buf;
}

namespace {

bool isUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xe ? 2 : (c >> 3) == 0x1e ? 3 : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) >> 6) != 0x2)
                return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

} // namespace

std::string utf8Text(std::string_view text)
{
    const bool utf8 = isUtf8(text);
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            out += "\xEF\xBF\xBD"; // a control character never reaches a file: U+FFFD
        } else if (c < 0x80 || utf8) {
            out += ch;
        } else {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

std::string csvValue(std::string_view raw)
{
    const std::string text = utf8Text(raw);
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string printableAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c < 0x20 || c > 0x7e)
            c = '?';
    return out;
}

} // namespace lumo

namespace lumo {

std::string fileNamePiece(std::string_view text, bool keepDots)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
            || c == '_' || (keepDots && c == '.');
        if (plain) {
            out.push_back(ch);
            continue;
        }
        out.push_back('%');
        out.push_back(Hex[c >> 4]);
        out.push_back(Hex[c & 0xF]);
    }
    return out;
}

} // namespace lumo
