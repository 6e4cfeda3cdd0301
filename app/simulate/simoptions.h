#pragma once

#include <cstdint>
#include <string>

#include "cellmodel.h"

namespace lumo::sim {

// Climatological shape of the atmosphere: temperature layers, humidity,
// ozone and winds.
enum class ProfileKind { Tropical, MidLatitude, Polar };

const char* profileName(ProfileKind kind);
// The kind a station latitude suggests (tropics within 25 degrees, polar
// beyond 55 degrees).
ProfileKind profileForLatitude(double lat);

// Each rate is roughly the fraction of telemetry lines a fault kind
// touches; 0 switches it off.
struct FaultRates {
    double duplicate = 0;   // a line logged twice with the same time stamp
    double badPtu = 0;      // PTU packets with a pressure outside 1..1200 hPa
    double badGps = 0;      // GPS fixes without a valid position
    double unknownType = 0; // packets of types the decoder does not know
    double earlyOzone = 0;  // ozone packets logged before the radiosonde starts
    double streamGap = 0;   // one stream silent for a while
    double dropout = 0;     // all telemetry lost for a while

    void setAll(double rate) { duplicate = badPtu = badGps = unknownType = earlyOzone = streamGap = dropout = rate; }
    bool any() const;
};

struct SimOptions {
    std::uint64_t seed = 1;
    int sondes = 1;              // ozonesondes in the chain, 1..4
    double burstKm = 32;         // burst height above sea level, km
    double surfaceMin = 10;      // logged before the separator line, minutes
    double groundSec = 120;      // on the ground after the separator, s
    double durationMin = 0;      // telemetry after the separator, minutes; 0 = until the landing
    bool gps = true;
    bool pressureSensor = true;
    bool gpsVelocities = false;
    bool extendedPtu = false;
    ProfileKind profile = ProfileKind::MidLatitude;

    std::string stationName = "Lumo Sim";
    double stnLat = 46.8;   // degrees north
    double stnLong = 6.95;  // degrees east
    double stnAlt = 490;    // m
    double pressureOffset = 0;    // added to the sea-level pressure, hPa
    double temperatureOffset = 0; // added at the surface, fading out at the tropopause, K

    double ascentRate = 5.0;   // mean ascent rate, m/s
    double landingRate = 5.0;  // parachute descent rate near the ground, m/s
    double ptuPeriod = 1.0;    // s between PTU packets
    double gpsPeriod = 1.0;    // s between GPS fixes
    double ozonePeriod = 1.0;  // s between packets of one ozonesonde
    double auxPeriod = 0;      // s between auxiliary packets of another kind, 0 = none

    int year = 2026, month = 6, day = 15; // date when the surface period starts
    int hour = 10, minute = 30, second = 0;

    FaultRates faults;
    double cutKm = 0;   // telemetry ends when the ascent reaches this height, km (a truncated file); 0 = off
    int deadCell = 0;   // chain position whose cell gives only its background current in flight; 0 = none
    double truthStep = 1.0; // s between profile points in the truth file
    CellOptions cell;       // the cell's chemistry and response; off = the classic equation's current

    // Empty when the options describe a flight that can be simulated,
    // otherwise the reason why not.
    std::string validate() const;
};

} // namespace lumo::sim
