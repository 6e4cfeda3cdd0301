#pragma once

#include "flight/q5.h"
#include "timealignment.h"

namespace lumo {

constexpr int MinSatsForFix = 5; // fixes with fewer satellites give no usable altitude

// Every member a run derives of one record back to unknown: what the time
// alignment cannot place (samples after the last sample of their source
// stream) stays Missing, never a plausible-looking 0. Rates start at 0 and
// a GPS fix without a derived pressure has gpsP 0.
void clearDerived(const Q5& q, RawRecord& r);

// Every alignment of the flight list, with GPS pressures and PTU heights,
// in two walks: the second needs the temperatures at the GPS fixes and the
// PTU heights of the first at every record, also at those still ahead. The
// first walk starts every record afresh (clearDerived).
void alignStreams(Q5& q);

// GPS pressure of every fix by hypsometric integration from the first fix
// (at the station altitude and the surface pressure); fixes with 4 or fewer
// satellites, or without a temperature, get none (0) and are skipped.
void gpsPressures(Q5& q);

// Height of every PTU record by hypsometric integration from the station.
void ptuHeights(Q5& q);

// PTU and GPS ascent rates (m/s).
void ascentRates(Q5& q);

// The same three, one record at a time in list order, for walks that do
// more than one thing.
class GpsPressureStep {
public:
    explicit GpsPressureStep(const Q5& q) : q_(q) {}
    void visit(RawRecord& r);

private:
    const Q5& q_;
    const RawRecord* good_ = nullptr;
};

class PtuHeightStep {
public:
    explicit PtuHeightStep(const Q5& q) : q_(q) {}
    void visit(RawRecord& r);

private:
    const Q5& q_;
    const RawRecord* prev_ = nullptr;
};

class AscentRateStep {
public:
    explicit AscentRateStep(const Q5& q) : q_(q) {}
    void visit(RawRecord& r);

private:
    const Q5& q_;
    const RawRecord* prevPtu_ = nullptr;
    const RawRecord* prevGps_ = nullptr;
};

} // namespace lumo
