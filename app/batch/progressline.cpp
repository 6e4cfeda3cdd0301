#include "progressline.h"

#include <unistd.h>

namespace lumo::batch {

ProgressLine::ProgressLine(std::FILE* stream, std::size_t total)
    : stream_(stream), enabled_(isatty(fileno(stream)) == 1), total_(total)
{
}

// The last state stays on the screen, ended by a line feed.
ProgressLine::~ProgressLine()
{
    if (shown_)
        std::fputs("\n", stream_);
}

void ProgressLine::hide()
{
    if (!shown_)
        return;
    std::fputs("\r\033[K", stream_); // carriage return, erase to the end of the line
    std::fflush(stream_);
    shown_ = false;
}

void ProgressLine::flightDone(bool failed)
{
    ++done_;
    if (failed)
        ++failed_;
    show();
}

void ProgressLine::show()
{
    if (!enabled_)
        return;
    std::fprintf(stream_, "\r\033[K%zu/%zu flights, %zu failed", done_, total_, failed_);
    std::fflush(stream_);
    shown_ = true;
}

} // namespace lumo::batch
