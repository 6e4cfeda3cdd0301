#pragma once

#include <vector>

#include "random.h"
#include "simoptions.h"

namespace lumo::sim {

// Dobson units per nanobar of ozone partial pressure per unit of ln p:
// a column of N molecules/m2 = integral of (pO3 / p) dp / (m_air g), so
// 1 mPa over one unit of ln p holds 1e-3 Pa / (4.8097e-26 kg x 9.80665 m/s2)
// = 2.120e21 molecules/m2 = 7.8907 DU (1 DU = 2.6867e20 molecules/m2).
constexpr double DobsonPerNanobarLnP = 0.78907270;

// True ozone partial pressure as a function of pressure: a climatological
// shape (tropospheric background, stratospheric maximum) for the profile
// kind, drawn after published soundings, scaled and laminated by the seed.
// Above the highest climatological level the mixing ratio falls off through
// the upper stratosphere and mesosphere.
class OzoneProfile {
public:
    OzoneProfile(ProfileKind kind, Random& rng);
    // The climatological shape alone: no scaling, no laminae.
    explicit OzoneProfile(ProfileKind kind);

    double partialPressure(double p) const; // nb at pressure p (hPa)

    // Column between two pressures (pBottom > pTop) and above a pressure,
    // in DU, integrating pO3 over ln p with Simpson's rule in steps of at
    // most 0.001 in ln p. `scale` multiplies the profile (an ozonesonde's
    // response).
    double column(double pBottom, double pTop, double scale = 1.0) const;
    double columnAbove(double p, double scale = 1.0) const;

private:
    struct Level {
        double lnP;
        double lnO3; // ln of the partial pressure in nb
    };
    double base(double p) const;

    std::vector<Level> levels_; // by falling pressure
    double scale_ = 1;
    struct Lamina {
        double centre, width, amplitude; // in ln p
    };
    std::vector<Lamina> laminae_;
};

} // namespace lumo::sim
