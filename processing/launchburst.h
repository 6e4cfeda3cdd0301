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

// Sets q.launchRec and q.burstRec.
void detectLaunchAndBurst(Q5& q);

} // namespace lumo
