#include "windprofile.h"

#include <algorithm>
#include <cmath>

namespace lumo::sim {

namespace {

constexpr double Pi = 3.141592653589793;

} // namespace

double Wind::speed() const { return std::hypot(u, v); }

double Wind::direction() const
{
    if (u == 0 && v == 0)
        return 0;
    double d = std::atan2(-u, -v) * 180.0 / Pi;
    if (d < 0)
        d += 360;
    return d >= 360 ? d - 360 : d;
}

WindProfile::WindProfile(ProfileKind kind, double tropopause, Random& rng)
{
    // Heights relative to the tropopause (km) for the jet, absolute above.
    const double zt = tropopause / 1000;
    switch (kind) {
    case ProfileKind::Tropical:
        nodes_ = {{0, -6, 2}, {2, -8, 1}, {5, -4, 0}, {9, 2, 0}, {12, 6, -1}, {zt - 1.5, 3, 0}, {zt + 0.5, -3, 0},
            {20, -8, 0}, {25, -15, 0}, {30, -10, 0}, {35, -5, 0}, {60, 0, 0}};
        break;
    case ProfileKind::Polar:
        nodes_ = {{0, 5, 5}, {1, 9, 5}, {3, 12, 4}, {6, 18, 3}, {zt, 26, 2}, {zt + 3, 20, 2}, {16, 24, 1},
            {20, 32, 0}, {25, 45, 0}, {30, 60, 0}, {35, 70, 0}, {60, 80, 0}};
        break;
    case ProfileKind::MidLatitude:
        nodes_ = {{0, 3, 2}, {1, 6, 3}, {3, 10, 3}, {6, 18, 4}, {zt - 1.5, 26, 4}, {zt, 32, 3}, {zt + 3, 18, 2},
            {18, 8, 1}, {22, 3, 0}, {26, -4, 0}, {30, -9, 0}, {35, -14, 0}, {60, -25, 0}};
        break;
    }
    for (auto& n : nodes_)
        n.z *= 1000;
    std::sort(nodes_.begin(), nodes_.end(), [](const Node& a, const Node& b) { return a.z < b.z; });
    turn_ = rng.uniform(-40, 40) * Pi / 180;
    scale_ = rng.uniform(0.7, 1.3);
    for (auto& m : modes_) {
        m[0] = rng.normal(0, 2.0);
        m[1] = rng.normal(0, 2.0);
        m[2] = rng.uniform(1500, 8000);
        m[3] = rng.uniform(0, 2 * Pi);
    }
}

Wind WindProfile::at(double z) const
{
    const double zc = std::clamp(z, nodes_.front().z, nodes_.back().z);
    auto it = std::upper_bound(nodes_.begin(), nodes_.end(), zc, [](double v, const Node& n) { return v < n.z; });
    if (it == nodes_.end())
        --it;
    if (it == nodes_.begin())
        ++it;
    const Node& a = *(it - 1);
    const Node& b = *it;
    const double f = b.z > a.z ? (zc - a.z) / (b.z - a.z) : 0;
    // Smoothstep between nodes: no kinks in the drift.
    const double w = f * f * (3 - 2 * f);
    double u = a.u + w * (b.u - a.u);
    double v = a.v + w * (b.v - a.v);
    for (const auto& m : modes_) {
        const double s = std::sin(2 * Pi * z / m[2] + m[3]);
        u += m[0] * s;
        v += m[1] * s;
    }
    Wind out;
    out.u = scale_ * (u * std::cos(turn_) - v * std::sin(turn_));
    out.v = scale_ * (u * std::sin(turn_) + v * std::cos(turn_));
    return out;
}

} // namespace lumo::sim
