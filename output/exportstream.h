#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "flight/fixedpoint.h"
#include "flight/missing.h"

namespace lumo {

// Buffered text output for the fixed-width export and table files: a whole
// row is assembled in one buffer that goes to the file in large writes, with
// no allocation per field.
//
// Numbers are written with the fixed-point text of flight/fixedpoint.h,
// exactly the digits of printf's "%.Nf", but never looking at the C locale:
// the desktop program runs under the user's locale, where printf could write
// a decimal comma. Line ends are always CR LF. Each method names the printf
// conversion it stands for.
class ExportStream {
public:
    explicit ExportStream(std::FILE* file);
    ~ExportStream();
    ExportStream(const ExportStream&) = delete;
    ExportStream& operator=(const ExportStream&) = delete;

    ExportStream& text(std::string_view s)
    {
        std::memcpy(room(s.size()), s.data(), s.size());
        used_ += s.size();
        return *this;
    }
    ExportStream& endLine() { return text("\r\n"); }
    ExportStream& line(std::string_view s) { return text(s).endLine(); }
    ExportStream& spaces(int count);
    // "%W.Pf"
    ExportStream& fixed(double value, int width, int precision)
    {
        char* at = room(static_cast<std::size_t>(width > 0 ? width : 0) + FixedPointMaxBytes);
        used_ += static_cast<std::size_t>(writeFixedPointField(at, value, width, precision) - at);
        return *this;
    }
    // "%W.Pf", or W blanks for an unknown value (the missing-value marker):
    // a field the run could not determine is left empty, never 0 or -9999.9.
    ExportStream& known(double value, int width, int precision)
    {
        return value == Missing ? spaces(width) : fixed(value, width, precision);
    }
    // "%-W.Pf"
    ExportStream& fixedLeft(double value, int width, int precision);
    // "%Wd"
    ExportStream& integer(long long value, int width);
    // "%0Wd"
    ExportStream& zeroPadded(long long value, int width);

    // Direct access for pieces written in place: at least `bytes` of room at
    // the returned position; advance() then takes the end of what was put.
    char* room(std::size_t bytes)
    {
        if (used_ + bytes > capacity_)
            spill(bytes);
        return buffer_.get() + used_;
    }
    void advance(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

    // Writes what is buffered; false once any write to the file has failed.
    bool flush();

private:
    void spill(std::size_t bytes);
    void put(const char* begin, const char* end, int width, bool leftAlign);

    std::FILE* file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
    bool failed_ = false;
};

} // namespace lumo
