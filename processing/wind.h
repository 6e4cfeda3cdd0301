#pragma once

namespace lumo {

class Q5;
struct RawRecord;

// Geometry of GPS fixes on a spherical earth. Angles in degrees, lengths in m.

// Haversine distance along the sphere; the altitudes are not used.
double greatCircleDistance(double lat1, double lon1, double alt1, double lat2, double lon2, double alt2);

// Initial bearing from point 1 to point 2, [0, 360).
double initialBearing(double lat1, double lon1, double lat2, double lon2);

// Wind between two fixes dt whole seconds apart: speed (m/s) and the
// direction the wind blows from (degrees). Drifts below 0.05 m/s count as calm.
void windFromFixes(int dt, double lat1, double lon1, double alt1, double lat2, double lon2, double alt2, double& ws,
                   double& wd);

// Rebuilds q.windRecs from the GPS fixes at or after the launch record, one
// wind per fix over a baseline of at least 10 s.
void buildWinds(Q5& q);

// The same one record at a time in list order, for a walk that does more
// than one thing; q.windRecs starts empty.
class WindStep {
public:
    explicit WindStep(Q5& q);
    void visit(RawRecord& r);

private:
    Q5& q_;
    double launchTime_ = 0;
    RawRecord* base_ = nullptr;
};

} // namespace lumo
