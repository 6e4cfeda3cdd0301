#pragma once

#include <vector>

#include "random.h"
#include "simoptions.h"

namespace lumo::sim {

struct Wind {
    double u = 0; // towards east, m/s
    double v = 0; // towards north, m/s
    double speed() const;
    double direction() const; // where the wind blows from, degrees in [0, 360)
};

// Horizontal wind by height: a climatological profile per kind (trade
// winds and stratospheric easterlies in the tropics, a westerly jet with its
// maximum near the tropopause at mid-latitudes, a polar-night jet growing
// with height at high latitudes), turned, scaled and perturbed by the seed.
class WindProfile {
public:
    WindProfile(ProfileKind kind, double tropopause, Random& rng);
    Wind at(double z) const; // z in m above sea level

private:
    struct Node {
        double z, u, v;
    };
    std::vector<Node> nodes_;
    double turn_ = 0;  // rad
    double scale_ = 1;
    double modes_[4][4] = {}; // u amplitude, v amplitude, wavelength m, phase
};

} // namespace lumo::sim
