#include "ini.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "atomicfile.h"
#include "numbertext.h"

namespace lumo {

namespace {

// One line of the file: its text and the line end that followed it ("\r\n",
// "\n", "\r", or empty for a last line without one).
struct Line {
    std::string_view text;
    std::string_view end;
};

std::vector<Line> splitLines(std::string_view data)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t i = start;
        while (i < data.size() && data[i] != '\n' && data[i] != '\r')
            ++i;
        std::size_t endLen = 0;
        if (i < data.size())
            endLen = (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ? 2 : 1;
        lines.push_back({data.substr(start, i - start), data.substr(i, endLen)});
        start = i + endLen;
    }
    return lines;
}

enum class FileState { Read, Missing, Unreadable };

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Reads the file into `data`; a UTF-8 byte-order mark is removed and reported
// in `hadBom`.
FileState readWholeFile(const std::string& path, std::string& data, bool& hadBom)
{
    data.clear();
    hadBom = false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return errno == ENOENT ? FileState::Missing : FileState::Unreadable;
    char chunk[65536];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        data.append(chunk, n);
    // A directory opens but fails on reading.
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        data.clear();
        return FileState::Unreadable;
    }
    // Editors on Windows start UTF-8 files with a byte-order mark; left in
    // place it would hide the first section header.
    if (data.compare(0, Utf8Bom.size(), Utf8Bom) == 0) {
        data.erase(0, Utf8Bom.size());
        hadBom = true;
    }
    return FileState::Read;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

ParsedLine parseLine(std::string_view text)
{
    ParsedLine p;
    const std::string_view t = trimBlanks(text);
    if (t.empty() || t[0] == ';')
        return p;
    if (t[0] == '[') {
        const std::size_t close = t.find(']', 1);
        p.kind = LineKind::Section;
        p.name = trimBlanks(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return p;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return p;
    p.name = trimBlanks(t.substr(0, eq));
    if (p.name.empty())
        return p;
    p.kind = LineKind::Entry;
    std::string_view v = trimBlanks(t.substr(eq + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    p.value = v;
    return p;
}

// Where a section and a key stand in the file's lines.
struct Location {
    std::size_t section = SIZE_MAX;  // line of the first matching section header
    std::size_t key = SIZE_MAX;      // line of the first matching key in it
    std::size_t lastEntry = SIZE_MAX; // last non-blank line of that section
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key)
{
    Location loc;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine p = parseLine(lines[i].text);
        if (p.kind == LineKind::Section) {
            if (loc.section != SIZE_MAX)
                break; // the first matching section ends here
            if (sameName(p.name, section)) {
                loc.section = i;
                loc.lastEntry = i;
            }
            continue;
        }
        if (loc.section == SIZE_MAX)
            continue;
        if (!trimBlanks(lines[i].text).empty())
            loc.lastEntry = i;
        if (p.kind == LineKind::Entry && loc.key == SIZE_MAX && sameName(p.name, key))
            loc.key = i;
    }
    return loc;
}

// A value cannot span lines; line breaks in it become blanks.
std::string singleLine(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

} // namespace

IniFile::IniFile(const std::string& path)
{
    std::string data;
    bool hadBom = false;
    if (readWholeFile(path, data, hadBom) != FileState::Read)
        return;
    Section* current = nullptr;
    for (const Line& line : splitLines(data)) {
        const ParsedLine p = parseLine(line.text);
        if (p.kind == LineKind::Section) {
            current = nullptr;
            bool seen = false;
            for (const Section& s : sections_)
                seen = seen || sameName(s.name, p.name);
            if (!seen) {
                sections_.push_back({std::string(p.name), {}});
                current = &sections_.back();
            }
        } else if (p.kind == LineKind::Entry && current) {
            bool seen = false;
            for (const Entry& e : current->entries)
                seen = seen || sameName(e.key, p.name);
            if (!seen)
                current->entries.push_back({std::string(p.name), std::string(p.value)});
        }
    }
}

const std::string* IniFile::find(std::string_view section, std::string_view key) const
{
    for (const Section& s : sections_) {
        if (!sameName(s.name, section))
            continue;
        for (const Entry& e : s.entries)
            if (sameName(e.key, key))
                return &e.value;
        return nullptr;
    }
    return nullptr;
}

std::string IniReadText(std::string_view section, std::string_view key, std::string_view def, const IniFile& ini)
{
    const std::string* value = ini.find(section, key);
    return value ? *value : std::string(def);
}

std::string IniReadText(std::string_view section, std::string_view key, std::string_view def,
                        const std::string& file)
{
    return IniReadText(section, key, def, IniFile(file));
}

std::size_t IniReadText(std::string_view section, std::string_view key, std::string_view def, char* buffer,
                        std::size_t size, const IniFile& ini)
{
    if (!buffer || size == 0)
        return 0;
    const std::string* found = ini.find(section, key);
    const std::string_view value = found ? std::string_view(*found) : def;
    const std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
    if (n > 0)
        std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return n;
}

std::size_t IniReadText(std::string_view section, std::string_view key, std::string_view def, char* buffer,
                        std::size_t size, const std::string& file)
{
    return IniReadText(section, key, def, buffer, size, IniFile(file));
}

int IniReadInt(std::string_view section, std::string_view key, int def, const IniFile& ini)
{
    const std::string* value = ini.find(section, key);
    if (!value || value->empty())
        return def;
    int result = 0;
    return leadingInteger(*value, result) ? result : 0;
}

int IniReadInt(std::string_view section, std::string_view key, int def, const std::string& file)
{
    return IniReadInt(section, key, def, IniFile(file));
}

double IniReadNumber(std::string_view section, std::string_view key, double def, const IniFile& ini)
{
    char text[132];
    if (IniReadText(section, key, "", text, ini) == 0)
        return def;
    return leadingNumber(text);
}

double IniReadNumber(std::string_view section, std::string_view key, double def, const std::string& file)
{
    return IniReadNumber(section, key, def, IniFile(file));
}

bool IniWriteText(std::string_view section, std::string_view key, std::string_view text,
                  const std::string& file)
{
    std::string data;
    bool hadBom = false;
    if (readWholeFile(file, data, hadBom) == FileState::Unreadable)
        return false;
    const std::vector<Line> lines = splitLines(data);
    std::string_view eol = "\r\n"; // new files get the usual text-file line ends
    for (const Line& l : lines) {
        if (!l.end.empty()) {
            eol = l.end;
            break;
        }
    }
    const Location loc = locate(lines, section, key);
    const std::string value = singleLine(text);

    std::string out(hadBom ? Utf8Bom : std::string_view());
    out.reserve(data.size() + key.size() + value.size() + section.size() + 8);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == loc.key) {
            // Keep the key's own spelling and the line's indentation.
            const std::string_view t = lines[i].text;
            const std::size_t nameStart = t.find_first_not_of(" \t");
            const std::size_t eq = t.find('=');
            out.append(t.substr(0, nameStart));
            out.append(trimBlanks(t.substr(nameStart, eq - nameStart)));
            out += '=';
            out += value;
            out.append(lines[i].end);
            continue;
        }
        out.append(lines[i].text);
        out.append(lines[i].end);
        if (loc.key == SIZE_MAX && i == loc.lastEntry) {
            if (lines[i].end.empty())
                out.append(eol);
            out.append(key);
            out += '=';
            out += value;
            out.append(eol);
        }
    }
    if (loc.section == SIZE_MAX) {
        if (!lines.empty() && lines.back().end.empty())
            out.append(eol);
        out += '[';
        out.append(section);
        out += ']';
        out.append(eol);
        out.append(key);
        out += '=';
        out += value;
        out.append(eol);
    }
    return writeFileAtomically(file, out);
}

bool IniWriteNumber(std::string_view section, std::string_view key, const char* format, float value,
                    const std::string& file)
{
    std::string text = formatNumbers(format, {static_cast<double>(value)});
    if (text.size() > 131)
        text.resize(131);
    return IniWriteText(section, key, text, file);
}

} // namespace lumo
