#pragma once

#include <array>
#include <cstddef>

#include "flight/q5.h"

namespace lumo {

constexpr int MinSatsForFix = 5; // fixes with fewer satellites give no usable altitude

// Carries values of one record class onto records of another by linear
// interpolation in time over the flight list. Each target is placed between
// the two latest source samples that bracket it (strictly later current
// sample); targets at or after the last source sample are never placed and
// keep their member. `unplaced` runs for a target each time it cannot be
// placed yet. No record is ever removed.
//
// Source: bool isSource(const RawRecord&), std::array<double, N> value(const RawRecord&)
// Target: bool isTarget(const RawRecord&), void set(RawRecord&, const std::array<double, N>&)
template <std::size_t N, typename IsSource, typename Value, typename IsTarget, typename Set, typename Unplaced>
void alignByTime(RecordList<RawRecord>& list, IsSource isSource, Value value, IsTarget isTarget, Set set,
                 Unplaced unplaced, const std::array<double, N>& start)
{
    double prevTime = 0, curTime = 0;
    std::array<double, N> prevVal = start, curVal = start;
    RawRecord* pending = nullptr;
    for (RawRecord* r = list.first(); r; r = r->next) {
        if (isSource(*r)) {
            if (r->time > curTime) {
                prevTime = curTime;
                prevVal = curVal;
                curTime = r->time;
                curVal = value(*r);
            }
            // A waiting target can now be bracketed: go back and walk on from it.
            if (pending && curTime > pending->time) {
                r = pending;
                pending = nullptr;
            }
        }
        if (isTarget(*r)) {
            // Before the first source sample both times are 0; a target
            // stamped before 1899-12-30 (a damaged date) must not divide by 0.
            if (curTime > r->time && curTime > prevTime) {
                std::array<double, N> v;
                const double f = (r->time - prevTime);
                for (std::size_t i = 0; i < N; ++i)
                    v[i] = prevVal[i] + f * (curVal[i] - prevVal[i]) / (curTime - prevTime);
                set(*r, v);
            } else {
                unplaced(*r);
                if (!pending)
                    pending = r;
            }
        }
    }
}

template <std::size_t N, typename IsSource, typename Value, typename IsTarget, typename Set>
void alignByTime(RecordList<RawRecord>& list, IsSource isSource, Value value, IsTarget isTarget, Set set,
                 const std::array<double, N>& start)
{
    alignByTime<N>(list, isSource, value, isTarget, set, [](RawRecord&) {}, start);
}

// Every alignment walk of the flight list in its order,
// with GPS pressures and PTU heights.
void alignStreams(Q5& q);

// GPS pressure of every fix by hypsometric integration from the first fix
// (at the station altitude and the surface pressure); fixes with 4 or fewer
// satellites, or without a temperature, get none (0) and are skipped.
void gpsPressures(Q5& q);

// Height of every PTU record by hypsometric integration from the station.
void ptuHeights(Q5& q);

// PTU and GPS ascent rates (m/s).
void ascentRates(Q5& q);

} // namespace lumo
