#pragma once

#include <array>
#include <cstddef>

#include "flight/q5.h"

namespace lumo {

// Carries values of one record class onto records of another by linear
// interpolation in time over the flight list. Each target is placed between
// the two latest source samples that bracket it (strictly later current
// sample); targets at or after the last source sample are never placed and
// keep their member. `unplaced` runs for a target each time it cannot be
// placed yet. No record is ever removed.
//
// The list is handed over one record at a time, in list order, so that
// several alignments (and other per-record steps) can share one walk: on a
// long flight every walk streams the whole list from memory.
//
// Source: bool isSource(const RawRecord&), std::array<double, N> value(const RawRecord&)
// Target: bool isTarget(const RawRecord&), void set(RawRecord&, const std::array<double, N>&)
template <std::size_t N, typename IsSource, typename Value, typename IsTarget, typename Set, typename Unplaced>
class TimeAlignment {
public:
    TimeAlignment(IsSource isSource, Value value, IsTarget isTarget, Set set, Unplaced unplaced,
                  const std::array<double, N>& start)
        : isSource_(isSource), value_(value), isTarget_(isTarget), set_(set), unplaced_(unplaced), prevVal_(start),
          curVal_(start)
    {
    }

    // The next record of the list.
    void visit(RawRecord& r)
    {
        if (isSource_(r)) {
            if (r.time > curTime_) {
                prevTime_ = curTime_;
                prevVal_ = curVal_;
                curTime_ = r.time;
                curVal_ = value_(r);
            }
            // Waiting targets can now be bracketed: place again every target
            // from the first waiting one up to here. The sources in between
            // are all older than the current sample and change nothing.
            // Without a bracket yet (every source so far stamped at or before
            // day 0, a damaged date) nothing could be placed: going back then
            // would never end.
            while (pending_ && curTime_ > pending_->time && curTime_ > prevTime_) {
                RawRecord* t = pending_;
                pending_ = nullptr;
                for (; t != &r; t = t->next)
                    if (isTarget_(*t))
                        place(*t);
            }
        }
        if (isTarget_(r))
            place(r);
    }

private:
    void place(RawRecord& r)
    {
        // Before the first source sample both times are 0; a target stamped
        // before 1899-12-30 (a damaged date) must not divide by 0.
        if (curTime_ > r.time && curTime_ > prevTime_) {
            std::array<double, N> v;
            const double f = (r.time - prevTime_);
            for (std::size_t i = 0; i < N; ++i)
                v[i] = prevVal_[i] + f * (curVal_[i] - prevVal_[i]) / (curTime_ - prevTime_);
            set_(r, v);
        } else {
            unplaced_(r);
            if (!pending_)
                pending_ = &r;
        }
    }

    IsSource isSource_;
    Value value_;
    IsTarget isTarget_;
    Set set_;
    Unplaced unplaced_;
    double prevTime_ = 0, curTime_ = 0;
    std::array<double, N> prevVal_, curVal_;
    RawRecord* pending_ = nullptr;
};

// A target that cannot be placed keeps its member.
struct KeepUnplaced {
    void operator()(RawRecord&) const {}
};

template <std::size_t N, typename IsSource, typename Value, typename IsTarget, typename Set, typename Unplaced>
TimeAlignment<N, IsSource, Value, IsTarget, Set, Unplaced> timeAlignment(IsSource isSource, Value value,
                                                                        IsTarget isTarget, Set set,
                                                                        Unplaced unplaced,
                                                                        const std::array<double, N>& start)
{
    return {isSource, value, isTarget, set, unplaced, start};
}

// One alignment in a walk of its own.
template <std::size_t N, typename IsSource, typename Value, typename IsTarget, typename Set, typename Unplaced>
void alignByTime(RecordList<RawRecord>& list, IsSource isSource, Value value, IsTarget isTarget, Set set,
                 Unplaced unplaced, const std::array<double, N>& start)
{
    auto alignment = timeAlignment<N>(isSource, value, isTarget, set, unplaced, start);
    for (RawRecord* r = list.first(); r; r = r->next)
        alignment.visit(*r);
}

template <std::size_t N, typename IsSource, typename Value, typename IsTarget, typename Set>
void alignByTime(RecordList<RawRecord>& list, IsSource isSource, Value value, IsTarget isTarget, Set set,
                 const std::array<double, N>& start)
{
    alignByTime<N>(list, isSource, value, isTarget, set, KeepUnplaced{}, start);
}

} // namespace lumo
