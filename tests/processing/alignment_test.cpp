#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include "processing/alignment.h"
#include "processing/atmosphere.h"
#include "records.h"

namespace lumo {
namespace {

using test::addGps;
using test::addOzone;
using test::addPtu;
using test::at;

// Walk (d): PTU pressure onto ozone records, start value 1000.
void alignPressure(RecordList<RawRecord>& l, double start = 1000)
{
    alignByTime<1>(
        l, [](const RawRecord& r) { return r.isPtu(); },
        [](const RawRecord& r) { return std::array<double, 1>{r.data.ptu.p}; },
        [](const RawRecord& r) { return r.isOzone(); },
        [](RawRecord& r, const std::array<double, 1>& v) { r.data.o3.p = v[0]; }, std::array<double, 1>{start});
}

double lerp(double t, double t0, double v0, double t1, double v1) { return v0 + (t - t0) * (v1 - v0) / (t1 - t0); }

TEST(AlignByTime, InterpolatesBetweenBracketingSamples)
{
    RecordList<RawRecord> l;
    addPtu(l, 10, 900, 0, 0);
    RawRecord* o1 = addOzone(l, 15, 1, 0);
    RawRecord* o2 = addOzone(l, 18, 1, 0);
    addPtu(l, 20, 800, 0, 0);
    RawRecord* o3 = addOzone(l, 22, 1, 0);
    addPtu(l, 30, 700, 0, 0);
    alignPressure(l);
    EXPECT_DOUBLE_EQ(o1->data.o3.p, lerp(at(15), at(10), 900, at(20), 800));
    EXPECT_NEAR(o1->data.o3.p, 850, 1e-4);
    EXPECT_NEAR(o2->data.o3.p, 820, 1e-4);
    EXPECT_NEAR(o3->data.o3.p, 780, 1e-4);
}

TEST(AlignByTime, TargetAtSourceTimeTakesThatSampleOnceNextArrives)
{
    RecordList<RawRecord> l;
    addPtu(l, 10, 900, 0, 0);
    RawRecord* o = addOzone(l, 20, 1, 0);
    addPtu(l, 20, 800, 0, 0);
    addPtu(l, 30, 700, 0, 0);
    alignPressure(l);
    EXPECT_EQ(o->data.o3.p, 800);
}

TEST(AlignByTime, TargetsBeforeFirstSampleInterpolateFromStartAtTimeZero)
{
    RecordList<RawRecord> l;
    RawRecord* o = addOzone(l, 5, 1, 0);
    addPtu(l, 10, 900, 0, 0);
    alignPressure(l, 1000);
    EXPECT_DOUBLE_EQ(o->data.o3.p, 1000 + (at(5) / at(10)) * (900 - 1000));
    EXPECT_NEAR(o->data.o3.p, 900, 1e-4);
}

TEST(AlignByTime, PendingRecordResumesAndLaterWaitingTargetsFollow)
{
    RecordList<RawRecord> l;
    addPtu(l, 10, 900, 0, 0);
    RawRecord* a = addOzone(l, 12, 1, 0);
    RawRecord* b = addOzone(l, 14, 1, 0);
    RawRecord* c = addOzone(l, 16, 1, 0);
    addPtu(l, 20, 800, 0, 0);
    alignPressure(l);
    EXPECT_NEAR(a->data.o3.p, 880, 1e-4);
    EXPECT_NEAR(b->data.o3.p, 860, 1e-4);
    EXPECT_NEAR(c->data.o3.p, 840, 1e-4);
}

TEST(AlignByTime, EqualOrEarlierSourceTimesArePassedOver)
{
    RecordList<RawRecord> l;
    addPtu(l, 10, 900, 0, 0);
    addPtu(l, 10, 500, 0, 0); // same time: ignored
    addPtu(l, 8, 400, 0, 0);  // earlier: ignored
    RawRecord* o = addOzone(l, 15, 1, 0);
    addPtu(l, 20, 800, 0, 0);
    alignPressure(l);
    EXPECT_NEAR(o->data.o3.p, 850, 1e-4);
}

TEST(AlignByTime, UnplacedRecordsStayInListUnchanged)
{
    RecordList<RawRecord> l;
    addPtu(l, 10, 900, 0, 0);
    RawRecord* placed = addOzone(l, 11, 1, 0);
    addPtu(l, 12, 880, 0, 0);
    RawRecord* late1 = addOzone(l, 13, 1, 0);
    RawRecord* late2 = addOzone(l, 14, 1, 0);
    late2->data.o3.p = 123; // not touched
    alignPressure(l);
    EXPECT_EQ(l.size(), 5u);
    EXPECT_NEAR(placed->data.o3.p, 890, 1e-4);
    EXPECT_EQ(late1->data.o3.p, 0);
    EXPECT_EQ(late2->data.o3.p, 123);
    EXPECT_EQ(l.last(), late2);
    EXPECT_EQ(late2->prev, late1);
}

TEST(AlignByTime, NoSourceAtAllPlacesNothingAndKeepsAll)
{
    RecordList<RawRecord> l;
    addOzone(l, 1, 1, 0);
    addOzone(l, 2, 1, 0);
    alignPressure(l);
    EXPECT_EQ(l.size(), 2u);
    for (const RawRecord& r : l)
        EXPECT_EQ(r.data.o3.p, 0);
}

// Two alignments from the PTU samples, onto ozone and onto GPS records, in
// one walk: the waiting ozone sample placed once the next PTU sample comes
// must not move the GPS fix logged out of order before it.
TEST(AlignByTime, AlignmentsSharingAWalkPlaceAsEachAlone)
{
    RecordList<RawRecord> alone, shared;
    for (RecordList<RawRecord>* l : {&alone, &shared}) {
        addPtu(*l, 10, 900, 0, 0);
        addOzone(*l, 15, 1, 0);
        addGps(*l, 9, 0, 0, 0);
        addPtu(*l, 20, 800, 0, 0);
    }
    auto isPtu = [](const RawRecord& r) { return r.isPtu(); };
    auto isOzone = [](const RawRecord& r) { return r.isOzone(); };
    auto isGps = [](const RawRecord& r) { return r.isGps(); };
    auto pressure = [](const RawRecord& r) { return std::array<double, 1>{r.data.ptu.p}; };
    auto onOzone = [](RawRecord& r, const std::array<double, 1>& v) { r.data.o3.p = v[0]; };
    auto onGps = [](RawRecord& r, const std::array<double, 1>& v) { r.data.gps.ptuT = v[0]; };
    const std::array<double, 1> start{1000};
    alignByTime<1>(alone, isPtu, pressure, isOzone, onOzone, start);
    alignByTime<1>(alone, isPtu, pressure, isGps, onGps, start);
    auto ozone = timeAlignment<1>(isPtu, pressure, isOzone, onOzone, KeepUnplaced{}, start);
    auto gps = timeAlignment<1>(isPtu, pressure, isGps, onGps, KeepUnplaced{}, start);
    for (RawRecord& r : shared) {
        ozone.visit(r);
        gps.visit(r);
    }
    const RawRecord* a = alone.first()->next;
    const RawRecord* b = shared.first()->next;
    EXPECT_NEAR(b->data.o3.p, 850, 1e-4);
    EXPECT_EQ(b->data.o3.p, a->data.o3.p);
    EXPECT_EQ(b->next->data.gps.ptuT, a->next->data.gps.ptuT);
    EXPECT_LT(b->next->data.gps.ptuT, 905); // from the bracket of the first PTU sample, not 910
}

class Streams : public ::testing::Test {
protected:
    void SetUp() override
    {
        q.rsPrInst = 1;
        q.rsGpsInst = 1;
        q.stnAlt = 100;
        q.sfcP = 1000;
        q.sfcT = 20;
        q.sfcU = 50;
        q.stdP = 1010;
    }
    Q5 q;
};

TEST_F(Streams, GpsPressureSkipsWeakFixes)
{
    RawRecord* g1 = addGps(q.fltRecs, 0, 10, 10, 555, 3);
    RawRecord* g2 = addGps(q.fltRecs, 1, 10, 10, 150, 8);
    RawRecord* weak = addGps(q.fltRecs, 2, 10, 10, 200, 4);
    RawRecord* g4 = addGps(q.fltRecs, 3, 10, 10, 250, 5);
    for (RawRecord* g : {g1, g2, weak, g4}) {
        g->data.gps.ptuT = 15;
        g->data.gps.ptuU = 40;
    }
    weak->data.gps.gpsP = 99;
    gpsPressures(q);
    EXPECT_EQ(g1->data.gps.gpsP, 1000); // radiosonde reference; first fix whatever its satellites
    EXPECT_EQ(g1->data.gps.alt, 100);
    const double p2 = hypsometricPressure(1000, 100, 15, 40, 150, 15, 40);
    EXPECT_DOUBLE_EQ(g2->data.gps.gpsP, p2);
    EXPECT_EQ(weak->data.gps.gpsP, 0);
    EXPECT_DOUBLE_EQ(g4->data.gps.gpsP, hypsometricPressure(p2, 150, 15, 40, 250, 15, 40));
    q.sfcUseStd = 1;
    gpsPressures(q);
    EXPECT_EQ(g1->data.gps.gpsP, 1010);
    q.sfcUseStd = 0;
    q.rsPrInst = 0;
    gpsPressures(q);
    EXPECT_EQ(g1->data.gps.gpsP, 1010);
}

TEST_F(Streams, PtuHeightsUseCorrectedValues)
{
    q.sfcCorrP = 2;
    q.sfcCorrT = -1;
    q.sfcCorrU = 5;
    RawRecord* a = addPtu(q.fltRecs, 0, 1000, 20, 50);
    addGps(q.fltRecs, 0.5, 0, 0, 0);
    RawRecord* b = addPtu(q.fltRecs, 1, 990, 19, 55);
    RawRecord* c = addPtu(q.fltRecs, 2, 980, 18, 60);
    ptuHeights(q);
    EXPECT_EQ(a->data.ptu.hgt, 100);
    const double hb = hypsometricHeight(100, 998, 21, 45, 988, 20, 50);
    EXPECT_DOUBLE_EQ(b->data.ptu.hgt, hb);
    EXPECT_DOUBLE_EQ(c->data.ptu.hgt, hypsometricHeight(hb, 988, 20, 50, 978, 19, 55));
    EXPECT_NEAR(hb - 100, 85, 5);
}

TEST_F(Streams, AscentRatesWithZeroTimeStepAndWeakFixes)
{
    RawRecord* p1 = addPtu(q.fltRecs, 0, 1000, 20, 50);
    RawRecord* p2 = addPtu(q.fltRecs, 2, 990, 20, 50);
    RawRecord* p3 = addPtu(q.fltRecs, 2, 985, 20, 50);
    p1->data.ptu.hgt = 100;
    p2->data.ptu.hgt = 110;
    p3->data.ptu.hgt = 115;
    RawRecord* g1 = addGps(q.fltRecs, 0, 0, 0, 100);
    RawRecord* g2 = addGps(q.fltRecs, 1, 0, 0, 106, 3);
    RawRecord* g3 = addGps(q.fltRecs, 2, 0, 0, 110);
    RawRecord* g4 = addGps(q.fltRecs, 2, 0, 0, 120);
    ascentRates(q);
    EXPECT_EQ(p1->data.ptu.rate, 0);
    EXPECT_NEAR(p2->data.ptu.rate, 5, 1e-4);
    EXPECT_EQ(p3->data.ptu.rate, 0); // no time step: no rate rather than infinity
    EXPECT_EQ(g1->data.gps.gpsRate, 0);
    EXPECT_EQ(g2->data.gps.gpsRate, 0);
    EXPECT_NEAR(g3->data.gps.gpsRate, 4, 1e-4); // from the weak fix before it
    EXPECT_EQ(g4->data.gps.gpsRate, 0);
}

TEST_F(Streams, AllWalksPlaceValuesOntoOzoneAndPtuRecords)
{
    q.hasPtuExt = 1;
    addPtu(q.fltRecs, 0, 1000, 20, 50, TypePtuExt)->data.ptu.tu = 25;
    addGps(q.fltRecs, 0.5, 45, 7, 120);
    RawRecord* o = addOzone(q.fltRecs, 1, 1, 0);
    RawRecord* p = addPtu(q.fltRecs, 2, 990, 18, 60, TypePtuExt);
    p->data.ptu.tu = 21;
    RawRecord* g = addGps(q.fltRecs, 2.5, 45, 7, 220);
    addPtu(q.fltRecs, 4, 980, 17, 70, TypePtuExt);
    addGps(q.fltRecs, 4.5, 45, 7, 320);
    alignStreams(q);
    const RawRecord* p0 = q.fltRecs.first();
    EXPECT_NEAR(o->data.o3.p, 995, 1e-4);
    EXPECT_NEAR(o->data.o3.t, 19, 1e-4);
    EXPECT_NEAR(o->data.o3.u, 55, 1e-4);
    EXPECT_NEAR(o->data.o3.tu, 23, 1e-4);
    // First GPS fix is moved to the station: 100 m at 0.5 s, 220 m at 2.5 s.
    EXPECT_NEAR(o->data.o3.gpsAlt, 130, 1e-4);
    EXPECT_NEAR(p->data.ptu.gpsAlt, 190, 1e-4);
    EXPECT_GT(o->data.o3.gpsP, g->data.gps.gpsP);
    EXPECT_LT(o->data.o3.gpsP, 1000);
    EXPECT_NEAR(o->data.o3.hgt, (p0->data.ptu.hgt + p->data.ptu.hgt) / 2, 1e-4);
    EXPECT_NEAR(g->data.gps.ptuT, 17.75, 1e-4);
    EXPECT_EQ(q.fltRecs.size(), 7u);
}

TEST_F(Streams, GpsPressureWalkIgnoresFixesWithoutPressureAndLeavesUnplacedUnknown)
{
    addPtu(q.fltRecs, 0, 1000, 20, 50);
    addGps(q.fltRecs, 0, 0, 0, 100);
    addGps(q.fltRecs, 10, 0, 0, 200);
    RawRecord* o = addOzone(q.fltRecs, 15, 1, 0);
    addGps(q.fltRecs, 20, 0, 0, 500, 3); // weak: not a source
    addPtu(q.fltRecs, 25, 900, 20, 50);
    RawRecord* late = addOzone(q.fltRecs, 30, 1, 0);
    late->data.o3.gpsP = 55;
    alignStreams(q);
    EXPECT_EQ(o->data.o3.gpsP, Missing);
    EXPECT_EQ(late->data.o3.gpsP, Missing);
    EXPECT_EQ(q.fltRecs.size(), 7u);
}

// A PTU record stamped before 1899-12-30 (year 26 from a damaged date) met
// the alignment before any GPS fix: the empty bracket [0, 0] divided 0 by 0
// and NaN reached the exported altitude.
TEST(AlignmentBracket, TargetBeforeDayZeroAndBeforeAnySourceStaysUnplaced)
{
    Q5 q;
    RawRecord* early = q.fltRecs.append();
    early->type = TypePtu;
    early->time = -684297.44;
    early->data.ptu.gpsAlt = 0;
    RawRecord* fix = q.fltRecs.append();
    fix->type = TypeGps;
    fix->time = 46188.49;
    fix->data.gps.alt = 1500;
    RawRecord* later = q.fltRecs.append();
    later->type = TypePtu;
    later->time = 46188.48;
    int unplaced = 0;
    alignByTime<1>(
        q.fltRecs, [](const RawRecord& r) { return r.isGps(); },
        [](const RawRecord& r) { return std::array<double, 1>{r.data.gps.alt}; },
        [](const RawRecord& r) { return r.isPtu(); },
        [](RawRecord& r, const std::array<double, 1>& v) { r.data.ptu.gpsAlt = v[0]; },
        [&unplaced](RawRecord&) { ++unplaced; }, std::array<double, 1>{491.0});
    EXPECT_TRUE(std::isfinite(early->data.ptu.gpsAlt)); // placed once the first fix brackets it
    EXPECT_GE(unplaced, 1);
    EXPECT_TRUE(std::isfinite(later->data.ptu.gpsAlt));
}

// A flight dated 1800: every source sample lies before day 0 and never
// forms a bracket. The walk went back to the waiting target at every source
// sample and never ended.
TEST(AlignmentBracket, EverySampleBeforeDayZeroEndsWithNothingPlaced)
{
    RecordList<RawRecord> l;
    RawRecord* o = addOzone(l, 0, 1, 0);
    addPtu(l, 0, 900, 0, 0);
    addPtu(l, 0, 800, 0, 0);
    double time = -36500;
    for (RawRecord& r : l)
        r.time = time += 1.0 / SecondsPerDay;
    alignPressure(l);
    EXPECT_EQ(o->data.o3.p, 0);
}

} // namespace
} // namespace lumo
