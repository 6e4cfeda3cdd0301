#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "processing/column.h"
#include "records.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

using test::addOzone;
using test::addPtu;
using test::addSonde;

constexpr double C = DobsonPerNbLnP;

RawRecord* sample(Q5& q, double sec, int num, double p, double o3pp, double gpsP = 0)
{
    RawRecord* r = addOzone(q.fltRecs, sec, num, 0);
    r->data.o3.p = p;
    r->data.o3.gpsP = gpsP;
    r->data.o3.o3pp = o3pp;
    return r;
}

class MeasuredColumn : public ::testing::Test {
protected:
    void SetUp() override
    {
        q.rsPrInst = 1;
        q.sfcP = 1000;
        q.sfcCorrP = 5; // the first layer starts at the stored value
        q.stdP = 1010;
        q.sfcO3[0] = 30;
        q.launchRec = addPtu(q.fltRecs, 10, 1000, 0, 0);
    }
    Q5 q;
};

TEST_F(MeasuredColumn, TrapezoidInLogPressureWithSkippedSamples)
{
    sample(q, 5, 1, 950, 99);   // before launch
    sample(q, 11, 1, 900, 40);
    sample(q, 12, 2, 850, 99);  // other ozonesonde
    sample(q, 13, 1, 0, 99);    // no pressure
    sample(q, 14, 1, 910, 99);  // balloon sank
    sample(q, 15, 1, 900, 99);  // same pressure
    sample(q, 16, 1, 800, 50);
    q.burstRec = addPtu(q.fltRecs, 17, 790, 0, 0);
    sample(q, 17, 1, 700, 99); // at burst time: excluded
    measuredColumns(q);
    const double first = std::log(1000.0 / 900) * (30 + 40) * C;
    EXPECT_DOUBLE_EQ(q.o3Measured[0], first + std::log(900.0 / 800) * (40 + 50) * C);
    EXPECT_DOUBLE_EQ(q.o3TopMix[0], (40 + 50) / (900.0 + 800));
}

TEST_F(MeasuredColumn, NoSamplesLeavesColumnUnknownAndWithoutSensorUsesGpsPressure)
{
    q.o3Measured[1] = 7;
    q.o3TopMix[1] = 7;
    measuredColumns(q);
    EXPECT_EQ(q.o3Measured[1], Missing);
    EXPECT_EQ(q.o3TopMix[1], Missing);
    q.rsPrInst = 0;
    sample(q, 11, 1, 900, 40, 980);
    sample(q, 12, 1, 800, 40, 0); // GPS pressure missing
    measuredColumns(q);
    EXPECT_DOUBLE_EQ(q.o3Measured[0], std::log(1010.0 / 980) * (30 + 40) * C);
}

TEST_F(MeasuredColumn, WithoutBurstRunsToEndOfFlightList)
{
    sample(q, 11, 1, 900, 40);
    sample(q, 20, 1, 800, 50);
    sample(q, 30, 1, 700, 60);
    measuredColumns(q);
    EXPECT_DOUBLE_EQ(q.o3TopMix[0], (50 + 60) / (800.0 + 700));
}

TEST_F(MeasuredColumn, InvalidPartialPressuresAreNoLayerBoundary)
{
    sample(q, 11, 1, 900, Missing);
    measuredColumns(q);
    EXPECT_EQ(q.o3Measured[0], Missing);
    sample(q, 12, 1, 800, 50);
    sample(q, 13, 1, 700, Missing);
    measuredColumns(q);
    EXPECT_DOUBLE_EQ(q.o3Measured[0], std::log(1000.0 / 800) * (30 + 50) * C);
    EXPECT_EQ(q.o3TopMix[0], Missing); // one layer has no top mixing ratio
}

TEST(CmrResidual, LastLayerClosedFormWhateverTheRoundOff)
{
    const double mix = 0.5;
    // Exact column above pb for a constant mixing ratio in this sum convention: 2 x pb x mix x C.
    const double r5 = cmrResidual(5.0, mix);
    const double r3 = cmrResidual(3.0, mix);
    EXPECT_NEAR(r5 / (2 * 5.0 * mix * C), 1.0, 0.01);
    EXPECT_NEAR(r3 / (2 * 3.0 * mix * C), 1.0, 0.01);
    // Both sequences end with the same last layers: the difference is the 3..5 hPa part alone.
    const double r5to3 = cmrResidual(5.0, mix) - cmrResidual(3.0, mix);
    EXPECT_NEAR(r5to3 / (2 * 2.0 * mix * C), 1.0, 0.001);
    EXPECT_EQ(cmrResidual(0, mix), 0);
    EXPECT_EQ(cmrResidual(-1, mix), 0);
    EXPECT_DOUBLE_EQ(cmrResidual(0.03, mix), 2 * 0.03 * mix * C);
    EXPECT_EQ(cmrResidual(5.0, 0), 0);
}

TEST(CmrResidual, SmoothInBurstPressure)
{
    // Round-off in the 15th digit of the burst pressure must not move the result.
    const double a = cmrResidual(5.0, 1.0);
    const double b = cmrResidual(std::nextafter(5.0, 6.0), 1.0);
    const double c = cmrResidual(std::nextafter(5.0, 4.0), 1.0);
    EXPECT_NEAR(a, b, 1e-9);
    EXPECT_NEAR(a, c, 1e-9);
}

TEST(ResidualTable, BandLabels)
{
    EXPECT_EQ(tozBandLabel(34.5), "[30n-40n]");
    EXPECT_EQ(tozBandLabel(-34.5), "[30s-40s]");
    EXPECT_EQ(tozBandLabel(5.0), "[0-10n]");
    EXPECT_EQ(tozBandLabel(0.0), "[0-10s]");
    EXPECT_EQ(tozBandLabel(10.0), "[10n-20n]");
    EXPECT_EQ(tozBandLabel(9.99), "[0-10n]");
    EXPECT_EQ(tozBandLabel(-85), "[80s-90s]");
}

// Row: pressure, January..December (month m has value m x 10 + pressure / 100), unused.
std::string row(double p)
{
    std::string s = "  " + std::to_string(p);
    for (int m = 1; m <= 12; ++m)
        s += "\t " + std::to_string(m * 10 + p / 100);
    return s + "  0\r\n";
}

class ResidualTableFile : public ::testing::Test {
protected:
    std::string write()
    {
        std::string t = "Residual ozone climatology\n";
        t += "Band [0-10N]\nP Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec x\n" + row(10) + row(20);
        t += "Band [30N-40N] northern mid-latitudes\nP Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec x\n";
        t += row(1) + "garbage line\n" + row(5) + "1 2 3\n" + "x 1 2 3 4 5 6 7 8 9 10 11 12 13\n" + row(10);
        t += "[40n-50n]\nheading\n" + row(30);
        return dir.write("res.toz", t);
    }
    test::TempDir dir;
};

TEST_F(ResidualTableFile, InterpolatesBetweenRowsOfOwnBand)
{
    const std::string path = write();
    double r = -1;
    ASSERT_TRUE(tableResidual(path, 34.5, 3, 7.5, r));
    EXPECT_NEAR(r, (30 + 0.05) + ((30 + 0.10) - (30 + 0.05)) * (7.5 - 5) / (10.0 - 5), 1e-12);
    ASSERT_TRUE(tableResidual(path, 34.5, 12, 5.0, r)); // equal to a row: that row's value
    EXPECT_NEAR(r, 120 + 0.05, 1e-12);
    ASSERT_TRUE(tableResidual(path, 34.5, 1, 0.5, r)); // above the first row: from 0 DU at 0 hPa
    EXPECT_NEAR(r, (10 + 0.01) * 0.5 / 1.0, 1e-12);
    ASSERT_TRUE(tableResidual(path, 34.5, 1, 20, r)); // reads on into the next band
    EXPECT_NEAR(r, (10 + 0.10) + ((10 + 0.30) - (10 + 0.10)) * (20 - 10) / (30.0 - 10), 1e-12);
    ASSERT_TRUE(tableResidual(path, 5, 2, 15, r));
    EXPECT_NEAR(r, 20.15, 1e-12);
}

TEST_F(ResidualTableFile, MissingFileBandOrRowGiveNothing)
{
    const std::string path = write();
    double r = -1;
    EXPECT_FALSE(tableResidual(path, 34.5, 1, 50, r)); // no row above 50 hPa
    EXPECT_EQ(r, 0);
    EXPECT_FALSE(tableResidual(path, -34.5, 1, 5, r)); // no southern band
    EXPECT_FALSE(tableResidual(dir.file("none.toz"), 34.5, 1, 5, r));
    EXPECT_FALSE(tableResidual("", 34.5, 1, 5, r));
    const std::string onlyLabel = dir.write("short.toz", "[30n-40n]\n");
    EXPECT_FALSE(tableResidual(onlyLabel, 34.5, 1, 5, r));
}

TEST_F(ResidualTableFile, TotalOzoneGivesTableResidualToSondesWithSerialOnly)
{
    Q5 q;
    q.rsPrInst = 1;
    q.sfcP = 1000;
    q.stnLat = 34.5;
    q.resTable = 1;
    q.resTableFile = write();
    addSonde(q, 1, "S1");
    addSonde(q, 3, "S3");
    q.launchRec = addPtu(q.fltRecs, 0, 1000, 0, 0);
    q.burstRec = addPtu(q.fltRecs, 100, 7.5, 0, 0); // 2024-03-15: March
    totalOzone(q);
    const double expected = (30 + 0.05) + ((30 + 0.10) - (30 + 0.05)) * (7.5 - 5) / (10.0 - 5);
    EXPECT_DOUBLE_EQ(q.o3Residual[0], expected);
    EXPECT_EQ(q.o3Residual[1], 0);
    EXPECT_DOUBLE_EQ(q.o3Residual[2], expected);
    q.sfcCorrP = 2.5; // burst pressure corrected to 5 hPa
    totalOzone(q);
    EXPECT_DOUBLE_EQ(q.o3Residual[0], 30 + 0.05);
}

TEST(TotalOzone, CmrOnlyForSondesWithSerialAndUnknownWithoutBurst)
{
    Q5 q;
    q.rsPrInst = 1;
    q.sfcP = 1000;
    addSonde(q, 2, "S2");
    q.sfcO3[0] = q.sfcO3[1] = 20;
    q.launchRec = addPtu(q.fltRecs, 0, 1000, 0, 0);
    sample(q, 1, 1, 900, 30);
    sample(q, 1, 2, 900, 30);
    sample(q, 2, 1, 10, 40);
    sample(q, 2, 2, 10, 40);
    q.burstRec = addPtu(q.fltRecs, 3, 10, 0, 0);
    totalOzone(q);
    EXPECT_GT(q.o3Measured[0], 0);
    EXPECT_EQ(q.o3Measured[0], q.o3Measured[1]); // measured even without serial number
    EXPECT_EQ(q.o3Residual[0], 0);
    EXPECT_DOUBLE_EQ(q.o3Residual[1], cmrResidual(10, q.o3TopMix[1]));
    q.o3Residual[1] = 0;
    q.burstRec = nullptr;
    totalOzone(q);
    EXPECT_EQ(q.o3Residual[1], Missing);
    EXPECT_EQ(q.o3Residual[0], 0);
    EXPECT_EQ(q.warnings.at(0).code, "residual-unknown");
    EXPECT_GT(q.o3Measured[1], 0);
}

// A configured latitude of 1e308 (or one overflowing to infinity) used to be
// converted to int for the band label, which is undefined behaviour.
TEST(ResidualBand, LatitudeBeyondThePoleNamesNoTableBand)
{
    EXPECT_EQ(tozBandLabel(1e308), "[90n-100n]");
    EXPECT_EQ(tozBandLabel(-std::numeric_limits<double>::infinity()), "[90s-100s]");
    EXPECT_EQ(tozBandLabel(2147483648.0), "[90n-100n]");
    EXPECT_EQ(tozBandLabel(46.8), "[40n-50n]");
    const test::TempDir dir;
    const std::string table = dir.write("t.toz", "[80n-90n]\nhPa\n"
        " 1.0 1 1 1 1 1 1 1 1 1 1 1 1 1\n 50.0 9 9 9 9 9 9 9 9 9 9 9 9 9\n");
    double residual = -1;
    EXPECT_TRUE(tableResidual(table, 85.0, 6, 10.0, residual));
    EXPECT_GT(residual, 0);
    EXPECT_FALSE(tableResidual(table, 1e308, 6, 10.0, residual));
    EXPECT_EQ(residual, 0);
}

} // namespace
} // namespace lumo
