#include "exportstream.h"

#include <charconv>
#include <cstring>
#include <memory>

#include "flight/q5.h"

namespace lumo {

namespace {

// Large writes: the kernel's cost per call stays small beside the copying.
constexpr std::size_t BufferBytes = 1 << 20;

} // namespace

// Left uninitialised: a short file touches only the pages it uses.
ExportStream::ExportStream(std::FILE* file)
    : file_(file), buffer_(std::make_unique_for_overwrite<char[]>(BufferBytes)), capacity_(BufferBytes)
{
}

ExportStream::~ExportStream() { flush(); }

bool ExportStream::flush()
{
    if (used_ > 0 && file_) {
        if (std::fwrite(buffer_.get(), 1, used_, file_) != used_)
            failed_ = true;
    }
    used_ = 0;
    if (file_ && std::fflush(file_) != 0)
        failed_ = true;
    return !failed_ && file_ != nullptr;
}

void ExportStream::spill(std::size_t bytes)
{
    if (used_ + bytes > capacity_) {
        if (used_ > 0 && file_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_)
            failed_ = true;
        used_ = 0;
        if (bytes > capacity_) {
            buffer_ = std::make_unique_for_overwrite<char[]>(bytes);
            capacity_ = bytes;
        }
    }
}

ExportStream& ExportStream::spaces(int count)
{
    if (count <= 0)
        return *this;
    const auto n = static_cast<std::size_t>(count);
    std::memset(room(n), ' ', n);
    used_ += n;
    return *this;
}

// Copies a formatted number, padded with spaces to the field width.
void ExportStream::put(const char* begin, const char* end, int width, bool leftAlign)
{
    const auto len = static_cast<std::size_t>(end - begin);
    const std::size_t field = width > 0 && static_cast<std::size_t>(width) > len ? static_cast<std::size_t>(width) : len;
    char* out = room(field);
    const std::size_t pad = field - len;
    if (leftAlign) {
        std::memcpy(out, begin, len);
        std::memset(out + len, ' ', pad);
    } else {
        std::memset(out, ' ', pad);
        std::memcpy(out + pad, begin, len);
    }
    used_ += field;
}

ExportStream& ExportStream::fixedLeft(double value, int width, int precision)
{
    char tmp[FixedPointMaxBytes];
    put(tmp, writeFixedPoint(tmp, value, precision), width, true);
    return *this;
}

ExportStream& ExportStream::integer(long long value, int width)
{
    char tmp[32];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, value);
    put(tmp, r.ptr, width, false);
    return *this;
}

ExportStream& ExportStream::zeroPadded(long long value, int width)
{
    // printf puts the zeros between the sign and the digits: "%03d" of -5 is "-05".
    char tmp[40];
    char* p = tmp;
    unsigned long long magnitude = static_cast<unsigned long long>(value);
    if (value < 0) {
        *p++ = '-';
        magnitude = 0ULL - magnitude;
    }
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, magnitude);
    const auto nDigits = r.ptr - digits;
    for (auto i = (p - tmp) + nDigits; i < width && p < tmp + 16; ++i)
        *p++ = '0';
    std::memcpy(p, digits, static_cast<std::size_t>(nDigits));
    p += nDigits;
    put(tmp, p, 0, false);
    return *this;
}

} // namespace lumo
