#pragma once

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace lumo {

class Q5;

// An unknown value of an archive level: each format writes its own null.
inline constexpr double Unknown = std::numeric_limits<double>::quiet_NaN();
inline bool known(double v) { return std::isfinite(v); }

// One level of an archived profile: one ozone record of one ozonesonde whose
// pressure is known.
struct ArchiveLevel {
    double duration = Unknown;    // s after launch (negative before it)
    double pressure = Unknown;    // hPa: radiosonde, or GPS-derived without the sensor
    double o3pp = Unknown;        // ozone partial pressure, mPa
    double o3ppUnc = Unknown;     // its 1-sigma uncertainty, mPa
    // mPa, the classic equation's partial pressure, kept beside o3pp when the
    // standard method made o3pp; unknown otherwise
    double o3ppClassic = Unknown;
    double o3Mix = Unknown;       // ozone mixing ratio, ppmv
    double temperature = Unknown; // degC
    double humidity = Unknown;    // %
    double gph = Unknown;         // geopotential height, m
    double lat = Unknown, lon = Unknown, gpsAlt = Unknown; // GPS, degrees and m
    double windSpeed = Unknown;   // m/s
    double windDir = Unknown;     // deg, the direction the wind blows from
    double pumpTemp = Unknown;    // degC
    double cellCurrent = Unknown; // uA, as received
    double pumpCurrent = Unknown; // mA
    double battery = Unknown;     // V
    int levelCode = 0;            // 0 none, 1 standard level, 2 significant (surface, tropopause), 3 both
};

// How the processing run subtracted the cell background: not at all (no
// background, or a table of zero factors), the same current at every level,
// or scaled with pressure by a background table whose factors vary.
enum class Background { None, Constant, PressureDependent };

// What the archive files say about one ozonesonde of the flight.
struct ArchiveSonde {
    int slot = 0; // chain position - 1
    std::string sn;
    std::string model; // as configured, else from the serial's prefix (6A..., 5A..., 2Z...); empty when neither says
    bool standardMethod = false; // o3pp by the standard method: the levels keep the classic value beside it
    double launchTime = 0; // date-time, UTC
    std::vector<ArchiveLevel> prelaunch; // before launch, negative durations
    std::vector<ArchiveLevel> ascent;    // launch to burst (without a burst: to the last level)
    std::vector<ArchiveLevel> descent;   // after burst
    double measured = Unknown;      // DU, surface to burst, as the processing reports it
    double residual = Unknown;      // DU, above burst
    double total = Unknown;         // DU
    double measuredUnc = Unknown, residualUnc = Unknown, totalUnc = Unknown; // DU, 1 sigma
    // Reference total ozone over the sonde's total; reported, never applied.
    double correctionFactor = Unknown;
    double tropopausePressure = Unknown; // hPa, the first WMO tropopause when confirmed
    bool residualByTable = false;   // residual method: table (else constant mixing ratio)
    double burstPressure = Unknown; // hPa; unknown without a burst
    double burstO3pp = Unknown;     // mPa, ozone partial pressure at the burst; unknown without one
    double flowRate = Unknown;      // s per 100 ml
    double background = Unknown;    // uA, referred to the surface
    Background backgroundApplied = Background::None;
};

struct ArchiveProfile {
    std::string error; // why no archive file can be written; empty when fine
    std::vector<ArchiveSonde> sondes; // every ozonesonde with a serial number, in chain order
};

// The ozonesonde's model: the configuration's, else the serial's prefix
// (6A28340 -> 6A, 2Z12345 -> 2Z); empty when neither gives it.
struct O3SondeCfg;
std::string sondeModel(const O3SondeCfg& cfg);

// The archive profiles of the flight as the last processing run left it.
// Without a launch there is no time after launch: the error says so.
ArchiveProfile buildArchiveProfile(const Q5& q);

// Geopotential height (m) of a geometric altitude z (m) over a spherical
// Earth with standard gravity.
double geopotentialHeight(double z);

} // namespace lumo
