#pragma once

namespace lumo {

class Q5;
struct RawRecord;

// Launch record: the mode record (PTU, or GPS when q.lDetGps) just before the
// first unbroken run of ten ascent rates of at least q.lDetVal; the first
// record of the flight list when there is no such run.
RawRecord* findLaunch(const Q5& q);

// Burst record: in PTU mode the accepted sample before the lowest pressure,
// in GPS mode the fix with the lowest GPS pressure; the walk ends at the
// end-of-flight pressure or altitude. Null when nothing qualifies.
RawRecord* findBurst(const Q5& q);

// The same burst search one record at a time in list order, for a walk
// that does more than one thing; records after the end of the flight are
// passed over.
class BurstSearch {
public:
    explicit BurstSearch(const Q5& q) : q_(q) {}
    void visit(RawRecord& r);
    bool done() const { return done_; }
    RawRecord* burst() const;

private:
    void ptu(RawRecord& r);
    void gps(RawRecord& r);

    const Q5& q_;
    RawRecord* accepted_ = nullptr;
    RawRecord* candidate_ = nullptr;
    bool done_ = false;
};

} // namespace lumo
