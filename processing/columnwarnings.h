#pragma once

#include <vector>

#include "flight/flightwarning.h"

namespace lumo {

class Q5;

// The warnings of the last run that make the column ozone of the ozonesonde
// in `slot` (0-based) doubtful: the flight-wide ones about the ascent (a
// burst short of 10 hPa, a truncated or gapped ascent, samples out of time
// order) and those naming this ozonesonde (dead cell, pump temperature,
// correction factor, missing data). In the order of q.warnings.
std::vector<const FlightWarning*> columnWarnings(const Q5& q, int slot);

} // namespace lumo
