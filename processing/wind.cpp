#include "wind.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "flight/datetime.h"
#include "flight/q5.h"

namespace lumo {

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double EarthRadius = 6378137.0; // m
constexpr double MinBaseline = 10.0;      // s
constexpr double CalmSpeed = 0.05;        // m/s

double toRadians(double deg) { return deg * Pi / 180; }

} // namespace

double greatCircleDistance(double lat1, double lon1, double /*alt1*/, double lat2, double lon2, double /*alt2*/)
{
    const double phi1 = toRadians(lat1);
    const double phi2 = toRadians(lat2);
    const double sDLat = std::sin((phi2 - phi1) / 2);
    const double sDLon = std::sin((toRadians(lon2) - toRadians(lon1)) / 2);
    const double a = sDLat * sDLat + std::cos(phi1) * std::cos(phi2) * sDLon * sDLon;
    return std::atan2(std::sqrt(a), std::sqrt(1 - a)) * 2 * EarthRadius;
}

double initialBearing(double lat1, double lon1, double lat2, double lon2)
{
    const double phi1 = toRadians(lat1);
    const double phi2 = toRadians(lat2);
    double bearing;
    if (std::fabs(std::cos(phi1)) > 1e-11) {
        const double dLon = toRadians(lon2) - toRadians(lon1);
        const double y = std::sin(dLon) * std::cos(phi2);
        const double x = std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dLon);
        bearing = (x == 0 && y == 0) ? 0 : std::atan2(y, x);
        bearing = std::fmod(bearing, 2 * Pi);
    } else {
        // Starting at a pole every direction is south (or north).
        bearing = lat1 > 0 ? Pi : 0;
    }
    double deg = bearing * 180 / Pi;
    if (deg < 0)
        deg += 360;
    return deg;
}

void windFromFixes(int dt, double lat1, double lon1, double alt1, double lat2, double lon2, double alt2, double& ws,
                   double& wd)
{
    ws = 0;
    wd = 0;
    if (dt <= 0)
        return;
    ws = greatCircleDistance(lat1, lon1, alt1, lat2, lon2, alt2) / dt;
    if (ws < CalmSpeed) {
        ws = 0;
        return;
    }
    // The balloon moves with the wind; the wind comes from the opposite side.
    wd = std::fmod(initialBearing(lat1, lon1, lat2, lon2) + 180, 360);
}

WindStep::WindStep(Q5& q)
    : q_(q)
{
    q.windRecs.clear();
    if (q.launchRec)
        launchTime_ = q.launchRec->time;
}

void WindStep::visit(RawRecord& r)
{
    if (!q_.launchRec || !r.isGps() || r.time < launchTime_)
        return;
    if (!base_) {
        base_ = &r;
        return;
    }
    const double dt = (r.time - base_->time) * SecondsPerDay;
    if (dt < MinBaseline)
        return;
    WindRecord* w = q_.windRecs.append();
    w->time = (base_->time + r.time) * 0.5;
    w->alt = r.data.gps.alt;
    const GpsData& g1 = base_->data.gps;
    const GpsData& g2 = r.data.gps;
    // Times of a damaged file can lie years apart: keep the whole seconds within int.
    const int seconds = static_cast<int>(std::min(dt, static_cast<double>(std::numeric_limits<int>::max())));
    windFromFixes(seconds, g1.lat, g1.lon, g1.alt, g2.lat, g2.lon, g2.alt, w->ws, w->wd);
    // Overlapping baselines: the base moves on by one fix, whatever its time.
    RawRecord* nextBase = base_->next;
    while (nextBase && !nextBase->isGps())
        nextBase = nextBase->next;
    base_ = nextBase;
}

void buildWinds(Q5& q)
{
    WindStep step(q);
    if (!q.launchRec)
        return;
    for (RawRecord& r : q.fltRecs)
        step.visit(r);
}

} // namespace lumo
