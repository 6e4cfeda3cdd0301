#include <cmath>

#include <gtest/gtest.h>

#include "processing/column.h"
#include "processing/ozone.h"
#include "processing/uncertainty.h"
#include "records.h"

namespace lumo {
namespace {

using test::addOzone;
using test::addPtu;
using test::addSonde;

UncertaintySettings none()
{
    UncertaintySettings s;
    s.currentPct = s.backgroundUa = s.pumpTempK = s.flowPct = s.humidityPct = 0;
    s.pumpEffPct100 = s.pumpEffPct10 = s.pumpEffPct5 = s.conversionPct = 0;
    return s;
}

// ic = 1.0 uA over ib = 0.5 uA at 26.85 degC (300 K), at 500 hPa.
double alone(double UncertaintySettings::*term, double value, double p = 500)
{
    UncertaintySettings s = none();
    s.*term = value;
    return relativeO3ppUncertainty(s, p, 1.0, 0.5, 26.85);
}

TEST(O3ppUncertainty, EachComponentAlone)
{
    EXPECT_DOUBLE_EQ(alone(&UncertaintySettings::currentPct, 1), 0.01 * 1.0 / 0.5);
    EXPECT_DOUBLE_EQ(alone(&UncertaintySettings::backgroundUa, 0.02), 0.02 / 0.5);
    EXPECT_NEAR(alone(&UncertaintySettings::pumpTempK, 0.5), 0.5 / 300, 1e-12);
    EXPECT_DOUBLE_EQ(alone(&UncertaintySettings::flowPct, 1), 0.01);
    EXPECT_DOUBLE_EQ(alone(&UncertaintySettings::humidityPct, 0.5), 0.005);
    EXPECT_DOUBLE_EQ(alone(&UncertaintySettings::conversionPct, 3), 0.03);
    EXPECT_DOUBLE_EQ(alone(&UncertaintySettings::pumpEffPct100, 1), 0.01);
    // Independent terms add in quadrature.
    UncertaintySettings two = none();
    two.flowPct = 3;
    two.conversionPct = 4;
    EXPECT_DOUBLE_EQ(relativeO3ppUncertainty(two, 500, 1.0, 0.5, 26.85), 0.05);
}

TEST(O3ppUncertainty, PumpEfficiencyLinearInLogPressureBetweenSteps)
{
    const UncertaintySettings s;
    EXPECT_DOUBLE_EQ(pumpEffUncertaintyPct(s, 1000), 1);
    EXPECT_DOUBLE_EQ(pumpEffUncertaintyPct(s, 100), 1);
    EXPECT_NEAR(pumpEffUncertaintyPct(s, std::sqrt(1000.0)), 2, 1e-12); // log-midway 100..10
    EXPECT_NEAR(pumpEffUncertaintyPct(s, 10), 3, 1e-12);
    EXPECT_NEAR(pumpEffUncertaintyPct(s, std::sqrt(50.0)), 4, 1e-12); // log-midway 10..5
    EXPECT_NEAR(pumpEffUncertaintyPct(s, 5), 5, 1e-12);
    EXPECT_DOUBLE_EQ(pumpEffUncertaintyPct(s, 2), 5);
}

TEST(O3ppUncertainty, UnknownAtOrBelowBackground)
{
    const UncertaintySettings s;
    EXPECT_EQ(relativeO3ppUncertainty(s, 500, 0.5, 0.5, 25), Missing);
    EXPECT_EQ(relativeO3ppUncertainty(s, 500, 0.4, 0.5, 25), Missing);
    EXPECT_EQ(relativeO3ppUncertainty(s, 500, Missing, 0.5, 25), Missing);

    Q5 q;
    q.rsPrInst = 1;
    addSonde(q, 1, "A1", 0.05, 28);
    q.bkgRef[0] = 0.05;
    RawRecord* at = addOzone(q.fltRecs, 1, 1, 0.05);
    RawRecord* above = addOzone(q.fltRecs, 2, 1, 0.55);
    for (RawRecord* r : {at, above}) {
        r->data.o3.p = 500;
        computeO3pp(q, *r, 500);
    }
    EXPECT_EQ(o3ppUncertainty(q, *at), Missing);
    const double rel = relativeO3ppUncertainty(q.uncertainty, 500, 0.55, 0.05, 25);
    EXPECT_NEAR(o3ppUncertainty(q, *above), rel * above->data.o3.o3pp, 1e-12);
}

// Two samples between launch and burst; with only the conversion term, dP is
// 3 % of P everywhere, so the measured column's uncertainty is 3 % of it.
class ColumnUncertainty : public ::testing::Test {
protected:
    void SetUp() override
    {
        q.rsPrInst = 1;
        q.sfcP = 1000;
        addSonde(q, 1, "A1", 0.05, 28);
        addSonde(q, 2, "", 0.05, 28);
        q.uncertainty = none();
        q.uncertainty.conversionPct = 3;
        q.launchRec = addPtu(q.fltRecs, 10, 1000, 0, 0);
        sample(11, 900, 40);
        sample(12, 8, 50);
        q.burstRec = addPtu(q.fltRecs, 13, burstP, 0, 0);
        q.sfcO3[0] = 40;
        q.reference.totalO3 = 300;
    }
    void sample(double sec, double p, double o3pp)
    {
        RawRecord* r = addOzone(q.fltRecs, sec, 1, 1.0);
        r->data.o3.p = p;
        r->data.o3.o3pp = o3pp;
    }
    void run()
    {
        q.burstRec->data.ptu.p = burstP;
        totalOzone(q);
        columnUncertainties(q);
        correctionFactors(q);
    }
    double burstP = 8;
    Q5 q;
};

TEST_F(ColumnUncertainty, MeasuredIntegratesDpResidualTwentyPercentTotalInQuadrature)
{
    run();
    EXPECT_NEAR(q.o3MeasuredUnc[0], 0.03 * q.o3Measured[0], 1e-9);
    EXPECT_NEAR(q.o3ResidualUnc[0], 0.2 * q.o3Residual[0], 1e-9);
    EXPECT_NEAR(q.o3TotalUnc[0], std::hypot(q.o3MeasuredUnc[0], q.o3ResidualUnc[0]), 1e-9);
    EXPECT_EQ(q.o3TotalUnc[1], Missing); // no serial number
    EXPECT_NEAR(q.o3CorrFactor[0], 300 / (q.o3Measured[0] + q.o3Residual[0]), 1e-12);
    EXPECT_EQ(q.o3CorrFactor[1], Missing);
}

TEST_F(ColumnUncertainty, SampleAtBackgroundStillCountsAndUnknownPartialPressureIsSkipped)
{
    // At the background the relative uncertainty has no bound, but dP does:
    // the current terms through the equation's slope.
    q.uncertainty = UncertaintySettings{};
    q.bkgRef[0] = 1.0;
    run();
    EXPECT_GT(q.o3MeasuredUnc[0], 0);
    EXPECT_NE(q.o3TotalUnc[0], Missing);
    // A sample without partial pressure is no layer boundary of the column,
    // nor of its uncertainty.
    const double withSample = q.o3MeasuredUnc[0];
    q.fltRecs.first()->next->data.o3.o3pp = Missing;
    run();
    EXPECT_NE(q.o3MeasuredUnc[0], Missing);
    EXPECT_NE(q.o3MeasuredUnc[0], withSample);
    // One sample left has no top layer: the CMR residual and so the total are unknown.
    EXPECT_EQ(q.o3ResidualUnc[0], Missing);
    EXPECT_EQ(q.o3TotalUnc[0], Missing);
}

TEST_F(ColumnUncertainty, TableResidualAndMissingBurstLeaveResidualAndTotalUnknown)
{
    q.resTable = 1;
    run();
    EXPECT_NE(q.o3MeasuredUnc[0], Missing);
    EXPECT_EQ(q.o3ResidualUnc[0], Missing);
    EXPECT_EQ(q.o3TotalUnc[0], Missing);
    q.resTable = 0;
    q.burstRec = nullptr;
    columnUncertainties(q);
    EXPECT_EQ(q.o3TotalUnc[0], Missing);
}

TEST_F(ColumnUncertainty, CorrectionFactorNeedsReferenceAndBurstAtTenHpa)
{
    burstP = 10;
    run();
    EXPECT_NE(q.o3CorrFactor[0], Missing);
    burstP = 10.5;
    run();
    EXPECT_EQ(q.o3CorrFactor[0], Missing);
    burstP = 8;
    q.reference.totalO3.reset();
    run();
    EXPECT_EQ(q.o3CorrFactor[0], Missing);
}

} // namespace
} // namespace lumo
