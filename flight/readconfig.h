#pragma once

#include <string>

namespace lumo {

struct FlightConfig;

// Problems met while reading a flight configuration, collected as bits.
enum ConfigStatus : unsigned {
    ConfigTableCount = 0x01, // a table's row count is missing or below 1
    ConfigTableRow = 0x04,   // a field of a table row is missing or not a number
    ConfigPumpTable = 0x10,  // marks the pump-efficiency table (0x11, 0x14)
    ConfigSonde = 0x20,      // an ozonesonde entry is invalid
    ConfigValueRange = 0x40, // a single value is beyond 1e6 in magnitude (or read as infinite)
};

// Reads the configuration file into the configuration group and returns the
// status word; 0 means the file describes a usable flight. Every member of the
// group is written, nothing else.
unsigned readFlightConfig(FlightConfig& cfg, const std::string& path);

} // namespace lumo
