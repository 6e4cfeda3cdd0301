#pragma once

#include <vector>

#include "random.h"
#include "simoptions.h"

namespace lumo::sim {

// A standard atmosphere by layers (tropical, mid-latitude or polar flavour)
// with the options' surface offsets and a little seeded structure. Pressure
// and height are tied by integrating the hypsometric relation in 10 m steps
// from sea level, so p(z) and z(p) are exact inverses of each other.
class Atmosphere {
public:
    Atmosphere(const SimOptions& options, Random& rng);

    double temperature(double z) const; // degC at height z (m above sea level)
    double humidity(double z) const;    // %RH over water
    double pressureAt(double z) const;  // hPa
    double heightAt(double p) const;    // m
    // Air density relative to the one at the station.
    double densityRatio(double z) const;

    double stationAltitude() const { return stnAlt_; }
    double surfacePressure() const { return pressureAt(stnAlt_); }
    double surfaceTemperature() const { return temperature(stnAlt_); }
    double surfaceHumidity() const { return humidity(stnAlt_); }
    double tropopauseHeight() const { return tropopause_; }

private:
    struct Layer {
        double base; // m
        double lapse; // K/m
    };
    double layeredTemperature(double z) const;
    double structure(double z, const double (*modes)[3], int count) const;

    std::vector<Layer> layers_;
    double seaLevelT_ = 15;   // degC of the layered profile at sea level
    double tropopause_ = 11000;
    double stnAlt_ = 0;
    double offset_ = 0;
    double rhSurface_ = 70;
    double tModes_[3][3] = {};  // amplitude K, wavelength m, phase
    double uModes_[3][3] = {};  // relative humidity structure
    std::vector<double> lnP_;   // ln p at heights 0, Step, 2 Step, ...
    static constexpr double Step = 10.0;
};

} // namespace lumo::sim
