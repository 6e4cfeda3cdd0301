#pragma once

#include <cstdio>
#include <string_view>
#include <vector>

namespace lumo {

// Reads a raw telemetry file line by line through one large buffer, the way
// a 500-character line buffer in text mode sees it: a line is cut after 499
// characters (the rest is read as the next line), and a carriage return right
// before the line feed belongs to the line end. No copy is made per line.
class RawLineReader {
public:
    static constexpr std::size_t MaxLineChars = 499;

    explicit RawLineReader(std::FILE* file, std::size_t bufferSize = 1 << 20);

    // The next line without its line end. The view stays valid until the
    // next call. False at the end of the file or after a read error.
    bool next(std::string_view& line);

    // True when the line just returned was the file's last and had no line
    // end: a file whose writing stopped in the middle of a line.
    bool lastLineCut() const { return !lineEnded_ && atEof_ && pos_ == end_; }

    bool failed() const { return failed_; }

private:
    void fill();

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEof_ = false;
    bool failed_ = false;
    bool lineEnded_ = false;
};

} // namespace lumo
