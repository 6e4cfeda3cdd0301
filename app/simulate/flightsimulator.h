#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "correctiontables.h"
#include "ozoneprofile.h"
#include "ozonesonde.h"
#include "simoptions.h"

namespace lumo::sim {

constexpr int ChainSize = 4;

// Records a correct raw-file reader keeps, and the lines it must drop.
struct ExpectedCounts {
    std::size_t lines = 0;
    std::size_t surfacePtu = 0, surfaceGps = 0, surfaceAux = 0;
    std::size_t flightPtu = 0, flightGps = 0, flightAux = 0;
    std::size_t surfaceOzone[ChainSize] = {};
    std::size_t flightOzone[ChainSize] = {};
    std::size_t duplicates = 0, invalidPtu = 0, invalidGps = 0, unknownType = 0;
};

enum class Phase { Ground, Ascent, Descent };

// One point of the true profile.
struct TruthPoint {
    double time = 0;        // date-time, days since 1899-12-30
    double p = 0;           // hPa
    double z = 0;           // m
    double t = 0;           // degC
    double u = 0;           // %RH
    double o3[ChainSize] = {}; // nb, as each ozonesonde of the chain senses it
    double windDir = 0;     // degrees, where the wind blows from
    double windSpeed = 0;   // m/s
    Phase phase = Phase::Ground;
};

// Surface values: the true ones, which the configuration also holds.
struct SurfaceValues {
    double p = 0, t = 0, u = 0;
    double o3[ChainSize] = {}; // nb
};

// Everything one simulation produces: the raw file's text, what the
// configuration file says, and the truth.
struct SimulatedFlight {
    SimOptions options;
    CorrectionTables tables;
    std::vector<OzonesondeSetup> chain;
    std::string radiosondeId, probeId;
    SurfaceValues surface;

    double launchTime = 0, burstTime = 0; // date-times
    double burstPressure = 0;             // hPa
    double burstHeight = 0;               // m
    double columnToBurst[ChainSize] = {};    // DU
    double columnAboveBurst[ChainSize] = {}; // DU
    std::vector<TruthPoint> profile;
    OzoneProfile ozone{ProfileKind::MidLatitude}; // the true atmospheric ozone

    ExpectedCounts counts;
    std::string raw;
};

// Runs the simulation; the options must be valid (SimOptions::validate).
SimulatedFlight simulateFlight(const SimOptions& options);

std::string formatConfig(const SimulatedFlight& flight);
std::string formatTruth(const SimulatedFlight& flight);

// Writes BASE.raw, BASE.cfg and BASE.truth.json; on failure `error` says
// which file could not be written.
bool writeFlight(const SimulatedFlight& flight, const std::string& base, std::string& error);

} // namespace lumo::sim
