#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "packetencoder.h"

namespace lumo::sim {

// The ground-station computer's clock: milliseconds from the start of the
// surface period turned into calendar date and time of day.
class StationClock {
public:
    StationClock(int year, int month, int day, int hour, int minute, int second);

    // "yyyy/mm/dd hh:nn:ss.zzz"
    void append(std::string& out, long long ms) const;
    // Days since 1899-12-30 as the raw-file reader forms it from the text.
    double dateTime(long long ms) const;
    // Whole seconds of the time of day.
    void timeOfDay(long long ms, int& hour, int& minute, int& second) const;

private:
    long long startDay_ = 0; // day count since 1899-12-30
    long long startMs_ = 0;  // of that day
};

// Builds a raw telemetry file in memory: one line per packet, "date time
// HEX" with CR LF, and the separator line between the surface and the
// flight parts.
class RawFileWriter {
public:
    explicit RawFileWriter(const StationClock& clock) : clock_(clock) {}

    void reserve(std::size_t lines) { text_.reserve(lines * 48); }
    void add(long long ms, const Packet& packet);
    void addSeparator(long long ms);

    const std::string& text() const { return text_; }
    std::string release() { return std::move(text_); }
    std::size_t lineCount() const { return lines_; }
    bool save(const std::string& path) const;

private:
    const StationClock& clock_;
    std::string text_;
    std::size_t lines_ = 0;
};

} // namespace lumo::sim
