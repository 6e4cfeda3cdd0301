#include "ozoneprofile.h"

#include <algorithm>
#include <cmath>

namespace lumo::sim {

namespace {

struct Point {
    double p;  // hPa
    double o3; // mPa below 7 hPa, else the mixing ratio relative to the one at 7 hPa
};

// Smoothed shapes of real soundings (La Reunion and Ascension for the
// tropics, Boulder for mid-latitudes, Lerwick and Ushuaia for high
// latitudes): partial pressure in mPa from the surface to 7 hPa.
const Point Tropical[] = {{1100, 2.0}, {1000, 2.0}, {850, 2.2}, {700, 2.6}, {500, 3.0}, {400, 2.6}, {300, 1.8},
    {200, 1.3}, {150, 1.2}, {100, 1.2}, {85, 1.5}, {70, 2.8}, {60, 5.0}, {50, 7.5}, {40, 10.2}, {30, 12.5},
    {25, 13.5}, {20, 14.0}, {15, 13.2}, {12, 11.3}, {10, 9.6}, {7, 6.4}};
const Point MidLatitude[] = {{1100, 3.0}, {1000, 3.0}, {850, 3.2}, {700, 3.4}, {500, 3.0}, {400, 2.5},
    {300, 2.0}, {250, 2.3}, {200, 3.5}, {150, 5.5}, {100, 8.5}, {70, 11.5}, {50, 13.5}, {40, 14.0}, {30, 14.0},
    {25, 13.5}, {20, 12.5}, {15, 10.8}, {12, 9.5}, {10, 8.2}, {7, 6.0}};
const Point Polar[] = {{1100, 2.8}, {1000, 2.8}, {850, 3.0}, {700, 2.8}, {500, 2.2}, {400, 2.2}, {300, 3.5},
    {250, 5.0}, {200, 7.5}, {150, 11.0}, {100, 15.0}, {70, 16.0}, {50, 15.5}, {40, 14.5}, {30, 12.5},
    {25, 11.0}, {20, 9.5}, {15, 7.5}, {12, 6.3}, {10, 5.2}, {7, 4.0}};
// Mixing ratio above 7 hPa relative to the one at 7 hPa, near its maximum
// there: the fall through the upper stratosphere and the mesosphere.
const Point Upper[] = {{5, 0.86}, {3, 0.70}, {2, 0.60}, {1, 0.42}, {0.5, 0.30}, {0.3, 0.22}, {0.1, 0.10},
    {0.03, 0.05}, {0.01, 0.025}, {0.001, 0.01}, {0.0001, 0.005}};

} // namespace

OzoneProfile::OzoneProfile(ProfileKind kind)
{
    const Point* shape = MidLatitude;
    std::size_t count = std::size(MidLatitude);
    if (kind == ProfileKind::Tropical) {
        shape = Tropical;
        count = std::size(Tropical);
    } else if (kind == ProfileKind::Polar) {
        shape = Polar;
        count = std::size(Polar);
    }
    for (std::size_t i = 0; i < count; ++i)
        levels_.push_back({std::log(shape[i].p), std::log(shape[i].o3 * 10.0)});
    // Continue as mixing ratio: pO3 = x p, x relative to the value at 7 hPa.
    const double x7 = shape[count - 1].o3 * 10.0 / 7.0;
    for (const auto& u : Upper)
        levels_.push_back({std::log(u.p), std::log(x7 * u.o3 * u.p)});
}

OzoneProfile::OzoneProfile(ProfileKind kind, Random& rng) : OzoneProfile(kind)
{
    scale_ = std::clamp(rng.normal(1.0, 0.06), 0.8, 1.2);
    // Laminae: layers of more or less ozone, mostly near the tropopause and
    // in the lower stratosphere, a broad tropospheric one for pollution.
    const int n = rng.integer(3, 7);
    for (int i = 0; i < n; ++i) {
        Lamina l;
        l.centre = std::log(rng.uniform(25, 450));
        l.width = rng.uniform(0.04, 0.15);
        l.amplitude = rng.uniform(-0.3, 0.35);
        laminae_.push_back(l);
    }
    laminae_.push_back({std::log(rng.uniform(600, 900)), rng.uniform(0.15, 0.35), rng.uniform(-0.2, 0.3)});
}

double OzoneProfile::base(double p) const
{
    const double lp = std::log(p);
    if (lp >= levels_.front().lnP)
        return std::exp(levels_.front().lnO3);
    if (lp <= levels_.back().lnP)
        return std::exp(levels_.back().lnO3 + (lp - levels_.back().lnP)); // constant mixing ratio
    auto it = std::lower_bound(levels_.begin(), levels_.end(), lp, [](const Level& l, double v) { return l.lnP > v; });
    const Level& lo = *(it - 1);
    const Level& hi = *it;
    // Cosine blend of ln pO3 between levels keeps the profile smooth enough
    // for a 1 s sounding while passing through every level.
    const double f = (lo.lnP - lp) / (lo.lnP - hi.lnP);
    const double w = 0.5 - 0.5 * std::cos(f * 3.141592653589793);
    return std::exp(lo.lnO3 + w * (hi.lnO3 - lo.lnO3));
}

double OzoneProfile::partialPressure(double p) const
{
    const double lp = std::log(p);
    double factor = 1;
    for (const auto& l : laminae_) {
        const double d = (lp - l.centre) / l.width;
        factor += l.amplitude * std::exp(-d * d);
    }
    return base(p) * scale_ * std::max(0.2, factor);
}

double OzoneProfile::column(double pBottom, double pTop, double scale) const
{
    if (!(pBottom > pTop) || !(pTop > 0))
        return 0;
    const double a = std::log(pBottom), b = std::log(pTop);
    int n = static_cast<int>(std::ceil((a - b) / 0.001));
    n += n % 2; // Simpson needs an even number of intervals
    const double h = (a - b) / n;
    double sum = partialPressure(pBottom) + partialPressure(pTop);
    for (int i = 1; i < n; ++i)
        sum += (i % 2 ? 4.0 : 2.0) * partialPressure(std::exp(a - i * h));
    return sum * h / 3.0 * DobsonPerNanobarLnP * scale;
}

double OzoneProfile::columnAbove(double p, double scale) const
{
    // Down to 1e-5 hPa; above it the constant mixing ratio adds x p_top,
    // i.e. pO3(p_top) per unit of ln p integrated to zero pressure.
    constexpr double Top = 1e-5;
    if (!(p > Top))
        return 0;
    return column(p, Top, scale) + partialPressure(Top) * DobsonPerNanobarLnP * scale;
}

} // namespace lumo::sim
