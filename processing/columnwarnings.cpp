#include "columnwarnings.h"

#include <string_view>

#include "flight/q5.h"

namespace lumo {

namespace {

// Codes whose cause reaches the integrated column. Those about the
// instruments' configuration (GPS fixes, stray chain numbers) and the
// preferences do not.
constexpr std::string_view ColumnCodes[] = {
    "burst-above-10hpa",  "ends-ascending",      "telemetry-gap",    "unplaced-samples",
    "time-order",         "pressure-without-data", "sonde-without-data", "cell-at-background",
    "column-not-positive", "pump-temperature",   "surface-ozone",    "correction-factor-range",
    "residual-unknown",
};

bool concernsColumn(const std::string& code)
{
    for (std::string_view c : ColumnCodes)
        if (code == c)
            return true;
    return false;
}

} // namespace

std::vector<const FlightWarning*> columnWarnings(const Q5& q, int slot)
{
    std::vector<const FlightWarning*> out;
    for (const FlightWarning& w : q.warnings) {
        if (!concernsColumn(w.code))
            continue;
        // A warning of one ozonesonde ("sonde", 1-based) concerns only its column.
        const double sonde = w.value("sonde", 0);
        if (sonde != 0 && sonde != slot + 1)
            continue;
        out.push_back(&w);
    }
    return out;
}

} // namespace lumo
