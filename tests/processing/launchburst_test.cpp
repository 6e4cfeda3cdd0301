#include <vector>

#include <gtest/gtest.h>

#include "processing/launchburst.h"
#include "records.h"

namespace lumo {
namespace {

using test::addGps;
using test::addOzone;
using test::addPtu;

// PTU records one second apart with the given ascent rates, pressure
// falling by 1 hPa per record from `p0`, each followed by an ozone record.
std::vector<RawRecord*> ptuRates(Q5& q, const std::vector<double>& rates, double p0 = 1000)
{
    std::vector<RawRecord*> recs;
    double sec = 0;
    for (double rate : rates) {
        RawRecord* r = addPtu(q.fltRecs, sec, p0 - sec, 20, 50);
        r->data.ptu.rate = rate;
        r->data.ptu.hgt = 100 + 5 * sec;
        recs.push_back(r);
        addOzone(q.fltRecs, sec + 0.5, 1, 1);
        sec += 1;
    }
    return recs;
}

TEST(LaunchDetection, RecordBeforeTenAscendingSamples)
{
    Q5 q;
    std::vector<double> rates(5, 0.0);
    rates.insert(rates.end(), 12, 5.0);
    const auto recs = ptuRates(q, rates);
    EXPECT_EQ(findLaunch(q), recs[4]);
}

TEST(LaunchDetection, NineThenSlowerResetsTheCount)
{
    Q5 q;
    std::vector<double> rates(3, 0.0);
    rates.insert(rates.end(), 9, 5.0);
    rates.push_back(1.9);
    rates.insert(rates.end(), 10, 2.0); // exactly the threshold counts
    const auto recs = ptuRates(q, rates);
    EXPECT_EQ(findLaunch(q), recs[12]);
}

TEST(LaunchDetection, NoRunOfTenGivesFirstRecord)
{
    Q5 q;
    addOzone(q.fltRecs, -1, 1, 1);
    std::vector<double> rates(20, 0.0);
    for (int i = 0; i < 20; i += 2)
        rates[static_cast<std::size_t>(i)] = 5;
    ptuRates(q, rates);
    EXPECT_EQ(findLaunch(q), q.fltRecs.first());
}

TEST(LaunchDetection, ZeroThresholdAndRunAtListStartGiveFirstRecord)
{
    Q5 q;
    q.lDetVal = 0;
    addGps(q.fltRecs, -1, 0, 0, 0);
    ptuRates(q, std::vector<double>(15, 0.0));
    EXPECT_EQ(findLaunch(q), q.fltRecs.first());
}

TEST(LaunchDetection, TenthQualifyingIsLastRecord)
{
    Q5 q;
    RecordList<RawRecord>& l = q.fltRecs;
    addPtu(l, 0, 1000, 0, 0)->data.ptu.rate = 0;
    RawRecord* before = addPtu(l, 1, 1000, 0, 0);
    for (int i = 0; i < 10; ++i)
        addPtu(l, 2 + i, 999 - i, 0, 0)->data.ptu.rate = 6;
    EXPECT_EQ(findLaunch(q), before);
}

TEST(LaunchDetection, GpsModeCountsOnlyGpsRates)
{
    Q5 q;
    q.lDetGps = 1;
    ptuRates(q, std::vector<double>(30, 9.0)); // PTU rates do not matter
    for (int i = 0; i < 14; ++i)
        addGps(q.fltRecs, 40 + i, 0, 0, 0)->data.gps.gpsRate = i < 3 ? 0 : 4;
    RawRecord* g = q.fltRecs.last();
    for (int i = 0; i < 11; ++i)
        g = g->prev;
    EXPECT_EQ(findLaunch(q), g);
    EXPECT_EQ(g->data.gps.gpsRate, 0);
}

TEST(BurstDetection, PtuAcceptedSampleBeforeLowestPressure)
{
    Q5 q;
    const auto recs = ptuRates(q, std::vector<double>(10, 5.0), 20);
    // Pressures 20 .. 11; then descent.
    addPtu(q.fltRecs, 20, 15, 0, 0);
    EXPECT_EQ(findBurst(q), recs[8]);
}

TEST(BurstDetection, PtuEqualPressuresAcceptedAndBelowOneHpaIgnored)
{
    Q5 q;
    RecordList<RawRecord>& l = q.fltRecs;
    addPtu(l, 0, 5, 0, 0);
    RawRecord* a = addPtu(l, 1, 3, 0, 0);
    RawRecord* b = addPtu(l, 2, 3, 0, 0);
    addPtu(l, 3, 0.5, 0, 0); // not accepted, walk goes on
    RawRecord* c = addPtu(l, 4, 2, 0, 0);
    EXPECT_EQ(findBurst(q), b);
    c->data.ptu.p = 3;
    EXPECT_EQ(findBurst(q), b);
    c->data.ptu.p = 1; // exactly 1 hPa is accepted
    addPtu(l, 5, 1, 0, 0);
    EXPECT_EQ(findBurst(q), c);
    EXPECT_EQ(a->next, b);
}

TEST(BurstDetection, PtuEndOfFlightPressureAndAltitude)
{
    Q5 q;
    const auto recs = ptuRates(q, std::vector<double>(100, 5.0), 1000); // 1000 .. 901 hPa, hgt 100 .. 595
    q.endFltPr = 950;
    EXPECT_EQ(findBurst(q), recs[49]); // stops at 949 hPa (recs[51]); candidate precedes the last accepted
    q.sfcCorrP = 10; // corrected pressures 10 hPa lower
    EXPECT_EQ(findBurst(q), recs[39]);
    q.sfcCorrP = 0;
    q.endFltPr = 0;
    q.endFltAlt = 300; // record 40 is exactly at 300 m and does not stop
    EXPECT_EQ(findBurst(q), recs[39]);
}

TEST(BurstDetection, PtuSingleRecordGivesNull)
{
    Q5 q;
    addPtu(q.fltRecs, 0, 1000, 0, 0);
    addGps(q.fltRecs, 1, 0, 0, 0);
    EXPECT_EQ(findBurst(q), nullptr);
}

TEST(BurstDetection, GpsLowestPressureLaterOfEqualsWeakFixesIgnored)
{
    Q5 q;
    q.lDetGps = 1;
    RecordList<RawRecord>& l = q.fltRecs;
    const double ps[] = {1000, 800, 0, 600, 500, 500, 700};
    std::vector<RawRecord*> g;
    for (int i = 0; i < 7; ++i) {
        g.push_back(addGps(l, i, 0, 0, 100.0 * i));
        g.back()->data.gps.gpsP = ps[i];
    }
    EXPECT_EQ(findBurst(q), g[5]);
    q.endFltPr = 550; // stops at 500 hPa
    EXPECT_EQ(findBurst(q), g[3]);
    q.endFltPr = 0;
    q.endFltAlt = 250; // the fix without pressure at 200 m is passed over, 300 m stops
    EXPECT_EQ(findBurst(q), g[1]);
}

TEST(BurstDetection, GpsFirstFixIsCandidateAndNoFixGivesNull)
{
    Q5 q;
    q.lDetGps = 1;
    addPtu(q.fltRecs, 0, 1000, 0, 0);
    EXPECT_EQ(findBurst(q), nullptr);
    RawRecord* g = addGps(q.fltRecs, 1, 0, 0, 0);
    g->data.gps.gpsP = 1000;
    addGps(q.fltRecs, 2, 0, 0, 0)->data.gps.gpsP = 1001;
    EXPECT_EQ(findBurst(q), g);
}

} // namespace
} // namespace lumo
