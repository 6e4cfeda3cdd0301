#pragma once

#include <limits>

#include "flight/q5.h"
#include "qualitychecks.h"

namespace lumo {

// The longest silence of one stream during the ascent, counting up to the
// end of the ascent when the stream stops early.
struct GapTracker {
    double last = 0, longest = 0, at = 0;
    int count = 0;
    bool seen = false;

    void sample(double time);
    void gap(double from, double to);
};

// What the ascent samples of one ozonesonde showed.
struct SondeAscent {
    int samples = 0;
    int atBackground = 0;
    int pumpOut = 0;
    double pumpMin = std::numeric_limits<double>::infinity();
    double pumpMax = -std::numeric_limits<double>::infinity();
    double pumpFirst = 0; // time of the first sample out of range
};

// Everything the quality checks need to know of the flight records,
// gathered one record at a time in list order (visit), within a walk that
// does other things too: on a long flight the list no longer fits the
// caches, and every further walk streams it from memory again.
struct FlightSurvey {
    explicit FlightSurvey(const Q5& q);
    void visit(const RawRecord& r);

    AscentWindow ascent;

    // Without a burst: the lowest pressure (hPa) of the detection mode and
    // its time; infinity when no record has a pressure.
    double topPressure = std::numeric_limits<double>::infinity();
    double topPressureTime = 0;

    // Height (m) of the track: its highest and its last value.
    bool anyHeight = false;
    double topHeight = -std::numeric_limits<double>::infinity();
    double lastHeight = 0, lastHeightTime = 0;

    // PTU, GPS, then the four ozonesondes.
    GapTracker streams[2 + MaxSondes];

    // Ozone samples without a temperature, and the last PTU sample.
    int unplaced = 0;
    double unplacedFirst = 0, unplacedLast = 0, lastPtu = 0;

    // GPS fixes with enough satellites, and PTU samples.
    int fixes = 0, ptu = 0;

    // Records dated earlier than the record before them: how many, and the
    // first one's time and its predecessor's.
    int backwards = 0;
    double backwardsFirst = 0, backwardsFrom = 0;

    // Flight ozone records of each ozonesonde, and its ascent samples.
    int records[MaxSondes] = {};
    SondeAscent sonde[MaxSondes];

    // Ozone records of no configured ozonesonde: how many, the first one's
    // time and chain number.
    int stray = 0;
    double firstStray = 0;
    int strayNum = 0;

private:
    void ptuSample(const RawRecord& r, bool inAscent);
    void gpsSample(const RawRecord& r, bool inAscent);
    void ozoneSample(const RawRecord& r, bool inAscent);
    void height(const RawRecord& r, double h);
    void pressure(const RawRecord& r, double p);

    const Q5& q_;
    const RawRecord* previous_ = nullptr;
};

} // namespace lumo
