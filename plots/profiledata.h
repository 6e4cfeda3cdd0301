#pragma once

#include <array>
#include <vector>

#include "flight/q5.h"

namespace lumo {

// The vertical profiles of a processed flight against pressure, as the
// profile view draws them: ozone partial pressure (mPa) and ozone mixing
// ratio (ppmv) of each ozonesonde, air temperature (°C), each split into
// ascent (up to and including the burst record; the whole flight when no
// burst was found) and descent. Samples whose pressure or value is unknown
// (not positive, not finite, the missing-value marker) are left out.
struct ProfilePoint {
    double p;     // hPa
    double value; // in the unit of the series
};

struct ProfileSeries {
    std::vector<ProfilePoint> ascent, descent;
    bool empty() const { return ascent.empty() && descent.empty(); }
};

// A mark of the height scale: the pressure at which the ascent first
// reaches a whole height.
struct HeightMark {
    double p;  // hPa
    double km;
};

struct ProfileData {
    std::array<ProfileSeries, MaxSondes> ozone;       // mPa
    std::array<ProfileSeries, MaxSondes> mixingRatio; // ppmv
    ProfileSeries temperature;                        // °C
    std::vector<HeightMark> heights;
    // The 1-sigma band of each ozonesonde's partial pressure (mPa, P - dP
    // and P + dP) where the uncertainty is known, and the pressures (hPa)
    // of the flight's tropopauses.
    std::array<ProfileSeries, MaxSondes> ozoneLow, ozoneHigh;
    std::vector<double> tropopauses;
    // Each ozonesonde's partial pressure by the classic equation (mPa), kept
    // only where the standard method made the one shown.
    std::array<ProfileSeries, MaxSondes> ozoneClassic;
};

// 1 nb = 0.1 mPa.
constexpr double MilliPascalPerNanobar = 0.1;

// Ozone mixing ratio in ppmv from partial pressure in nb and air pressure in
// hPa: (o3pp * 1e-4 Pa) / (p * 100 Pa) * 1e6 = o3pp / p.
inline double mixingRatioPpmv(double o3ppNb, double pHpa) { return o3ppNb / pHpa; }

ProfileData collectProfile(const Q5& q);

// Whole heights (km) every `stepKm`, placed at the pressure where the ascent
// (pairs of pressure and height in flight order) first reaches them,
// interpolated in the logarithm of pressure.
std::vector<HeightMark> heightMarks(const std::vector<ProfilePoint>& ascentHeightsKm, double stepKm);

} // namespace lumo
