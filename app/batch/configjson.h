#pragma once

#include "jsonout.h"

namespace lumo {
struct FlightConfig;
}

namespace lumo::batch {

// The configuration group as read, with the reader's status word, as
// `lumo-batch config` prints it and the Python module's read_config returns it.
Json configJson(const FlightConfig& c, unsigned status);

} // namespace lumo::batch
