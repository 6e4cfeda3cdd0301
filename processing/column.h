#pragma once

#include <limits>
#include <string>

#include "flight/q5.h"

namespace lumo {

// DU per nanobar and unit of ln p, applied to the sum of the partial
// pressures at both ends of a layer (trapezoid rule in ln p).
constexpr double DobsonPerNbLnP = 0.39453635;

// Pressure (hPa) of an ozone sample: the radiosonde pressure when there is a
// sensor, else the pressure derived from the GPS altitude.
inline double o3SamplePressure(const Q5& q, const RawRecord& r) { return q.rsPrInst ? r.data.o3.p : r.data.o3.gpsP; }

// Surface pressure (hPa) at the bottom of the measured column: the stored
// radiosonde value (without its offset correction) or the standard one.
inline double columnBasePressure(const Q5& q) { return q.rsPrInst ? q.sfcP : q.stdP; }

// The samples of the measured columns, in list order: ozone records of a
// chain slot from launch up to the burst (the burst's own time excluded) whose
// pressure and partial pressure are known, the pressure lower than that of the
// previous sample used; none of an ozonesonde without surface ozone.
// visit(h, prev, prevP, r, p) for each; prev is null for the first sample of
// ozonesonde h, whose layer starts at the surface. The records are handed
// over one at a time, so that a walk can do more than one thing.
template <typename Visit>
class ColumnSamples {
public:
    ColumnSamples(const Q5& q, Visit visit)
        : q_(q), visit_(visit), launchTime_(q.launchRec ? q.launchRec->time : -std::numeric_limits<double>::infinity()),
          // Without a burst the column runs to the end of the flight list.
          burstTime_(q.burstRec ? q.burstRec->time : std::numeric_limits<double>::infinity())
    {
    }

    void visit(const RawRecord& r)
    {
        const int h = r.isOzone() ? r.o3Slot() : -1;
        // Without a surface value the column has no first layer.
        if (h < 0 || r.time < launchTime_ || !(r.time < burstTime_) || q_.sfcO3[h] == Missing)
            return;
        const double p = o3SamplePressure(q_, r);
        // A sample without pressure or partial pressure is no layer boundary.
        if (!(p > 0) || r.data.o3.o3pp == Missing)
            return;
        if (prev_[h] && p >= prevP_[h])
            return; // the balloon sank for a moment
        visit_(h, prev_[h], prevP_[h], r, p);
        prev_[h] = &r;
        prevP_[h] = p;
    }

private:
    const Q5& q_;
    Visit visit_;
    double launchTime_, burstTime_;
    const RawRecord* prev_[MaxSondes] = {};
    double prevP_[MaxSondes] = {};
};

template <typename Visit>
void forEachColumnSample(const Q5& q, Visit visit)
{
    ColumnSamples<Visit> samples(q, visit);
    for (const RawRecord* r = q.fltRecs.first(); r; r = r->next)
        samples.visit(*r);
}

// The measured column (DU) of each ozonesonde and the mixing ratio of its
// highest layer, summed over the column samples (o3Measured, o3TopMix; both
// Missing until a sample comes).
class MeasuredColumnSum {
public:
    explicit MeasuredColumnSum(Q5& q);
    void add(int h, const RawRecord* prev, double prevP, const RawRecord& r, double p);

private:
    Q5& q_;
    double p0_;
};

// Burst pressure (hPa) as the residual uses it; Missing without a burst.
double burstPressure(const Q5& q);

// Measured column (DU) of each ozonesonde from the surface to the burst, and
// the mixing ratio of its highest layer (o3Measured, o3TopMix), in one walk.
void measuredColumns(Q5& q);

// Ozone above burst pressure pb (hPa) for a constant mixing ratio topMix
// (nb/hPa): 0.1 hPa layers, then the last layer down to 0 hPa in closed form.
double cmrResidual(double pb, double topMix);

// Latitude band label of a residual table for latitude lat, e.g. "[30n-40n]".
std::string tozBandLabel(double lat);

// How a residual table lookup ended.
enum class TableResidualStatus { Ok, NoFile, CannotOpen, NoBand, NoRowAbove, BadMonth };

// Residual (DU) above pb from a residual table for the station's latitude band
// and month (1..12); residual is 0 unless the status is Ok.
TableResidualStatus lookUpTableResidual(const std::string& path, double lat, int month, double pb, double& residual);
// The same, true when the lookup gave a residual.
bool tableResidual(const std::string& path, double lat, int month, double pb, double& residual);

// Why a lookup gave no residual, as the end of a sentence.
std::string tableResidualProblem(TableResidualStatus status, const std::string& path, double lat, double pb);

// Measured columns and residuals. A column without any sample, and every
// residual without a burst or whose table lookup failed, is Missing; the
// latter adds a "residual-unknown" warning to q.warnings.
void totalOzone(Q5& q);

// The residuals alone, once the measured columns are known.
void residualColumns(Q5& q);

} // namespace lumo
