// The quality checks after a processing run: each check raised by a flight
// edited to show its fault, and none on a clean flight.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "processing/qualitychecks.h"
#include "records.h"
#include "support/testfiles.h"
#include "support/synthflight.h"

namespace lumo {
namespace {

std::vector<std::string> codes(const Q5& q)
{
    std::vector<std::string> v;
    for (const FlightWarning& w : q.warnings)
        v.push_back(w.code);
    return v;
}

// Removes the flight records for which `drop` is true.
template <typename Drop>
void dropFlight(Q5& q, Drop drop)
{
    for (RawRecord* r = q.fltRecs.first(); r;)
        r = drop(*r) ? q.fltRecs.remove(r) : r->next;
}

double secondOf(const RawRecord& r) { return (r.time - test::SynthFlight{}.day) * SecondsPerDay; }

const FlightWarning* find(const Q5& q, const std::string& code)
{
    for (const FlightWarning& w : q.warnings)
        if (w.code == code)
            return &w;
    return nullptr;
}

class QualityChecks : public ::testing::Test {
protected:
    void run()
    {
        flight.build(q);
        edit(q);
        ASSERT_TRUE(q.processFlight());
    }
    test::SynthFlight flight;
    std::function<void(Q5&)> edit = [](Q5&) {};
    Q5 q;
};

TEST_F(QualityChecks, CleanFlightRaisesNoneAndRerunDoesNotRepeat)
{
    run();
    EXPECT_EQ(codes(q), std::vector<std::string>{});
    q.burstRec = nullptr;
    ASSERT_TRUE(q.processFlight());
    EXPECT_TRUE(q.warnings.empty());
}

TEST_F(QualityChecks, LowBurstAndTruncatedAscent)
{
    flight.burstAlt = 24000;
    run();
    const FlightWarning* w = find(q, "burst-above-10hpa");
    ASSERT_TRUE(w);
    EXPECT_NEAR(w->value("pressure"), flight.pressure(24000), 1.0);
    EXPECT_FALSE(find(q, "ends-ascending"));

    Q5 cut;
    flight.burstAlt = 32000;
    flight.totalSeconds = 4000; // 20 km, still rising
    flight.build(cut);
    ASSERT_TRUE(cut.processFlight());
    EXPECT_TRUE(find(cut, "ends-ascending"));
    EXPECT_TRUE(find(cut, "burst-above-10hpa"));
}

TEST_F(QualityChecks, GapsPerStreamLongerThanAMinute)
{
    edit = [](Q5& q) {
        dropFlight(q, [](const RawRecord& r) {
            const double sec = secondOf(r);
            return (r.isOzone() && r.o3Slot() == 1 && sec > 2000 && sec < 2090)
                || (r.isGps() && sec > 3000 && sec < 3059); // 59 s: not yet a gap
        });
    };
    run();
    const std::vector<std::string> raised = codes(q);
    ASSERT_EQ(std::count(raised.begin(), raised.end(), "telemetry-gap"), 1);
    const FlightWarning* w = find(q, "telemetry-gap");
    EXPECT_EQ(w->value("sonde"), 2);
    EXPECT_NEAR(w->value("seconds"), 90, 1);
}

// A ground-station clock set back by ten seconds for a stretch of records.
TEST_F(QualityChecks, RecordsDatedBeforeTheirPredecessorAreCounted)
{
    edit = [](Q5& q) {
        for (RawRecord& r : q.fltRecs)
            if (const double sec = secondOf(r); sec >= 2500 && sec < 2520)
                r.time -= 10 / SecondsPerDay;
    };
    run();
    const FlightWarning* w = find(q, "time-order");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->value("count"), 1); // only the first record of the stretch steps back
    EXPECT_NEAR(secondOf(RawRecord{.time = w->value("time")}), 2490, 1);
    EXPECT_NEAR(w->value("seconds"), 9, 1);
}

TEST_F(QualityChecks, ChainWithoutDataAndDataWithoutChain)
{
    edit = [](Q5& q) {
        q.o3Sonde[3].sn[0] = 0; // records of position 4 now belong to nobody
        dropFlight(q, [](const RawRecord& r) { return r.isOzone() && r.o3Slot() == 2; });
    };
    run();
    ASSERT_TRUE(find(q, "sonde-without-data"));
    EXPECT_EQ(find(q, "sonde-without-data")->value("sonde"), 3);
    ASSERT_TRUE(find(q, "ozone-without-sonde"));
    EXPECT_EQ(find(q, "ozone-without-sonde")->value("chainNumber"), 4);
    EXPECT_EQ(q.o3Measured[2], Missing);
    EXPECT_EQ(q.o3Residual[2], Missing);
}

TEST_F(QualityChecks, DeadCellHotPumpAndImplausibleSurfaceOzone)
{
    edit = [](Q5& q) {
        for (RecordList<RawRecord>* list : {&q.sfcRecs, &q.fltRecs})
            for (RawRecord& r : *list) {
                if (r.isOzone() && r.o3Slot() == 0 && list == &q.fltRecs)
                    r.data.o3.ic = 0.01; // below the 0.02 uA background
                if (r.isOzone() && r.o3Slot() == 1 && list == &q.fltRecs)
                    r.data.o3.tp = 46;
                if (r.isOzone() && r.o3Slot() == 2 && list == &q.sfcRecs)
                    r.data.o3.ic *= 20;
            }
    };
    run();
    EXPECT_EQ(find(q, "cell-at-background")->value("sonde"), 1);
    EXPECT_EQ(find(q, "column-not-positive")->value("sonde"), 1);
    EXPECT_EQ(find(q, "pump-temperature")->value("sonde"), 2);
    EXPECT_EQ(find(q, "pump-temperature")->value("max"), 46);
    EXPECT_EQ(find(q, "surface-ozone")->value("sonde"), 3);
}

// An ozonesonde connected only after the ground check.
TEST_F(QualityChecks, OzonesondeWithoutSurfaceSamplesIsNamed)
{
    edit = [](Q5& q) { q.sfcRecs.removeIf([](const RawRecord& r) { return r.isOzone() && r.o3Slot() == 1; }); };
    run();
    const FlightWarning* w = find(q, "surface-ozone");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->value("sonde"), 2);
    EXPECT_EQ(q.sfcO3[1], 0);
    const std::vector<std::string> raised = codes(q);
    EXPECT_EQ(std::count(raised.begin(), raised.end(), "surface-ozone"), 1);
}

TEST_F(QualityChecks, GpsConfigurationAgainstTheData)
{
    edit = [](Q5& q) { q.rsGpsInst = 0; };
    run();
    EXPECT_TRUE(find(q, "gps-not-configured"));

    Q5 noFix;
    flight.build(noFix);
    for (RawRecord& r : noFix.fltRecs)
        if (r.isGps())
            r.data.gps.nSats = 3;
    ASSERT_TRUE(noFix.processFlight());
    EXPECT_TRUE(find(noFix, "gps-without-fixes"));
}

TEST_F(QualityChecks, SampleAfterTheLastPtuStaysUnknown)
{
    // Every second of the synthetic flight ends with ozone samples after its
    // PTU sample: the last ones stay unknown, without a warning.
    run();
    const O3Data& o = q.fltRecs.last()->data.o3;
    EXPECT_EQ(o.p, Missing);
    EXPECT_EQ(o.hgt, Missing);
    EXPECT_EQ(o.o3pp, Missing);
    EXPECT_FALSE(find(q, "unplaced-samples"));
    // PTU telemetry lost for the last two minutes.
    Q5 lost;
    flight.build(lost);
    const double end = lost.fltRecs.last()->time;
    dropFlight(lost, [end](const RawRecord& r) { return r.isPtu() && (end - r.time) * SecondsPerDay < 120; });
    ASSERT_TRUE(lost.processFlight());
    EXPECT_GE(find(lost, "unplaced-samples")->value("count"), 4 * 120);
}

TEST_F(QualityChecks, SeveralFaultsComeInTheOrderOfTheChecks)
{
    flight.totalSeconds = 4000; // still rising
    edit = [](Q5& q) {
        q.o3Sonde[3].sn[0] = 0;
        dropFlight(q, [](const RawRecord& r) {
            const double sec = secondOf(r);
            return (r.isOzone() && r.o3Slot() == 2) || (r.isGps() && sec > 3000 && sec < 3100);
        });
        for (RawRecord& r : q.fltRecs)
            if (r.isOzone() && r.o3Slot() == 0)
                r.data.o3.ic = 0.01;
    };
    run();
    EXPECT_EQ(codes(q), (std::vector<std::string>{"burst-above-10hpa", "ends-ascending", "telemetry-gap",
                                                  "sonde-without-data", "ozone-without-sonde",
                                                  "cell-at-background", "column-not-positive"}));
}

TEST_F(QualityChecks, TableResidualThatCannotBeDeterminedIsUnknown)
{
    test::TempDir dir;
    edit = [&](Q5& q) {
        q.resTable = 1;
        q.resTableFile = dir.file("none.toz");
    };
    run();
    const FlightWarning* w = find(q, "residual-unknown");
    ASSERT_TRUE(w);
    EXPECT_NE(w->message.find("none.toz cannot be opened"), std::string::npos) << w->message;
    EXPECT_GT(q.o3Measured[0], 0);
    EXPECT_EQ(q.o3Residual[0], Missing);
    EXPECT_EQ(q.o3Total(0), Missing);
}

TEST_F(QualityChecks, BoundariesBelongToTheSoundSide)
{
    // A burst at exactly 10 hPa reached 10 hPa: no warning; just above, one.
    run();
    ASSERT_TRUE(q.burstRec && q.burstRec->isPtu());
    for (const double pb : {10.0, 10.01}) {
        q.burstRec->data.ptu.p = pb + q.sfcCorrP;
        q.warnings.clear();
        checkFlight(q);
        EXPECT_EQ(find(q, "burst-above-10hpa") != nullptr, pb > 10.0) << pb;
    }

    // Fixes with exactly the minimum of satellites are fixes.
    for (const int sats : {5, 4}) {
        Q5 g;
        flight.build(g);
        for (RawRecord& r : g.fltRecs)
            if (r.isGps())
                r.data.gps.nSats = sats;
        ASSERT_TRUE(g.processFlight());
        EXPECT_EQ(find(g, "gps-without-fixes") != nullptr, sats < 5) << sats;
    }
}

TEST_F(QualityChecks, CorrectionFactorBelowTheRangeIsRaised)
{
    run();
    const double total = q.o3Total(0);
    ASSERT_GT(total, 0);
    for (const double factor : {0.79, 0.81}) {
        Q5 r;
        flight.build(r);
        r.reference.totalO3 = factor * total;
        ASSERT_TRUE(r.processFlight());
        EXPECT_NEAR(r.o3CorrFactor[0], factor, 1e-9);
        const FlightWarning* w = find(r, "correction-factor-range");
        EXPECT_EQ(w != nullptr, factor < 0.8) << factor;
    }
}

} // namespace
} // namespace lumo
