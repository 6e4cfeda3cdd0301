// The same options and seed give the same bytes; the seed's streams are
// independent, so changing one option leaves the weather alone.

#include <gtest/gtest.h>

#include <algorithm>

#include "flightsimulator.h"
#include "support/testfiles.h"

namespace lumo::test {
namespace {

sim::SimOptions options(std::uint64_t seed)
{
    sim::SimOptions o;
    o.seed = seed;
    o.sondes = 2;
    o.burstKm = 15;
    o.surfaceMin = 2;
    o.extendedPtu = true;
    o.gpsVelocities = true;
    o.faults.setAll(0.01);
    return o;
}

TEST(SimulatorDeterminism, SameSeedGivesTheSameBytesInEveryFile)
{
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sim::writeFlight(sim::simulateFlight(options(42)), dir.file("a"), error)) << error;
    ASSERT_TRUE(sim::writeFlight(sim::simulateFlight(options(42)), dir.file("b"), error)) << error;
    for (const char* ext : {".raw", ".cfg", ".truth.json"}) {
        const std::string a = readFile(dir.file(std::string("a") + ext));
        EXPECT_FALSE(a.empty()) << ext;
        EXPECT_EQ(a, readFile(dir.file(std::string("b") + ext))) << ext;
    }
}

TEST(SimulatorDeterminism, AnotherSeedGivesAnotherFlight)
{
    const auto a = sim::simulateFlight(options(1));
    const auto b = sim::simulateFlight(options(2));
    EXPECT_NE(a.raw, b.raw);
    EXPECT_NE(a.columnToBurst[0], b.columnToBurst[0]);
}

TEST(SimulatorDeterminism, ChainSizeAndFaultsDoNotChangeTheAtmosphere)
{
    sim::SimOptions o = options(9);
    const auto a = sim::simulateFlight(o);
    o.sondes = 4;
    o.faults.setAll(0);
    const auto b = sim::simulateFlight(o);
    ASSERT_EQ(a.profile.size(), b.profile.size());
    for (std::size_t i = 0; i < a.profile.size(); i += 97) {
        EXPECT_EQ(a.profile[i].p, b.profile[i].p);
        EXPECT_EQ(a.profile[i].t, b.profile[i].t);
        EXPECT_EQ(a.profile[i].windSpeed, b.profile[i].windSpeed);
    }
    EXPECT_EQ(a.burstTime, b.burstTime);
    EXPECT_EQ(a.chain[0].sn, b.chain[0].sn);
}

TEST(SimulatorDeterminism, OffsetsMoveTheSurfaceAsAsked)
{
    sim::SimOptions o = options(5);
    const auto a = sim::simulateFlight(o);
    o.pressureOffset = 10;
    const auto b = sim::simulateFlight(o);
    EXPECT_NEAR(b.surface.p - a.surface.p, 10 * a.surface.p / 1013.25, 0.05);
    EXPECT_EQ(b.surface.t, a.surface.t);
    o.pressureOffset = 0;
    o.temperatureOffset = -4;
    const auto c = sim::simulateFlight(o);
    EXPECT_NEAR(c.surface.t - a.surface.t, -4, 0.02);
    // The offset fades out with height: the tropopause keeps its temperature.
    const auto highest = [](const sim::SimulatedFlight& f) {
        return *std::max_element(f.profile.begin(), f.profile.end(),
            [](const sim::TruthPoint& x, const sim::TruthPoint& y) { return x.z < y.z; });
    };
    EXPECT_NEAR(highest(c).t, highest(a).t, 0.01) << "at " << highest(a).z << " m";
}

} // namespace
} // namespace lumo::test
