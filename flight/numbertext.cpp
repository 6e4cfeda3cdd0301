#include "numbertext.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace lumo {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Parses a decimal number at the start of `text` (after an optional sign);
// returns the number of characters used, 0 when there is none.
std::size_t scanNumber(std::string_view text, double& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars would also take "inf" and "nan"; a decimal number starts
    // with a digit or with "." and a digit.
    const bool startsNumber = i < text.size() && (isDigit(text[i]) ||
        (text[i] == '.' && i + 1 < text.size() && isDigit(text[i + 1])));
    if (!startsNumber)
        return 0;
    double v = 0;
    const char* begin = text.data() + i;
    const auto [ptr, ec] = std::from_chars(begin, text.data() + text.size(), v, std::chars_format::general);
    if (ptr == begin)
        return 0;
    // Out of range: from_chars leaves v alone; atof would give +-HUGE_VAL or 0.
    if (ec == std::errc::result_out_of_range) {
        // Decide by the exponent's sign whether the value over- or underflowed.
        std::string_view digits(begin, static_cast<std::size_t>(ptr - begin));
        const auto e = digits.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        v = tiny ? 0.0 : HUGE_VAL;
    }
    value = negative ? -v : v;
    return static_cast<std::size_t>(ptr - text.data());
}

} // namespace

std::string_view trimBlanks(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    double value = 0;
    return scanNumber(text.substr(i), value) > 0 ? value : 0.0;
}

bool parseNumber(std::string_view text, double& value)
{
    text = trimBlanks(text);
    double v = 0;
    if (text.empty() || scanNumber(text, v) != text.size())
        return false;
    value = v;
    return true;
}

bool leadingInteger(std::string_view text, int& value)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !isDigit(text[i]))
        return false;
    long long v = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (v < static_cast<long long>(INT_MAX) + 1)
            v = v * 10 + (text[i] - '0');
    }
    if (negative)
        v = -v;
    value = v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
    return true;
}

std::string formatFixed(double value, int decimals)
{
    char buf[512]; // 309 digits of the largest double, the point and up to 100 decimals
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals < 0 ? 0 : decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

std::string formatNumbers(std::string_view format, std::initializer_list<double> values)
{
    std::string out;
    const double* next = values.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        std::size_t j = i + 1;
        int width = 0, precision = 6;
        for (; j < format.size() && isDigit(format[j]) && width < 1000; ++j)
            width = width * 10 + (format[j] - '0');
        if (j < format.size() && format[j] == '.') {
            precision = 0;
            for (++j; j < format.size() && isDigit(format[j]) && precision < 100; ++j)
                precision = precision * 10 + (format[j] - '0');
        }
        if (j >= format.size() || format[j] != 'f' || next == values.end()) {
            out += format[i++];
            continue;
        }
        const std::string number = formatFixed(*next++, precision);
        if (number.size() < static_cast<std::size_t>(width))
            out.append(static_cast<std::size_t>(width) - number.size(), ' ');
        out += number;
        i = j + 1;
    }
    return out;
}

std::string lowerCase(std::string_view text)
{
    std::string s(trimBlanks(text));
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

} // namespace lumo
