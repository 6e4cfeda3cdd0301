// Correction tables and the residual-ozone table as files.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "correctiontables.h"
#include "residualtable.h"

namespace lumo::test {
namespace {

TEST(CorrectionTableFile, RowsArePaddedPressureAndThreeDecimalFactor)
{
    const std::string text = sim::formatTableFile({{1000, 1}, {5, 1.2614}, {12345.67, 0.5}});
    EXPECT_EQ(text, "1000.0   1.000\r\n5.0      1.261\r\n12345.7  0.500\r\n");
}

TEST(CorrectionTables, LookUpsFollowTheTableEnds)
{
    const auto t = sim::CorrectionTables::standard();
    EXPECT_EQ(t.efficiencyFactor(1100), 1.0); // above the first row
    EXPECT_NEAR(t.efficiencyFactor(25), (1.070 + 1.091) / 2, 1e-12);
    // Below the last row the efficiency follows the last two rows' slope,
    // the background stays at its last value.
    EXPECT_NEAR(t.efficiencyFactor(1), 1.329 + (1.329 - 1.306), 1e-12);
    EXPECT_EQ(t.backgroundFactor(3), 0.010);
    EXPECT_NEAR(t.backgroundFactor(700), 0.7, 1e-12);
    EXPECT_NEAR(t.backgroundAtSurface(0.05, 950), 0.05 / 0.95, 1e-12);
    EXPECT_EQ(t.backgroundAtSurface(0.05, 1013), 0.05);
}

TEST(ResidualTable, EveryBandHasRowsOfFourteenNumbersRisingWithPressure)
{
    std::istringstream in(sim::formatResidualTable());
    std::string line;
    int bands = 0;
    std::vector<std::string> labels;
    double lastP = 0, lastJan = 0;
    while (std::getline(in, line)) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '\r');
        if (line[0] == '[') {
            labels.push_back(line.substr(0, line.find(']') + 1));
            ++bands;
            std::getline(in, line); // heading
            lastP = lastJan = 0;
            continue;
        }
        std::istringstream row(line);
        std::vector<double> v;
        double x = 0;
        while (row >> x)
            v.push_back(x);
        ASSERT_EQ(v.size(), 14u) << line;
        EXPECT_GT(v[0], lastP);
        EXPECT_GT(v[1], lastJan);
        lastP = v[0];
        lastJan = v[1];
    }
    EXPECT_EQ(bands, 18);
    for (const char* label : {"[80n-90n]", "[40n-50n]", "[0-10n]", "[0-10s]", "[20s-30s]", "[80s-90s]"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end()) << label;
}

} // namespace
} // namespace lumo::test
