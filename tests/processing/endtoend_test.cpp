// Simulated flights written to files, imported and processed as lumo-batch
// does it, and compared with the simulator's truth file.

#include <cmath>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "flight/datetime.h"
#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "flightsimulator.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

struct Case {
    const char* name;
    bool pressure;
    bool gps;
    int sondes;
    std::uint64_t seed;
};

// Launch and burst come from noisy data: one-second GPS ascent rates dip
// below the threshold now and then, so a run of ten qualifying fixes starts
// some seconds after lift-off; near the burst the pressure changes by less
// than the sensor noise from one second to the next.
constexpr double PtuLaunchTolerance = 3;  // s
constexpr double GpsLaunchTolerance = 15; // s
constexpr double BurstTolerance = 15;     // s

class EndToEnd : public ::testing::TestWithParam<Case> {};

TEST_P(EndToEnd, ColumnLaunchAndBurstMatchTheTruth)
{
    const Case& c = GetParam();
    sim::SimOptions o;
    o.seed = c.seed;
    o.sondes = c.sondes;
    o.surfaceMin = 5;
    o.pressureSensor = c.pressure;
    o.gps = c.gps;
    test::TempDir dir;
    const std::string base = dir.file("flight");
    std::string error;
    ASSERT_TRUE(sim::writeFlight(sim::simulateFlight(o), base, error)) << error;

    Q5 q;
    ASSERT_TRUE(importFlight(q, base + ".raw", base + ".cfg").ok());
    ScriptedDialogs dialogs(false);
    q.dialogs = &dialogs;
    ASSERT_TRUE(q.processFlight());
    EXPECT_TRUE(dialogs.transcript.empty());

    const auto truth = nlohmann::json::parse(test::readFile(base + ".truth.json"));
    ASSERT_NE(q.launchRec, nullptr);
    ASSERT_NE(q.burstRec, nullptr);
    const double launchOff = (q.launchRec->time - truth["launch"]["time"].get<double>()) * SecondsPerDay;
    const double burstOff = (q.burstRec->time - truth["burst"]["time"].get<double>()) * SecondsPerDay;
    EXPECT_NEAR(launchOff, 0, q.lDetGps ? GpsLaunchTolerance : PtuLaunchTolerance);
    EXPECT_NEAR(burstOff, 0, BurstTolerance);
    ASSERT_EQ(truth["sondes"].size(), static_cast<std::size_t>(c.sondes));
    for (const auto& s : truth["sondes"]) {
        const int h = s["slot"];
        const double column = s["columnToBurst"];
        EXPECT_NEAR(q.o3Measured[h] / column, 1.0, 0.01) << "ozonesonde " << h + 1;
        EXPECT_GT(q.o3Residual[h], 0);
    }
    if (c.gps)
        EXPECT_GT(q.windRecs.size(), 1000u);
    else
        EXPECT_TRUE(q.windRecs.empty());
}

INSTANTIATE_TEST_SUITE_P(Simulated, EndToEnd,
                         ::testing::Values(Case{"PressureAndGpsOneSonde", true, true, 1, 7},
                                           Case{"PressureAndGpsFourSondes", true, true, 4, 8},
                                           Case{"PressureOnlyFourSondes", true, false, 4, 9},
                                           Case{"GpsOnlyOneSonde", false, true, 1, 10},
                                           Case{"GpsOnlyFourSondes", false, true, 4, 11}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lumo
