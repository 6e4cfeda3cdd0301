// A simulated flight through the whole processing run: the processing
// recovers the true ozone, launch, burst and column the simulator wrote.

#include <gtest/gtest.h>

#include <cmath>

#include "flight/scripteddialogs.h"
#include "simfixture.h"

namespace lumo::test {
namespace {

class SimulatedProcessing : public ::testing::TestWithParam<bool> {};

TEST_P(SimulatedProcessing, RecoversTheTrueOzoneAndColumn)
{
    sim::SimOptions o;
    o.seed = 11;
    o.sondes = 2;
    o.surfaceMin = 5;
    o.pressureSensor = GetParam();
    LoadedFlight l(o);
    ASSERT_TRUE(l.configRead);
    ASSERT_TRUE(l.rawRead);
    ScriptedDialogs dialogs(false);
    l.q5.dialogs = &dialogs;
    // Without a pressure sensor launch and burst come from the GPS track.
    l.q5.lDetGps = o.pressureSensor ? 0 : 1;
    ASSERT_TRUE(l.q5.processFlight());
    // The configured surface agrees with the measured one: no questions.
    EXPECT_TRUE(dialogs.transcript.empty());
    ASSERT_NE(l.q5.launchRec, nullptr);
    ASSERT_NE(l.q5.burstRec, nullptr);
    EXPECT_NEAR((l.q5.launchRec->time - l.flight.launchTime) * 86400, 0, 3);
    // Near the burst the pressure changes by less than the sensor noise
    // from one second to the next: the lowest reading lies within ~30 s.
    EXPECT_NEAR((l.q5.burstRec->time - l.flight.burstTime) * 86400, 0, 30);

    for (int k = 0; k < 2; ++k) {
        const double truth = l.flight.columnToBurst[k];
        EXPECT_NEAR(l.q5.o3Measured[k], truth, truth * 0.01) << "ozonesonde " << k + 1;
    }
    std::size_t checked = 0;
    for (const RawRecord* r = l.q5.fltRecs.first(); r; r = r->next) {
        if (!r->isOzone() || r->time < l.flight.launchTime || r->time > l.flight.burstTime)
            continue;
        double w = 0;
        const sim::TruthPoint* t = truthBracket(l.flight, r->time, w);
        ASSERT_NE(t, nullptr);
        const int k = r->o3Slot();
        const double truth = t[0].o3[k] + w * (t[1].o3[k] - t[0].o3[k]);
        // Pressures from a noisy sensor or from GPS heights move the
        // pump-efficiency factor a little.
        EXPECT_NEAR(r->data.o3.o3pp, truth, 0.1 + truth * 0.01) << "at " << t->p << " hPa";
        ++checked;
    }
    EXPECT_GT(checked, 10000u);
}

INSTANTIATE_TEST_SUITE_P(PressureSensor, SimulatedProcessing, ::testing::Bool());

} // namespace
} // namespace lumo::test
