#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

namespace lumo {

// Buffered text output for the fixed-width export and table files.
//
// Numbers are formatted with std::to_chars, which gives exactly the digits of
// printf's "%.Nf" but never looks at the C locale: the desktop program runs
// under the user's locale, where printf could write a decimal comma. Line
// ends are always CR LF. Each method names the printf conversion it stands for.
class ExportStream {
public:
    explicit ExportStream(std::FILE* file);
    ~ExportStream();
    ExportStream(const ExportStream&) = delete;
    ExportStream& operator=(const ExportStream&) = delete;

    ExportStream& text(std::string_view s);
    ExportStream& endLine();
    ExportStream& line(std::string_view s) { return text(s).endLine(); }
    ExportStream& spaces(int count);
    // "%W.Pf"
    ExportStream& fixed(double value, int width, int precision);
    // "%W.Pf", or W blanks for an unknown value (the missing-value marker):
    // a field the run could not determine is left empty, never 0 or -9999.9.
    ExportStream& known(double value, int width, int precision);
    // "%-W.Pf"
    ExportStream& fixedLeft(double value, int width, int precision);
    // "%Wd"
    ExportStream& integer(long long value, int width);
    // "%0Wd"
    ExportStream& zeroPadded(long long value, int width);

    // Writes what is buffered; false once any write to the file has failed.
    bool flush();

private:
    void makeRoom(std::size_t bytes);
    void put(const char* begin, const char* end, int width, bool leftAlign);

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

} // namespace lumo
