#include "trajectory.h"

#include <algorithm>
#include <cmath>

namespace lumo::sim {

namespace {

constexpr double DegPerRad = 57.29577951308232;
constexpr double MaxDescentRate = 90; // m/s, just after the burst

} // namespace

Trajectory::Trajectory(const SimOptions& o, const Atmosphere& atm, const WindProfile& winds, Random& rng)
{
    separator_ = std::round(o.surfaceMin * 60);
    launch_ = separator_ + std::round(o.groundSec);
    const double burstZ = o.burstKm * 1000;

    FlightState s;
    s.z = o.stnAlt;
    s.lat = o.stnLat;
    s.lon = o.stnLong;
    s.wind = winds.at(s.z);
    for (int t = 0; t < static_cast<int>(launch_); ++t)
        states_.push_back(s);

    // Ascent: turbulence as a first-order autoregressive process with a
    // standard deviation of about 0.5 m/s and a correlation time of ~30 s.
    double turbulence = 0;
    const double rho = 0.967, kick = 0.5 * std::sqrt(1 - rho * rho);
    bool rising = true;
    while (true) {
        s.wind = winds.at(s.z);
        double w = 0;
        if (rising) {
            turbulence = rho * turbulence + kick * rng.normal();
            w = std::max(1.5, o.ascentRate * (1 + 0.1 * (s.z - o.stnAlt) / 30000) + turbulence);
        } else {
            turbulence = rho * turbulence + 0.3 * kick * rng.normal();
            w = -std::min(MaxDescentRate, o.landingRate / std::sqrt(atm.densityRatio(s.z))) * (1 + turbulence * 0.1);
        }
        s.w = w;
        states_.push_back(s);
        // Drift with the wind for one second on the sphere.
        const double latRad = s.lat / DegPerRad;
        s.lat += s.wind.v / EarthRadius * DegPerRad;
        s.lon += s.wind.u / (EarthRadius * std::cos(latRad)) * DegPerRad;
        if (s.lon > 180)
            s.lon -= 360;
        else if (s.lon < -180)
            s.lon += 360;
        s.z += w;
        if (rising && s.z >= burstZ) {
            s.z = burstZ;
            rising = false;
            burst_ = static_cast<double>(states_.size());
        } else if (!rising && s.z <= o.stnAlt) {
            s.z = o.stnAlt;
            s.w = 0;
            s.wind = winds.at(s.z);
            states_.push_back(s);
            break;
        }
    }
    end_ = static_cast<double>(states_.size() - 1);
    // A truncated file: nothing after the ascent reached the cut height, so
    // the highest point of the data stands in for the burst.
    if (o.cutKm > 0) {
        const auto top = std::find_if(states_.begin() + static_cast<std::ptrdiff_t>(launch_), states_.end(),
                                      [&](const FlightState& st) { return st.z >= o.cutKm * 1000; });
        end_ = burst_ = static_cast<double>(top - states_.begin());
        states_.resize(static_cast<std::size_t>(end_) + 1);
        return;
    }
    // Telemetry lost during the descent (the sonde below the station's
    // horizon), though never before the burst.
    if (o.durationMin > 0) {
        end_ = std::min(end_, std::max(burst_ + 60, separator_ + std::round(o.durationMin * 60)));
        states_.resize(static_cast<std::size_t>(end_) + 1);
    }
}

FlightState Trajectory::at(double t) const
{
    if (t <= 0)
        return states_.front();
    if (t >= end_)
        return states_.back();
    const auto i = static_cast<std::size_t>(t);
    const double f = t - static_cast<double>(i);
    const FlightState& a = states_[i];
    const FlightState& b = states_[i + 1];
    FlightState s = a;
    s.z = a.z + f * (b.z - a.z);
    s.lat = a.lat + f * (b.lat - a.lat);
    double dlon = b.lon - a.lon;
    if (dlon > 180)
        dlon -= 360;
    else if (dlon < -180)
        dlon += 360;
    s.lon = a.lon + f * dlon;
    if (s.lon > 180)
        s.lon -= 360;
    else if (s.lon < -180)
        s.lon += 360;
    return s;
}

} // namespace lumo::sim
