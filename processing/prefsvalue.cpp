#include "prefsvalue.h"

#include <charconv>
#include <cmath>

#include "flight/ini.h"
#include "flight/numbertext.h"

namespace lumo {

namespace {

constexpr std::size_t MaxShownChars = 60;

// The text as a message can show it: printable ASCII kept, other bytes as
// \xHH, at most MaxShownChars characters of it.
std::string shown(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < MaxShownChars; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(Hex[c >> 4]);
            out.push_back(Hex[c & 0xF]);
        }
    }
    if (text.size() > MaxShownChars)
        out += "...";
    return out;
}

// Length of the valid UTF-8 sequence at text[i], or 0 when there is none.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
    if (n == 0 || text.size() - i < n)
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2)
            return 0;
    return n;
}

} // namespace

bool isCleanText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = utf8Length(text, i);
        if (c < 0x20 || c == 0x7F || n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string checkedText(std::string_view section, std::string_view key, std::string_view text,
                        FlightWarnings& warnings)
{
    std::string out;
    bool changed = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = utf8Length(text, i);
        if (c < 0x20 || c == 0x7F) {
            out += "\xEF\xBF\xBD";
            changed = true;
            ++i;
        } else if (n == 0) {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
            changed = true;
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    if (changed) {
        std::string used(1, '"');
        used.append(shown(out));
        used.push_back('"');
        warnPrefsValue(warnings, section, key, text, "UTF-8 text without control characters", used);
    }
    return out;
}

std::string shortestNumber(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

void warnPrefsValue(FlightWarnings& warnings, std::string_view section, std::string_view key, std::string_view text,
                    std::string_view expected, std::string_view used)
{
    addWarning(warnings, "prefs-value",
               "The preferences key [" + std::string(section) + "] " + std::string(key) + " holds \"" + shown(text)
                   + "\", which is not " + std::string(expected) + "; " + std::string(used) + " was used.");
}

double prefsNumber(const IniFile& ini, std::string_view section, std::string_view key, double min, double max,
                   double fallback, FlightWarnings& warnings)
{
    const std::string* text = ini.find(section, key);
    if (!text || trimBlanks(*text).empty())
        return fallback;
    double v = 0;
    if (parseNumber(*text, v) && std::isfinite(v) && v >= min && v <= max)
        return v;
    warnPrefsValue(warnings, section, key, *text,
                   "a number from " + shortestNumber(min) + " to " + shortestNumber(max),
                   shortestNumber(fallback) + " (the default)");
    return fallback;
}

int prefsChoice(const IniFile& ini, std::string_view section, std::string_view key,
                std::initializer_list<std::string_view> words, int fallback, FlightWarnings& warnings)
{
    const std::string* text = ini.find(section, key);
    if (!text || trimBlanks(*text).empty())
        return fallback;
    std::string expected;
    int i = 0;
    for (std::string_view w : words) {
        if (equalsNoCase(trimBlanks(*text), w))
            return i;
        expected.append(i == 0 ? "" : i + 1 == static_cast<int>(words.size()) ? " or " : ", ");
        expected.append(w);
        ++i;
    }
    std::string used(words.begin()[fallback]);
    used.append(" (the default)");
    warnPrefsValue(warnings, section, key, *text, expected, used);
    return fallback;
}

} // namespace lumo
