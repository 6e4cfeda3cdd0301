#pragma once

#include <cstdint>
#include <vector>

#include "atmosphere.h"
#include "correctiontables.h"
#include "flightsimulator.h"
#include "ozoneprofile.h"
#include "ozonesonde.h"
#include "rawfilewriter.h"
#include "trajectory.h"

namespace lumo::sim {

// The physical flight the telemetry reports on.
struct FlightModel {
    const SimOptions& options;
    const Atmosphere& atmosphere;
    const OzoneProfile& ozone;
    const Trajectory& trajectory;
    const CorrectionTables& tables;
    const std::vector<OzonesondeSetup>& chain;
    const StationClock& clock;
    double configSurfaceP; // hPa, the surface pressure the configuration gives
};

// Writes every packet of the flight, in time order, with the separator
// line at the end of the surface period and the requested faults, and
// returns what a correct reader keeps of it.
ExpectedCounts generateTelemetry(const FlightModel& model, RawFileWriter& out);

} // namespace lumo::sim
