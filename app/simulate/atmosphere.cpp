#include "atmosphere.h"

#include <algorithm>
#include <cmath>

#include "processing/atmosphere.h"

namespace lumo::sim {

namespace {

constexpr double TopHeight = 80000; // m, top of the height table
constexpr double TwoPi = 6.283185307179586;

} // namespace

Atmosphere::Atmosphere(const SimOptions& o, Random& rng) : stnAlt_(o.stnAlt), offset_(o.temperatureOffset)
{
    // Lapse rates (K/km) by layer, shaped after published soundings: a cold
    // high tropical tropopause, the standard mid-latitude one, a low polar
    // tropopause over a cold lower stratosphere.
    switch (o.profile) {
    case ProfileKind::Tropical:
        seaLevelT_ = 27;
        tropopause_ = 16800;
        layers_ = {{0, -6.3}, {16800, 0}, {18000, 3.5}, {21000, 1.8}, {32000, 2.5}, {47000, 0}, {51000, -2.8}, {71000, -2.0}};
        rhSurface_ = 78;
        break;
    case ProfileKind::Polar:
        seaLevelT_ = 3;
        tropopause_ = 8800;
        layers_ = {{0, -6.5}, {8800, -0.6}, {25000, 1.5}, {32000, 2.5}, {47000, 0}, {51000, -2.8}, {71000, -2.0}};
        rhSurface_ = 76;
        break;
    case ProfileKind::MidLatitude:
        seaLevelT_ = 15;
        tropopause_ = 11000;
        layers_ = {{0, -6.5}, {11000, 0}, {20000, 1.0}, {32000, 2.8}, {47000, 0}, {51000, -2.8}, {71000, -2.0}};
        rhSurface_ = 65;
        break;
    }
    for (auto& l : layers_)
        l.lapse *= 0.001;
    seaLevelT_ += rng.normal(0, 1.5);
    rhSurface_ = std::clamp(rhSurface_ + rng.normal(0, 8), 25.0, 95.0);
    for (auto& m : tModes_) {
        m[0] = rng.uniform(0.3, 1.2);
        m[1] = rng.uniform(1500, 7000);
        m[2] = rng.uniform(0, TwoPi);
    }
    for (auto& m : uModes_) {
        m[0] = rng.uniform(0.05, 0.2);
        m[1] = rng.uniform(800, 4000);
        m[2] = rng.uniform(0, TwoPi);
    }

    // ln p on a 10 m grid from sea level: each step is the hypsometric
    // relation solved for the upper pressure, with the virtual temperature of
    // the upper level taken from a first guess of its pressure.
    const auto n = static_cast<std::size_t>(TopHeight / Step) + 1;
    lnP_.resize(n);
    lnP_[0] = std::log(1013.25 + o.pressureOffset);
    for (std::size_t i = 1; i < n; ++i) {
        const double z1 = (i - 1) * Step, z2 = i * Step;
        const double p1 = std::exp(lnP_[i - 1]);
        const double tv1 = lumo::virtualTemperature(p1, temperature(z1), humidity(z1));
        double p2 = p1 * std::exp(-Step / (HypsometricScale * tv1));
        for (int k = 0; k < 2; ++k) {
            const double tv2 = lumo::virtualTemperature(p2, temperature(z2), humidity(z2));
            p2 = p1 * std::exp(-Step / (HypsometricScale * (tv1 + tv2) * 0.5));
        }
        lnP_[i] = std::log(p2);
    }
}

double Atmosphere::layeredTemperature(double z) const
{
    double t = seaLevelT_;
    for (std::size_t i = 0; i < layers_.size(); ++i) {
        const double top = i + 1 < layers_.size() ? layers_[i + 1].base : 1e9;
        if (z <= layers_[i].base)
            break;
        t += layers_[i].lapse * (std::min(z, top) - layers_[i].base);
    }
    return t;
}

double Atmosphere::structure(double z, const double (*modes)[3], int count) const
{
    double s = 0;
    for (int i = 0; i < count; ++i)
        s += modes[i][0] * std::sin(TwoPi * z / modes[i][1] + modes[i][2]);
    return s;
}

double Atmosphere::temperature(double z) const
{
    // The surface offset fades out linearly up to the tropopause.
    const double depth = std::max(1.0, tropopause_ - stnAlt_);
    const double fade = std::clamp(1.0 - (z - stnAlt_) / depth, 0.0, 1.0);
    return layeredTemperature(z) + offset_ * fade + structure(z, tModes_, 3);
}

double Atmosphere::humidity(double z) const
{
    // Moist boundary layer, drying with height through the troposphere, a
    // few per cent in the stratosphere.
    const double depth = std::max(1.0, tropopause_ - stnAlt_);
    const double f = std::max(0.0, (z - stnAlt_) / depth);
    double rh = f <= 1 ? rhSurface_ * (1.0 - 0.75 * f) : rhSurface_ * 0.25 * std::exp(-(z - tropopause_) / 1500);
    rh *= 1.0 + structure(z, uModes_, 3);
    return std::clamp(rh, 0.5, 99.0);
}

double Atmosphere::pressureAt(double z) const
{
    const double x = std::clamp(z, 0.0, TopHeight) / Step;
    const auto i = std::min(static_cast<std::size_t>(x), lnP_.size() - 2);
    const double f = x - static_cast<double>(i);
    return std::exp(lnP_[i] + f * (lnP_[i + 1] - lnP_[i]));
}

double Atmosphere::heightAt(double p) const
{
    const double lp = std::log(p);
    if (lp >= lnP_.front())
        return 0;
    if (lp <= lnP_.back())
        return TopHeight;
    // lnP_ falls with the index: find the first entry below lp.
    const auto it = std::lower_bound(lnP_.begin(), lnP_.end(), lp, [](double a, double b) { return a > b; });
    const auto i = static_cast<std::size_t>(it - lnP_.begin());
    const double f = (lnP_[i - 1] - lp) / (lnP_[i - 1] - lnP_[i]);
    return (static_cast<double>(i - 1) + f) * Step;
}

double Atmosphere::densityRatio(double z) const
{
    const double rho = pressureAt(z) / (temperature(z) + 273.15);
    return rho / (surfacePressure() / (surfaceTemperature() + 273.15));
}

} // namespace lumo::sim
