#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "flight/scripteddialogs.h"
#include "processing/tropopause.h"
#include "support/synthflight.h"

namespace lumo {
namespace {

// Levels every 50 m from the ground to `top` (m) with temperature t(z km)
// and a 7-km scale height for the pressure (500 hPa at about 4.85 km).
std::vector<TropopauseLevel> profile(double top, const std::function<double(double)>& t)
{
    std::vector<TropopauseLevel> lv;
    for (double z = 0; z <= top + 1e-6; z += 50)
        lv.push_back({1000 * std::exp(-z / 7000), z, t(z / 1000)});
    return lv;
}

// 6.5 K/km up to 11 km, isothermal above.
double sharp(double km) { return 15 - 6.5 * std::min(km, 11.0); }

TEST(Tropopause, SharpAndOneRecordSpikeIgnored)
{
    auto lv = profile(20000, sharp);
    lv[160].t -= 12; // 8 km: a cold spike that would pass the 2-km test
    const Tropopauses t = findTropopauses(lv);
    EXPECT_DOUBLE_EQ(t.first.height, 11000);
    EXPECT_NEAR(t.first.p, 1000 * std::exp(-11.0 / 7), 1e-9);
    EXPECT_DOUBLE_EQ(t.first.t, -56.5);
    EXPECT_TRUE(t.first.confirmed);
    EXPECT_FALSE(t.second.found());
}

TEST(Tropopause, GradualWhereLapseRateFallsThroughTwo)
{
    // Lapse rate 6.5 K/km up to 8 km, then falling by 0.5 K/km per km: 2 K/km at 17 km.
    const auto t = [](double km) {
        const double d = std::max(km - 8, 0.0);
        return 15 - 6.5 * km + 0.25 * d * d;
    };
    const Tropopauses r = findTropopauses(profile(25000, t));
    EXPECT_NEAR(r.first.height, 17000, 60);
    EXPECT_TRUE(r.first.confirmed);
}

TEST(Tropopause, SecondAboveALayerCoolingFasterThanThreeKPerKm)
{
    // 6.5 K/km to 10 km, isothermal to 13 km, 5 K/km to 16 km, isothermal to 22 km.
    const auto t = [](double km) {
        if (km <= 10)
            return 15 - 6.5 * km;
        if (km <= 13)
            return -50.0;
        return -50 - 5 * (std::min(km, 16.0) - 13);
    };
    const Tropopauses r = findTropopauses(profile(22000, t));
    EXPECT_DOUBLE_EQ(r.first.height, 10000);
    EXPECT_DOUBLE_EQ(r.second.height, 16000);
    EXPECT_DOUBLE_EQ(r.second.t, -65);
    EXPECT_TRUE(r.second.confirmed);
}

TEST(Tropopause, EndingOneKmAboveIsNotConfirmed)
{
    const Tropopauses r = findTropopauses(profile(12000, sharp));
    EXPECT_DOUBLE_EQ(r.first.height, 11000);
    EXPECT_FALSE(r.first.confirmed);
}

TEST(Tropopause, InversionBelow500HpaDoesNotCount)
{
    // A 5 K surface inversion in the lowest km passes the lapse-rate tests.
    const auto t = [](double km) { return km < 1 ? 10 + 5 * km : sharp(km) + 7.5; };
    const Tropopauses r = findTropopauses(profile(20000, t));
    EXPECT_DOUBLE_EQ(r.first.height, 11000);
    EXPECT_FALSE(findTropopauses(profile(4000, t)).first.found());
}

TEST(Tropopause, ProcessedFlightFromRadiosondeOrGpsLevels)
{
    for (bool pressureSensor : {true, false}) {
        Q5 q;
        test::SynthFlight f;
        f.build(q);
        q.rsPrInst = pressureSensor;
        q.lDetGps = !pressureSensor;
        ScriptedDialogs dialogs(false);
        q.dialogs = &dialogs;
        ASSERT_TRUE(q.processFlight());
        // Hypsometric and GPS heights agree with the model's to a few metres.
        EXPECT_NEAR(q.tropopause.height, f.tropopause(), 25) << pressureSensor;
        EXPECT_NEAR(q.tropopause.t, -56.5, 0.2);
        EXPECT_TRUE(q.tropopause.confirmed);
        EXPECT_FALSE(q.tropopause2.found());
    }
}

} // namespace
} // namespace lumo
