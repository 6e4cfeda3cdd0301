#include "rawlinereader.h"

#include <cstring>

namespace lumo {

namespace {

// A full line plus carriage return and line feed.
constexpr std::size_t Lookahead = RawLineReader::MaxLineChars + 2;

} // namespace

RawLineReader::RawLineReader(std::FILE* file, std::size_t bufferSize)
    : file_(file), buffer_(bufferSize < 4 * Lookahead ? 4 * Lookahead : bufferSize)
{
}

// Makes sure that at least Lookahead bytes are buffered from pos_ on, unless
// the file ends before.
void RawLineReader::fill()
{
    if (end_ - pos_ >= Lookahead || atEof_)
        return;
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < Lookahead && !atEof_) {
        const std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        end_ += n;
        if (n == 0) {
            atEof_ = true;
            failed_ = std::ferror(file_) != 0;
        }
    }
}

bool RawLineReader::next(std::string_view& line)
{
    fill();
    if (failed_ || pos_ == end_)
        return false;
    const char* p = buffer_.data() + pos_;
    const std::size_t avail = end_ - pos_;
    const std::size_t window = avail < Lookahead ? avail : Lookahead;
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', window));
    std::size_t take = 0;
    if (lf) {
        const std::size_t i = static_cast<std::size_t>(lf - p);
        std::size_t len = i;
        if (len > 0 && p[len - 1] == '\r')
            --len; // text mode: CR LF is one line end
        if (len < MaxLineChars) {
            line = std::string_view(p, len);
            lineEnded_ = true;
            pos_ += i + 1;
            return true;
        }
        take = MaxLineChars;
    } else {
        take = avail < MaxLineChars ? avail : MaxLineChars;
    }
    line = std::string_view(p, take);
    lineEnded_ = false;
    pos_ += take;
    return true;
}

} // namespace lumo
