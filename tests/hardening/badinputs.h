#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/testfiles.h"

namespace lumo::test {

// The classic ways an input file goes bad, each derived from a valid file's
// text so that a reader meets its own format, damaged.
enum class Bad {
    Empty,
    Directory,
    Missing,
    BinaryJunk,
    TruncatedLastLine,
    HugeSingleLine, // 10 MB without a line end
    NulBytes,
    CrOnlyLineEnds,
    Utf8Bom,
};

inline const char* badName(Bad b)
{
    switch (b) {
    case Bad::Empty: return "empty file";
    case Bad::Directory: return "directory";
    case Bad::Missing: return "missing file";
    case Bad::BinaryJunk: return "binary junk";
    case Bad::TruncatedLastLine: return "truncated last line";
    case Bad::HugeSingleLine: return "10 MB single line";
    case Bad::NulBytes: return "NUL bytes";
    case Bad::CrOnlyLineEnds: return "CR-only line ends";
    case Bad::Utf8Bom: return "UTF-8 BOM";
    }
    return "?";
}

inline const std::vector<Bad>& allBadKinds()
{
    static const std::vector<Bad> kinds = {Bad::Empty, Bad::Directory, Bad::Missing, Bad::BinaryJunk,
        Bad::TruncatedLastLine, Bad::HugeSingleLine, Bad::NulBytes, Bad::CrOnlyLineEnds, Bad::Utf8Bom};
    return kinds;
}

// Deterministic bytes that are no text format at all (first byte not a digit).
inline std::string binaryJunk(std::size_t n)
{
    std::string s(n, '\0');
    std::uint32_t x = 2463534242u;
    for (char& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xFF);
    }
    s[0] = '\xFF';
    return s;
}

// Replaces every "\r\n" or "\n" with "\r".
inline std::string crOnly(const std::string& text)
{
    std::string s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        s += text[i] == '\n' ? '\r' : text[i];
    }
    return s;
}

// Writes the damaged variant of `valid` as `name` in `dir` and returns its path.
// `hugeLine` is the content repeated to fill the 10 MB line.
inline std::string makeBad(const TempDir& dir, const std::string& name, Bad kind, const std::string& valid,
                           const std::string& hugeLine = "0123456789ABCDEF")
{
    const std::string path = dir.file(name);
    switch (kind) {
    case Bad::Empty: return dir.write(name, "");
    case Bad::Directory: std::filesystem::create_directory(path); return path;
    case Bad::Missing: return path;
    case Bad::BinaryJunk: return dir.write(name, binaryJunk(4096));
    case Bad::TruncatedLastLine: {
        // Cut the text in the middle of its last line.
        std::string t = valid;
        while (!t.empty() && (t.back() == '\n' || t.back() == '\r'))
            t.pop_back();
        const std::size_t lastStart = t.find_last_of('\n') + 1;
        return dir.write(name, t.substr(0, lastStart + (t.size() - lastStart) / 2));
    }
    case Bad::HugeSingleLine: {
        std::string s;
        s.reserve(10u << 20);
        while (s.size() < (10u << 20))
            s += hugeLine;
        return dir.write(name, s);
    }
    case Bad::NulBytes: {
        // A NUL in the middle of every tenth line.
        std::string s;
        std::size_t lineNo = 0, start = 0;
        while (start < valid.size()) {
            std::size_t end = valid.find('\n', start);
            end = end == std::string::npos ? valid.size() : end + 1;
            std::string line = valid.substr(start, end - start);
            if (lineNo++ % 10 == 3)
                line.insert(line.size() / 2, 1, '\0');
            s += line;
            start = end;
        }
        return dir.write(name, s);
    }
    case Bad::CrOnlyLineEnds: return dir.write(name, crOnly(valid));
    case Bad::Utf8Bom: return dir.write(name, "\xEF\xBB\xBF" + valid);
    }
    return path;
}

} // namespace lumo::test
