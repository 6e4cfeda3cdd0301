#include <cmath>

#include <gtest/gtest.h>

#include "processing/wind.h"
#include "records.h"

namespace lumo {
namespace {

using test::addGps;
using test::addPtu;
using test::at;

constexpr double DegPerMetre = 180.0 / (3.141592653589793 * 6378137.0);

struct Wind {
    double ws, wd;
};

Wind windOver(int dt, double dLatM, double dLonM)
{
    Wind w{};
    windFromFixes(dt, 0, 0, 0, dLatM * DegPerMetre, dLonM * DegPerMetre, 0, w.ws, w.wd);
    return w;
}

TEST(WindGeometry, DirectionIsWhereTheWindComesFrom)
{
    EXPECT_NEAR(windOver(10, 100, 0).wd, 180, 1e-9); // drifting north: wind from the south
    EXPECT_NEAR(windOver(10, 0, 100).wd, 270, 1e-9);
    EXPECT_NEAR(windOver(10, -100, 0).wd, 0, 1e-9);
    EXPECT_NEAR(windOver(10, 0, -100).wd, 90, 1e-9);
    EXPECT_NEAR(windOver(10, 100, 0).ws, 10, 1e-6);
    const Wind w = windOver(10, 0, -100);
    EXPECT_GE(w.wd, 0);
    EXPECT_LT(w.wd, 360);
}

TEST(WindGeometry, CalmBelowFloorAndNoTimeStep)
{
    Wind w = windOver(10, 0.4, 0);
    EXPECT_EQ(w.ws, 0);
    EXPECT_EQ(w.wd, 0);
    w = windOver(10, 1, 0);
    EXPECT_NEAR(w.ws, 0.1, 1e-9);
    EXPECT_NEAR(w.wd, 180, 1e-6);
    w = windOver(0, 100, 0);
    EXPECT_EQ(w.ws, 0);
    EXPECT_EQ(w.wd, 0);
    w = windOver(-3, 100, 0);
    EXPECT_EQ(w.ws, 0);
    w = windOver(10, 0, 0);
    EXPECT_EQ(w.ws, 0);
    EXPECT_EQ(w.wd, 0);
}

TEST(WindGeometry, DistanceAndBearingOnTheSphere)
{
    // A quarter of the equator.
    EXPECT_NEAR(greatCircleDistance(0, 0, 0, 0, 90, 5000), 6378137.0 * 3.141592653589793 / 2, 1e-6);
    EXPECT_NEAR(initialBearing(0, 0, 10, 10), 44.56, 0.01);
    EXPECT_EQ(initialBearing(90, 0, 10, 10), 180);
    EXPECT_EQ(initialBearing(-90, 0, 10, 10), 0);
    EXPECT_EQ(initialBearing(20, 30, 20, 30), 0);
}

class WindList : public ::testing::Test {
protected:
    void SetUp() override
    {
        launch = addPtu(q.fltRecs, 0, 1000, 20, 50);
        q.launchRec = launch;
    }
    RawRecord* fix(double sec, double northM) { return addGps(q.fltRecs, sec, northM * DegPerMetre, 0, sec); }
    Q5 q;
    RawRecord* launch;
};

TEST_F(WindList, TenSecondRuleWithTruncatedStep)
{
    fix(-5, 0); // before launch: ignored
    fix(0, 0);
    fix(9.9, 50);
    RawRecord* g = fix(10.9, 109);
    buildWinds(q);
    ASSERT_EQ(q.windRecs.size(), 1u);
    const WindRecord* w = q.windRecs.first();
    EXPECT_DOUBLE_EQ(w->time, (at(0) + g->time) * 0.5);
    EXPECT_EQ(w->alt, 10.9);
    EXPECT_NEAR(w->ws, 10.9, 1e-6); // 109 m over 10 whole seconds
    EXPECT_NEAR(w->wd, 180, 1e-6);
}

TEST_F(WindList, BaseAdvancesOneFixAndSpansGaps)
{
    for (int s = 0; s <= 9; ++s)
        fix(s, 2.0 * s);
    for (double s : {10.5, 11.5, 12.5})
        fix(s, 2.0 * s);
    fix(60, 120);
    buildWinds(q);
    // Winds at 10.5, 11.5, 12.5 from bases 0, 1, 2; the fix at 60 from base 3.
    ASSERT_EQ(q.windRecs.size(), 4u);
    const WindRecord* w = q.windRecs.last();
    EXPECT_DOUBLE_EQ(w->time, (at(3) + at(60)) * 0.5);
    EXPECT_NEAR(w->ws, (120 - 6) / 57.0, 1e-6);
    buildWinds(q); // rebuilt, not appended
    EXPECT_EQ(q.windRecs.size(), 4u);
}

// Two GPS fixes of a damaged file stamped centuries apart used to overflow
// the int seconds of the wind baseline.
TEST(WindBaseline, FixesCenturiesApartGiveAFiniteWind)
{
    Q5 q;
    RawRecord* a = q.fltRecs.append();
    a->type = TypeGps;
    a->time = 45000.0;
    a->data.gps.lat = 46.8;
    a->data.gps.lon = 6.9;
    a->data.gps.alt = 500;
    RawRecord* b = q.fltRecs.append();
    b->type = TypeGps;
    b->time = 45000.0 + 700000.0; // about 1900 years later
    b->data.gps.lat = 46.9;
    b->data.gps.lon = 7.0;
    b->data.gps.alt = 900;
    q.launchRec = a;
    buildWinds(q);
    ASSERT_EQ(q.windRecs.size(), 1u);
    EXPECT_TRUE(std::isfinite(q.windRecs.first()->ws));
    EXPECT_GE(q.windRecs.first()->ws, 0);
    EXPECT_LT(q.windRecs.first()->ws, 1e-3);
}

} // namespace
} // namespace lumo
