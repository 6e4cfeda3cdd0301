#include <cmath>

#include <gtest/gtest.h>

#include "flight/q5.h"
#include "processing/atmosphere.h"

namespace lumo {
namespace {

TEST(Atmosphere, SaturationVapourPressureAtZeroIsMagnusConstant)
{
    EXPECT_DOUBLE_EQ(satVapourPressure(0), 6.1121);
    // About 23.4 hPa at 20 degC.
    EXPECT_NEAR(satVapourPressure(20), 23.37, 0.05);
}

TEST(Atmosphere, VirtualTemperatureMoistureTermOnlyStrictlyInsideRange)
{
    EXPECT_DOUBLE_EQ(virtualTemperature(1000, 20, 100), 293.15);
    EXPECT_DOUBLE_EQ(virtualTemperature(1000, 20, 0), 293.15);
    EXPECT_DOUBLE_EQ(virtualTemperature(0, 20, 50), 293.15);
    const double expected = (99.9 * satVapourPressure(20) / (1000.0 * 100) * 0.37821 + 1) * 293.15;
    EXPECT_DOUBLE_EQ(virtualTemperature(1000, 20, 99.9), expected);
    EXPECT_GT(virtualTemperature(1000, 20, 99.9), 295.0);
}

TEST(Atmosphere, HypsometricHeightKeepsBaseOnMissingInputs)
{
    EXPECT_DOUBLE_EQ(hypsometricHeight(100, 1000, 15, 50, 1000, 15, 50), 100);
    EXPECT_DOUBLE_EQ(hypsometricHeight(100, Missing, 15, 50, 900, 15, 50), 100);
    EXPECT_DOUBLE_EQ(hypsometricHeight(100, 0, 15, 50, 900, 15, 50), 100);
    EXPECT_DOUBLE_EQ(hypsometricHeight(100, 1000, Missing, 50, 900, 15, 50), 100);
    EXPECT_DOUBLE_EQ(hypsometricHeight(100, 1000, 15, 50, 900, 15, Missing), 100);
    EXPECT_DOUBLE_EQ(hypsometricHeight(100, 1000, 15, 50, -1, 15, 50), 100);
}

TEST(Atmosphere, HypsometricHeightOfDryLayer)
{
    const double z = hypsometricHeight(0, 1000, 15, 0, 900, 5, 0);
    EXPECT_DOUBLE_EQ(z, std::log(1000.0 / 900) * 29.2894 * (288.15 + 278.15) * 0.5);
    EXPECT_NEAR(z, 873.6, 0.5);
}

TEST(Atmosphere, HypsometricPressureUpAThousandMetres)
{
    EXPECT_NEAR(hypsometricPressure(1000, 0, 15, 0, 1000, 15, 0), 888.0, 0.5);
    EXPECT_DOUBLE_EQ(hypsometricPressure(1000, 250, 15, 0, 250, 15, 0), 1000);
    EXPECT_DOUBLE_EQ(hypsometricPressure(0, 0, 15, 0, 1000, 15, 0), 0);
}

TEST(Atmosphere, HeightAndPressureFormulasRoughlyInvert)
{
    const double p2 = hypsometricPressure(1000, 0, 10, 40, 2000, 10, 40);
    const double z2 = hypsometricHeight(0, 1000, 10, 40, p2, 10, 40);
    // Different constants and the virtual temperature at p1: not exact.
    EXPECT_NEAR(z2, 2000, 5);
    EXPECT_NE(z2, 2000);
}

// A PTU temperature field of -327.68 degC (below absolute zero) in a damaged
// packet made the GPS pressure of the next fix infinite.
TEST(HypsometricLayer, TemperatureBelowAbsoluteZeroGivesNoChange)
{
    EXPECT_EQ(hypsometricPressure(900.0, 1000.0, -327.68, 50, 1500.0, -327.68, 50), 900.0);
    EXPECT_EQ(hypsometricPressure(900.0, 1000.0, -273.15, 0, 60535.0, -273.15, 0), 900.0);
    EXPECT_EQ(hypsometricHeight(1000.0, 900.0, -327.68, 50, 850.0, -300.0, 50), 1000.0);
    const double p = hypsometricPressure(900.0, 1000.0, 10, 50, 1500.0, 7, 50);
    EXPECT_GT(p, 840);
    EXPECT_LT(p, 850);
}

} // namespace
} // namespace lumo
