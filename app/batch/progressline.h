#pragma once

#include <cstddef>
#include <cstdio>

namespace lumo::batch {

// "12/200 flights, 3 failed" on one line of the error stream, rewritten in
// place as flights finish, when that stream is a terminal; nothing at all
// otherwise, so logs and pipes get the reports alone.
class ProgressLine {
public:
    ProgressLine(std::FILE* stream, std::size_t total);
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine();

    // Takes the line off the screen before the report of a flight is printed
    // (both streams may be the same terminal).
    void hide();
    // Counts one more finished flight and shows the line again.
    void flightDone(bool failed);

private:
    void show();

    std::FILE* stream_;
    bool enabled_;
    bool shown_ = false;
    std::size_t total_;
    std::size_t done_ = 0;
    std::size_t failed_ = 0;
};

} // namespace lumo::batch
