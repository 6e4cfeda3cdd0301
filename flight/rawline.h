#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumo {

// One line of a raw telemetry file: "date time packet", the fields separated
// by any run of commas and blanks, e.g.
//   2024/05/07 13:02:11.250 00013412108A0138FFA00F3C
// The date is "yyyy/mm/dd"; the time "hh:nn", optionally ":ss" and then
// ".zzz" milliseconds, optionally with an AM/PM marker attached ("01:02:03PM",
// "01:02:03.123pm"; 12 AM is hour 0). The time field must be followed by a
// comma or blank, so a line that ends right after the time is rejected.

// The last date field converted, so that the lines of one day (all but a
// handful of a flight's) convert their date once.
struct RawDayCache {
    char text[10];
    std::size_t length = 0;
    double day = 0;
    bool valid = false;
};

// Splits the line and converts date and time into days since 1899-12-30.
// `packet` is the third field (empty when there is none). False when the date
// or the time cannot be read.
bool parseRawLine(std::string_view line, double& time, std::string_view& packet, RawDayCache* cache = nullptr);

// The date part ("yyyy/mm/dd") as a day number; false when invalid.
bool parseRawDate(std::string_view text, double& day);
// The time part as a fraction of a day; false when invalid.
bool parseRawTime(std::string_view text, double& fraction);

// Converts pairs of hexadecimal digits into bytes: byte n is the n-th pair,
// an odd last digit is ignored and a pair that is not two hexadecimal digits
// gives 0. Writes hex.size() / 2 bytes, which the caller has checked to fit.
void hexToBytes(std::string_view hex, std::uint8_t* bytes);

} // namespace lumo
