#include <cmath>

#include <gtest/gtest.h>

#include "processing/ozone.h"
#include "records.h"

namespace lumo {
namespace {

using test::addOzone;
using test::addSonde;
using test::at;

// Rows by decreasing pressure, as the tables are kept.
void setBkgTable(Q5& q, std::initializer_list<std::pair<double, double>> rows)
{
    q.bkgCount = 0;
    for (auto [p, v] : rows) {
        q.bkgP[q.bkgCount] = p;
        q.bkgVal[q.bkgCount] = v;
        ++q.bkgCount;
    }
}

void setEffTable(Q5& q, std::initializer_list<std::pair<double, double>> rows)
{
    q.effCount = 0;
    for (auto [p, v] : rows) {
        q.effP[q.effCount] = p;
        q.effVal[q.effCount] = v;
        ++q.effCount;
    }
}

TEST(CorrectionTables, EmptyTablesAndOutOfRangeGiveOne)
{
    Q5 q;
    EXPECT_EQ(bkgFactor(q, 500), 1.0);
    EXPECT_EQ(effFactor(q, 5), 1.0);
    setBkgTable(q, {{1000, 0.9}, {100, 0.5}});
    setEffTable(q, {{1000, 1.1}, {100, 1.5}});
    EXPECT_EQ(bkgFactor(q, 1200.5), 1.0);
    EXPECT_EQ(bkgFactor(q, 0.49), 1.0);
    EXPECT_EQ(effFactor(q, 0.49), 1.0);
}

TEST(CorrectionTables, AtBetweenAndAboveRows)
{
    Q5 q;
    setBkgTable(q, {{1000, 0.9}, {500, 0.7}, {100, 0.5}});
    EXPECT_EQ(bkgFactor(q, 1000), 1.0); // at or above the first row: no correction
    EXPECT_EQ(bkgFactor(q, 1100), 1.0);
    EXPECT_EQ(bkgFactor(q, 500), 0.7);
    EXPECT_DOUBLE_EQ(bkgFactor(q, 750), 0.8);
    EXPECT_DOUBLE_EQ(bkgFactor(q, 300), 0.6);
}

TEST(CorrectionTables, BelowLastRowBackgroundHeldEfficiencyExtrapolated)
{
    Q5 q;
    setBkgTable(q, {{1000, 0.9}, {100, 0.5}});
    setEffTable(q, {{1000, 1.0}, {100, 1.1}, {10, 1.2}});
    EXPECT_EQ(bkgFactor(q, 50), 0.5);
    EXPECT_EQ(bkgFactor(q, 5), 0.5);
    const double s = (1.1 - 1.2) / (100.0 - 10);
    EXPECT_DOUBLE_EQ(effFactor(q, 5), s * 5 + (1.2 - s * 10));
    EXPECT_GT(effFactor(q, 5), 1.2);
    setEffTable(q, {{1000, 1.0}});
    EXPECT_EQ(effFactor(q, 5), 1.0);
    setEffTable(q, {{1000, 1.0}, {10, 1.3}, {10, 1.4}});
    EXPECT_EQ(effFactor(q, 5), 1.4);
}

TEST(CorrectionTables, EqualRowPressures)
{
    Q5 q;
    setBkgTable(q, {{1000, 0.9}, {500, 0.8}, {500, 0.6}});
    // Row 1 matches exactly; row pair (0,1) interpolates normally.
    EXPECT_EQ(bkgFactor(q, 500), 0.8);
    setBkgTable(q, {{1000, 0.9}, {1000, 0.8}, {500, 0.6}});
    EXPECT_EQ(bkgFactor(q, 1000), 1.0); // first row at or below x
    EXPECT_DOUBLE_EQ(bkgFactor(q, 750), 0.7);
}

TEST(CorrectionTables, BackgroundReferredToSurface)
{
    Q5 q;
    EXPECT_EQ(bkgAtSurface(q, 0.05, 1000), 0.05);
    setBkgTable(q, {{1100, 0.8}, {900, 0.4}});
    EXPECT_EQ(bkgAtSurface(q, 0.05, 1200), 0.05);
    EXPECT_DOUBLE_EQ(bkgAtSurface(q, 0.06, 1000), 0.06 / 0.6);
    EXPECT_DOUBLE_EQ(bkgAtSurface(q, 0.06, 900), 0.06 / 0.4);
    EXPECT_DOUBLE_EQ(bkgAtSurface(q, 0.06, 800), 0.06 / 0.4);
    EXPECT_EQ(bkgAtSurface(q, 0, 1000), 0);
    EXPECT_EQ(bkgAtSurface(q, 0.06, 0), 0.06);
    setBkgTable(q, {{1100, 0.8}, {900, 0.0}});
    EXPECT_EQ(bkgAtSurface(q, 0.06, 900), 0.06); // zero factor: unchanged
}

TEST(OzoneEquation, PlainEquationWithEmptyTables)
{
    Q5 q;
    addSonde(q, 2, "B", 0.05, 28.5);
    q.bkgRef[1] = 0.04;
    EXPECT_DOUBLE_EQ(o3PartialPressure(q, 500, 2.0, 20, 2), (2.0 - 0.04 * 1.0) * 0.004307 * 293.15 * 28.5 * 1.0);
    EXPECT_EQ(o3PartialPressure(q, Missing, 2.0, 20, 2), Missing);
    EXPECT_EQ(o3PartialPressure(q, 500, Missing, 20, 2), Missing);
    EXPECT_EQ(o3PartialPressure(q, 500, 2.0, Missing, 2), Missing);
    EXPECT_EQ(o3PartialPressure(q, 500, 2.0, 20, 0), Missing);
    EXPECT_EQ(o3PartialPressure(q, 500, 2.0, 20, 5), Missing);
    EXPECT_EQ(o3PartialPressure(q, 500, 2.0, 20, 1), 0); // position 1 has no flow
}

TEST(OzoneEquation, ValidityLimits)
{
    Q5 q;
    // Flow chosen so that one uA gives very nearly 100 nb at 0 degC.
    q.o3Sonde[0].flow = 100 / (0.004307 * 273.15);
    EXPECT_NEAR(o3PartialPressure(q, 500, 1, 0, 1), 100, 1e-9);
    EXPECT_NEAR(o3PartialPressure(q, 500, 4.9999, 0, 1), 499.99, 1e-6);
    EXPECT_EQ(o3PartialPressure(q, 500, 5.0001, 0, 1), Missing);
    EXPECT_NEAR(o3PartialPressure(q, 500, -0.9999, 0, 1), -99.99, 1e-6);
    EXPECT_EQ(o3PartialPressure(q, 500, -1.0001, 0, 1), Missing);
    q.bkgRef[0] = 0.5;
    EXPECT_NEAR(o3PartialPressure(q, 500, 0, 0, 1), -50, 1e-9); // zero current, positive background
}

TEST(OzoneEquation, UsesBothFactorsAtSamplePressure)
{
    Q5 q;
    q.o3Sonde[0].flow = 30;
    q.bkgRef[0] = 0.1;
    setBkgTable(q, {{1000, 1.0}, {10, 0.5}});
    setEffTable(q, {{1000, 1.0}, {10, 1.2}});
    const double fb = bkgFactor(q, 100), fe = effFactor(q, 100);
    EXPECT_DOUBLE_EQ(o3PartialPressure(q, 100, 3.0, 25, 1), (3.0 - 0.1 * fb) * 0.004307 * (25 + 273.15) * 30 * fe);
}

TEST(LowPassFilter, MovesFractionOfTheWayPerSondeAndSkipsInvalid)
{
    Q5 q;
    q.lpFilter = 10;
    RecordList<RawRecord>& l = q.fltRecs;
    RawRecord* a = addOzone(l, 0, 1, 0);
    RawRecord* b = addOzone(l, 0.5, 2, 0);
    RawRecord* c = addOzone(l, 1, 1, 0);
    RawRecord* d = addOzone(l, 2, 1, 0);
    RawRecord* e = addOzone(l, 3, 1, 0);
    RawRecord* f = addOzone(l, 3, 9, 0);
    a->data.o3.o3pp = 10;
    b->data.o3.o3pp = 50;
    c->data.o3.o3pp = 20;
    d->data.o3.o3pp = Missing;
    e->data.o3.o3pp = 30;
    f->data.o3.o3pp = 77;
    lowPassFilter(q, l.first());
    EXPECT_EQ(a->data.o3.o3pp, 10);
    EXPECT_EQ(b->data.o3.o3pp, 50); // first of its own ozonesonde
    const double c1 = 10 + (1 - std::exp(-1.0 / 10)) * (20 - 10);
    EXPECT_DOUBLE_EQ(c->data.o3.o3pp, c1);
    EXPECT_NEAR(c1, 10.95, 0.01);
    EXPECT_EQ(d->data.o3.o3pp, Missing);
    // The step spans the invalid sample: 2 s.
    EXPECT_DOUBLE_EQ(e->data.o3.o3pp, c1 + (1 - std::exp(-2.0 / 10)) * (30 - c1));
    EXPECT_EQ(f->data.o3.o3pp, 77);
}

TEST(LowPassFilter, StepIsClockTimeToTheMillisecond)
{
    Q5 q;
    q.lpFilter = 5;
    RawRecord* a = addOzone(q.fltRecs, 10, 1, 0);
    RawRecord* b = addOzone(q.fltRecs, 10, 1, 0);
    b->time = a->time + 1.2004 / SecondsPerDay;
    a->data.o3.o3pp = 0;
    b->data.o3.o3pp = 100;
    lowPassFilter(q, q.fltRecs.first());
    EXPECT_DOUBLE_EQ(b->data.o3.o3pp, 100 * (1 - std::exp(-1.2 / 5)));
}

TEST(ReferBackgrounds, OnlyFirstO3CountSondesAndNeverBeyondFour)
{
    Q5 q;
    q.sfcP = 1000;
    setBkgTable(q, {{1100, 1.0}, {900, 0.5}});
    q.o3Sonde[0].bkg = 0.1;
    q.o3Sonde[1].bkg = 0.2;
    q.bkgRef[1] = 42;
    q.o3Count = 1;
    referBackgrounds(q);
    EXPECT_DOUBLE_EQ(q.bkgRef[0], 0.1 / 0.75);
    EXPECT_EQ(q.bkgRef[1], 42);
    q.o3Count = 200;
    referBackgrounds(q);
    EXPECT_DOUBLE_EQ(q.bkgRef[1], 0.2 / 0.75);
}

} // namespace
} // namespace lumo
