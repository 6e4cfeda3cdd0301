#pragma once

#include <cstring>
#include <string_view>

#include "exportstream.h"
#include "flight/q5.h"

namespace lumo {

// The text of a fixed-capacity field, safe even without a terminator.
template <std::size_t N>
std::string_view fieldText(const char (&field)[N])
{
    const void* end = std::memchr(field, '\0', N);
    return std::string_view(field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : N);
}

// Which records of the flight list the exports show: all of them when
// `showAll` is set, else those from the launch to the burst, both bounds
// included. Without a burst record the window stays open to the end of the
// list; without a launch record (a failed run) it holds nothing.
class FlightWindow {
public:
    explicit FlightWindow(const Q5& q5);
    bool contains(double time) const { return all_ || (open_ && time >= from_ && (!bounded_ || time <= to_)); }

private:
    bool all_ = false;
    bool open_ = false;
    bool bounded_ = false;
    double from_ = 0;
    double to_ = 0;
};

enum class ExportSection { Surface, Flight };

// The pieces the three body writers build their rows from: the date-time
// field, the PTU, GPS and ozone blocks in their filled and blank layouts, the
// column header lines and the closing launch, burst and total-ozone lines.
class ExportRows {
public:
    ExportRows(const Q5& q5, ExportStream& out) : q5_(q5), out_(out) {}

    void dateTime(double time);

    // PTU block from a PTU record, offset corrections subtracted. The all-data
    // file writes the humidity of blank-pressure layouts with two decimals.
    void ptuFromPtu(const RawRecord& ptu, bool allData);
    // PTU block of an ozone row: the values interpolated onto the ozone
    // record, the battery and internal temperatures of the last PTU record.
    void ptuFromOzone(const RawRecord& ozone, const RawRecord& lastPtu);
    void ptuBlank();

    // GPS fix without the GPS-pressure field.
    void gpsFix(const RawRecord& gps, double altitude);
    // GPS fix of an ozone row: the ozone record's altitude and GPS pressure.
    void gpsFixWithPressure(const RawRecord& gps, const RawRecord& ozone);
    // GPS block of a flight PTU row: only the record's GPS altitude filled.
    void gpsAltitudeOnly(double altitude);
    void gpsBlank(bool withPressure);

    // The N = `o3Count` ozone groups of a row made from an ozone record.
    void ozoneGroups(const RawRecord& ozone);
    void blankGroups();

    void columnHeader(bool allData, ExportSection section);
    void windComponents(const WindRecord& wind);
    void launchBurstAndTotals();

private:
    void ozoneGroup(const RawRecord& ozone);
    void hourMinuteSecond(const char* what, const RawRecord* record);

    const Q5& q5_;
    ExportStream& out_;
};

} // namespace lumo
