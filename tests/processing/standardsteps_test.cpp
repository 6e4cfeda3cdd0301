// The standard method's single steps on hand-worked values.
#include <cmath>

#include <gtest/gtest.h>

#include "processing/standardsteps.h"

namespace lumo {
namespace {

TEST(StandardSteps, AbsorptionByVolume)
{
    EXPECT_DOUBLE_EQ(*absorptionEfficiency(2.5, 500), 0.9824); // 1.0044 - 4.4e-5 x 500
    EXPECT_DOUBLE_EQ(*absorptionEfficiency(2.5, 100), 1.0);
    EXPECT_DOUBLE_EQ(*absorptionEfficiency(2.5, 20), 1.0);
    EXPECT_DOUBLE_EQ(*absorptionEfficiency(3.0, 500), 1.0);
    EXPECT_FALSE(absorptionEfficiency(2.0, 500));
}

TEST(StandardSteps, TransferFunctionsOnBothSidesOf30Hpa)
{
    const auto f = [](SondeFamily fam, double ki, double buf, TransferTo to, double p) {
        const auto t = transferFactor(fam, ki, buf, to, p);
        return t ? t->factor : -1.0;
    };
    EXPECT_DOUBLE_EQ(f(SondeFamily::Z, 1.0, 1.0, TransferTo::Z05, 50), 0.96);
    EXPECT_NEAR(f(SondeFamily::Z, 1.0, 1.0, TransferTo::Z05, 10), 0.941, 1e-12);
    EXPECT_DOUBLE_EQ(f(SondeFamily::Z, 1.0, 1.0, TransferTo::SixA10, 50), 0.96);
    EXPECT_NEAR(f(SondeFamily::Z, 1.0, 1.0, TransferTo::SixA10, 10), 0.897, 1e-12);
    EXPECT_NEAR(f(SondeFamily::SixA, 0.5, 0.5, TransferTo::SixA10, 10), 1 / 0.941, 1e-12);
    EXPECT_DOUBLE_EQ(f(SondeFamily::Z, 0.5, 0.5, TransferTo::Z05, 10), 1.0);
    EXPECT_DOUBLE_EQ(f(SondeFamily::SixA, 1.0, 1.0, TransferTo::SixA10, 10), 1.0);
    EXPECT_EQ(transferFactor(SondeFamily::Z, 1.0, 1.0, TransferTo::Z05, 50)->sigma, TransferSigma);
    EXPECT_EQ(transferFactor(SondeFamily::Z, 0.5, 0.5, TransferTo::Z05, 50)->sigma, StoichiometrySigma);
    EXPECT_FALSE(transferFactor(SondeFamily::SixA, 2.0, 0.0, TransferTo::Z05, 10));
    EXPECT_FALSE(transferFactor(SondeFamily::Unknown, 1.0, 1.0, TransferTo::SixA10, 10));
}

TEST(StandardSteps, PumpTemperatureOffsetsOfTheFourPlaces)
{
    struct Row {
        Thermistor place;
        double at500, at40, at10, at3;
    };
    const Row rows[] = {{Thermistor::Box, 6.369305, 6.800390, 5.3, 4.5},
                        {Thermistor::Taped, 2.516901, 8.25, 7.5, 5.277765},
                        {Thermistor::Glued, 0.624204, 3.0, 3.0, 3.0},
                        {Thermistor::Internal, 0, 0, 0, 0}};
    for (const Row& r : rows) {
        EXPECT_NEAR(thermistorOffsetK(r.place, 500), r.at500, 1e-5);
        EXPECT_NEAR(thermistorOffsetK(r.place, 40), r.at40, 1e-5);
        EXPECT_NEAR(thermistorOffsetK(r.place, 10), r.at10, 1e-5);
        EXPECT_NEAR(thermistorOffsetK(r.place, 3), r.at3, 1e-5);
        EXPECT_EQ(thermistorOffsetK(r.place, 1), thermistorOffsetK(r.place, 3)); // held above 3 hPa
    }
    EXPECT_NEAR(pumpInternalOffsetK(500), 1.740824, 1e-5);
    EXPECT_NEAR(pumpInternalOffsetK(10), 3.1, 1e-12);
}

TEST(StandardSteps, MoisteningWithAndWithoutLabHumidity)
{
    EXPECT_NEAR(saturationVapourHpa(20), 23.37637, 1e-4);
    EXPECT_NEAR(moisteningFactor(20, 30.0, 1000), 0.990459, 1e-6);
    EXPECT_NEAR(moisteningFactor(20, std::nullopt, 1000), 1.006822, 1e-6);
}

TEST(StandardSteps, PumpTablesLinearInLogPressureBetweenNodes)
{
    EXPECT_NEAR(pumpCorrection(*builtInPumpTable(PumpTable::Komhyr1986), 40), 1.019747, 1e-6);
    EXPECT_NEAR(pumpCorrection(*builtInPumpTable(PumpTable::Komhyr1995), 15), 1.051376, 1e-6);
    EXPECT_NEAR(pumpCorrection(*builtInPumpTable(PumpTable::Noaa), 7), 1.205176, 1e-6);
    EXPECT_NEAR(pumpCorrection(*builtInPumpTable(PumpTable::Jma), 150), 1.016150, 1e-6);
    const PumpEffTable& k86 = *builtInPumpTable(PumpTable::Komhyr1986);
    double sigma = 0;
    EXPECT_DOUBLE_EQ(pumpCorrection(k86, 10, &sigma), 1.055);
    EXPECT_DOUBLE_EQ(sigma, 0.010);
    EXPECT_DOUBLE_EQ(pumpCorrection(k86, 1013), 1.0);
    EXPECT_DOUBLE_EQ(pumpCorrection(k86, 2), 1.124); // held beyond the last node
    EXPECT_EQ(builtInPumpTable(PumpTable::File), nullptr);
}

TEST(StandardSteps, CellConstantsAndCalibration)
{
    const auto z05 = cellConstants(SondeFamily::Z, 0.5, 0.5);
    ASSERT_TRUE(z05);
    EXPECT_EQ(z05->tauFast, 25);
    EXPECT_NEAR(calibratedCurrent(*z05, 1.0, 100), 0.958130, 1e-6); // R = 9.67 - 2.65 x 2 = 4.37 %
    EXPECT_EQ(cellConstants(SondeFamily::SixA, 1.0, 0.1)->a, -1.60);
    EXPECT_EQ(cellConstants(SondeFamily::SixA, 1.0, 1.0)->tauFast, 21);
    EXPECT_FALSE(cellConstants(SondeFamily::SixA, 2.0, 0.0));
    EXPECT_FALSE(cellConstants(SondeFamily::Unknown, 1.0, 1.0));
}

} // namespace
} // namespace lumo
