#pragma once

#include <vector>

#include "atmosphere.h"
#include "random.h"
#include "simoptions.h"
#include "windprofile.h"

namespace lumo::sim {

// Radius of the sphere the wind processing measures distances on, m.
constexpr double EarthRadius = 6378137.0;

struct FlightState {
    double z = 0;   // m above sea level
    double lat = 0; // degrees
    double lon = 0; // degrees
    double w = 0;   // vertical speed, m/s (positive up)
    Wind wind;      // wind at the balloon
};

// Path of the balloon, second by second, in seconds from the start of the
// surface period: on the ground until the launch, an ascent at about the
// chosen rate with turbulent noise and a slow speed-up in thin air, the
// burst at the chosen height, then a parachute descent that is fast in thin
// air (rate ~ 1/sqrt(density)) and slows towards the landing, or ends
// earlier when the telemetry duration is limited. The balloon drifts with
// the wind at its height.
class Trajectory {
public:
    Trajectory(const SimOptions& options, const Atmosphere& atmosphere, const WindProfile& winds, Random& rng);

    FlightState at(double t) const; // linear between whole seconds

    double separatorTime() const { return separator_; }
    double launchTime() const { return launch_; }
    double burstTime() const { return burst_; }
    double endTime() const { return end_; }

private:
    double separator_ = 0, launch_ = 0, burst_ = 0, end_ = 0;
    std::vector<FlightState> states_; // one per second from t = 0
};

} // namespace lumo::sim
