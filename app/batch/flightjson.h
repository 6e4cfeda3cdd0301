#pragma once

#include <string>

#include "jsonout.h"

namespace lumo {
struct RawRecord;
}

namespace lumo::batch {

struct FlightRun;

// "hh:nn:ss.zzz" of a date-time.
std::string clockText(double time);

// The JSON summary of one flight, as `lumo-batch process --json` prints it
// and the Python module's summary() returns it: unknown values are null.
Json resultJson(const FlightRun& res);

} // namespace lumo::batch
