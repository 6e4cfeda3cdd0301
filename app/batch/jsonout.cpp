#include "jsonout.h"

#include <charconv>
#include <cmath>

namespace lumo::batch {

namespace {

void appendHexEscape(std::string& out, unsigned code)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\u00";
    out += digits[code >> 4 & 0xF];
    out += digits[code & 0xF];
}

// Length of a valid UTF-8 sequence starting at s[i], or 0.
std::size_t utf8Length(const std::string& s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned c = byte(i);
    std::size_t n = 0;
    unsigned min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    unsigned cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = cp << 6 | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

void appendString(std::string& out, const std::string& s)
{
    out += '"';
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            appendHexEscape(out, c);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t n = utf8Length(s, i)) {
            out.append(s, i, n);
            i += n;
            continue;
        } else {
            appendHexEscape(out, c); // Latin-1
        }
        ++i;
    }
    out += '"';
}

} // namespace

void appendNumber(std::string& out, double value)
{
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

void appendJson(std::string& out, const Json& value)
{
    switch (value.type()) {
    case Json::value_t::object: {
        out += '{';
        bool first = true;
        for (auto it = value.begin(); it != value.end(); ++it) {
            if (!first)
                out += ',';
            first = false;
            appendString(out, it.key());
            out += ':';
            appendJson(out, it.value());
        }
        out += '}';
        break;
    }
    case Json::value_t::array: {
        out += '[';
        bool first = true;
        for (const Json& item : value) {
            if (!first)
                out += ',';
            first = false;
            appendJson(out, item);
        }
        out += ']';
        break;
    }
    case Json::value_t::string:
        appendString(out, value.get_ref<const std::string&>());
        break;
    case Json::value_t::boolean:
        out += value.get<bool>() ? "true" : "false";
        break;
    case Json::value_t::number_integer:
        out += std::to_string(value.get<std::int64_t>());
        break;
    case Json::value_t::number_unsigned:
        out += std::to_string(value.get<std::uint64_t>());
        break;
    case Json::value_t::number_float:
        appendNumber(out, value.get<double>());
        break;
    default: // null, binary, discarded
        out += "null";
        break;
    }
}

std::string toJson(const Json& value)
{
    std::string out;
    appendJson(out, value);
    return out;
}

bool writeJsonLine(std::FILE* out, const Json& value)
{
    std::string line;
    appendJson(line, value);
    line += '\n';
    return std::fwrite(line.data(), 1, line.size(), out) == line.size();
}

} // namespace lumo::batch
