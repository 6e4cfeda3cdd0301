// The simulator's flight faults each raise their quality check in a
// processing run; the same flight without the fault raises none.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simfixture.h"

namespace lumo::test {
namespace {

std::vector<std::string> warningCodes(const sim::SimOptions& o)
{
    LoadedFlight l(o);
    EXPECT_TRUE(l.configRead && l.rawRead);
    EXPECT_TRUE(l.q5.processFlight());
    std::vector<std::string> codes;
    for (const FlightWarning& w : l.q5.warnings)
        codes.push_back(w.code);
    return codes;
}

sim::SimOptions shortFlight()
{
    sim::SimOptions o;
    o.seed = 5;
    o.sondes = 2;
    o.surfaceMin = 3;
    o.burstKm = 31;
    o.ascentRate = 8;
    o.landingRate = 15;
    return o;
}

TEST(SimulatedFaults, EachFaultRaisesItsCheckAndTheCleanFlightNone)
{
    sim::SimOptions o = shortFlight();
    EXPECT_EQ(warningCodes(o), std::vector<std::string>{});

    o.deadCell = 2;
    EXPECT_EQ(warningCodes(o), std::vector<std::string>{"cell-at-background"});

    o = shortFlight();
    o.burstKm = 24;
    EXPECT_EQ(warningCodes(o), std::vector<std::string>{"burst-above-10hpa"});

    o = shortFlight();
    o.cutKm = 28;
    EXPECT_EQ(warningCodes(o), (std::vector<std::string>{"burst-above-10hpa", "ends-ascending"}));
}

TEST(SimulatedFaults, CutFileEndsAtTheCutHeightAndDeadCellStaysAtBackground)
{
    sim::SimOptions o = shortFlight();
    o.cutKm = 12;
    o.deadCell = 1;
    const sim::SimulatedFlight f = sim::simulateFlight(o);
    EXPECT_NEAR(f.profile.back().z, 12000, 20);
    EXPECT_EQ(f.burstTime, f.profile.back().time);
    LoadedFlight l(o);
    ASSERT_TRUE(l.rawRead);
    for (const RawRecord& r : l.q5.fltRecs) {
        if (r.isOzone() && r.o3Slot() == 0 && r.time > f.launchTime) {
            ASSERT_LT(r.data.o3.ic, l.q5.o3Sonde[0].bkg);
        }
    }
}

} // namespace
} // namespace lumo::test
