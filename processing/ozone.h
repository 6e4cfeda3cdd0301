#pragma once

#include "flight/q5.h"

namespace lumo {

// Cell background current b (uA) referred to the background-table factor at
// the surface pressure ps (hPa).
double bkgAtSurface(const Q5& q, double b, double ps);

// Background-current factor at pressure x (hPa); held at the last row's
// value above the table's top.
double bkgFactor(const Q5& q, double x);

// Pump-efficiency factor at pressure x (hPa); extrapolated from the last two
// rows above the table's top.
double effFactor(const Q5& q, double x);

// Ozone partial pressure (nb) of a sample of the ozonesonde at chain position
// k (1..4) from pressure p (hPa), cell current ic (uA) and pump temperature tp
// (degC); Missing when an input is missing, the position does not exist or the
// result is implausible.
double o3PartialPressure(const Q5& q, double p, double ic, double tp, int k);

// The referred background bkgRef of ozonesondes 1..o3Count from their configured
// background at the corrected saved surface pressure.
void referBackgrounds(Q5& q);

// First-order low-pass filter of the partial pressures, each ozonesonde
// separately, fed the ozone records in list order. Invalid values pass
// untouched; the first valid value of an ozonesonde starts its filter.
class OzoneLowPass {
public:
    explicit OzoneLowPass(double timeConstant) : tau_(timeConstant) {}
    void apply(RawRecord& r);

private:
    double tau_; // s
    double last_[MaxSondes] = {Missing, Missing, Missing, Missing};
    double lastTime_[MaxSondes] = {};
};

// The filter (time constant q.lpFilter, s) over the ozone records from
// `first` on.
void lowPassFilter(const Q5& q, RawRecord* first);

// o3pp of one ozone record at pressure p: Missing for chain positions that
// do not exist.
void computeO3pp(const Q5& q, RawRecord& r, double p);

} // namespace lumo
