#include "atmosphere.h"

#include <cmath>

#include "flight/q5.h"

namespace lumo {

double satVapourPressure(double t)
{
    return 6.1121 * std::exp(17.502 * t / (t + 240.97));
}

double virtualTemperature(double p, double t, double u)
{
    if (u > 0 && u < 100 && p > 0)
        return (u * satVapourPressure(t) / (p * 100) * 0.37821 + 1) * (t + 273.15);
    return t + 273.15;
}

double hypsometricHeight(double z1, double p1, double t1, double u1, double p2, double t2, double u2)
{
    if (p1 == Missing || !(p1 > 0) || t1 == Missing || u1 == Missing)
        return z1;
    if (p2 == Missing || !(p2 > 0) || t2 == Missing || u2 == Missing)
        return z1;
    const double tv1 = virtualTemperature(p1, t1, u1);
    const double tv2 = virtualTemperature(p2, t2, u2);
    if (tv1 == Missing || tv2 == Missing)
        return z1;
    // A faulty packet's temperature field reaches -327.68 degC, below
    // absolute zero: such a layer gives no height change.
    const double tv = (tv1 + tv2) * 0.5;
    if (!(tv > 0) || !std::isfinite(tv))
        return z1;
    return z1 + std::log(p1 / p2) * HypsometricScale * tv;
}

double hypsometricPressure(double p1, double z1, double t1, double u1, double z2, double t2, double u2)
{
    if (!(p1 > 0) || z2 == z1)
        return p1;
    const double tv = (virtualTemperature(p1, t1, u1) + virtualTemperature(p1, t2, u2)) * 0.5;
    // As above: no pressure change across a layer at or below absolute zero,
    // nor one that would overflow.
    if (!(tv > 0) || !std::isfinite(tv))
        return p1;
    const double p2 = p1 * std::exp((z2 - z1) * (-9.80665) / (287.04 * tv));
    return std::isfinite(p2) ? p2 : p1;
}

} // namespace lumo
