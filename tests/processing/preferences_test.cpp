#include <gtest/gtest.h>

#include "flight/q5.h"
#include "processing/flightimport.h"
#include "processing/preferences.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

TEST(Preferences, MissingFileGivesDefaults)
{
    test::TempDir dir;
    const Preferences p = readPreferences(dir.file("absent.ini"));
    EXPECT_FALSE(p.lDetGps);
    EXPECT_EQ(p.lDetVal, 2.0);
    EXPECT_FALSE(p.endFltPrOn);
    EXPECT_FALSE(p.endFltAltOn);
    EXPECT_EQ(p.endFltPr, 0);
    EXPECT_EQ(p.endFltAlt, 0);
    EXPECT_TRUE(p.showAll);
    EXPECT_EQ(p.lpFilter, 0);
    EXPECT_FALSE(p.resTable);
    EXPECT_EQ(p.resTableFile, "");
}

TEST(Preferences, ValuesSinglePrecisionAsShownAndFallBacks)
{
    test::TempDir dir;
    const std::string file = dir.write("lumo.ini", "[pref]\nlDet=GPS\nlDetVal=2.3\nendFlt=pa\nendFltPr=5.678\n"
                                                   "endFltAlt=-3\nshowAll=1\nLPfilter=2.36\n"
                                                   "[o3]\nresidual=xyz\nresidualTable=\"/t/res.toz\"\n");
    const Preferences p = readPreferences(file);
    EXPECT_TRUE(p.lDetGps);
    EXPECT_EQ(p.lDetVal, static_cast<double>(2.3f));
    EXPECT_NE(p.lDetVal, 2.3);
    EXPECT_TRUE(p.endFltPrOn);
    EXPECT_TRUE(p.endFltAltOn);
    EXPECT_EQ(p.endFltPr, 5.68); // the edit box shows "%1.2f"
    EXPECT_EQ(p.endFltAlt, 0);   // negative: fall-back
    EXPECT_FALSE(p.showAll);
    EXPECT_EQ(p.lpFilter, 2.4);
    EXPECT_TRUE(p.resTable);
    EXPECT_EQ(p.resTableFile, "/t/res.toz");

    const Preferences bad = readPreferences(dir.write("bad.ini", "[pref]\nlDetVal=abc\nendFlt=PA\nshowAll=YES\n"
                                                                "[o3]\nresidual=CMR\n"));
    EXPECT_EQ(bad.lDetVal, 2.0);
    EXPECT_FALSE(bad.endFltPrOn); // the letters are case-sensitive
    EXPECT_TRUE(bad.showAll);
    EXPECT_FALSE(bad.resTable);
}

TEST(Preferences, AppliedToQ5)
{
    Q5 q;
    Preferences p;
    p.endFltPr = 10;
    p.endFltAltOn = true;
    p.endFltAlt = 30000;
    p.lpFilter = 4;
    p.resTableFile = "ignored.toz";
    applyPreferences(q, p);
    EXPECT_EQ(q.endFltPr, 0); // shown but not in use
    EXPECT_EQ(q.endFltAlt, 30000);
    EXPECT_EQ(q.lpFilter, 4);
    EXPECT_EQ(q.resTable, 0);
    EXPECT_EQ(q.resTableFile, "");
    p.resTable = true;
    applyPreferences(q, p);
    EXPECT_EQ(q.resTableFile, "ignored.toz");
}

TEST(ImportRules, SensorsDecideDetectionAndReference)
{
    Q5 q;
    q.sfcCorrP = q.sfcCorrT = q.sfcCorrU = 1;
    q.rsPrInst = 1;
    q.rsGpsInst = 1;
    q.lDetGps = 1;
    q.sfcUseStd = 1;
    applyImportRules(q);
    EXPECT_EQ(q.lDetGps, 0);
    EXPECT_EQ(q.sfcUseStd, 0);
    EXPECT_EQ(q.sfcCorrP, 0);
    EXPECT_EQ(q.sfcCorrU, 0);

    q.rsPrInst = 0;
    q.rsGpsInst = 0; // neither: GPS is taken as installed
    applyImportRules(q);
    EXPECT_EQ(q.rsGpsInst, 1);
    EXPECT_EQ(q.rsPrInst, 0);
    EXPECT_EQ(q.lDetGps, 1);
    EXPECT_EQ(q.sfcUseStd, 1);

    q.rsPrInst = 1;
    q.rsGpsInst = 0;
    applyImportRules(q);
    EXPECT_EQ(q.rsPrInst, 1);
    EXPECT_EQ(q.rsGpsInst, 0);
    EXPECT_EQ(q.lDetGps, 0);
}

TEST(SurfaceCorrection, RadiosondeMinusStandard)
{
    Q5 q;
    q.sfcP = 1010.0;
    q.stdP = 1013.25;
    q.sfcT = 20;
    q.stdT = 19.5;
    q.sfcU = 40;
    q.stdU = 45;
    applySurfaceCorrection(q, true);
    EXPECT_DOUBLE_EQ(q.sfcCorrP, -3.25);
    EXPECT_EQ(q.sfcCorrT, 0.5);
    EXPECT_EQ(q.sfcCorrU, -5);
    EXPECT_DOUBLE_EQ(q.sfcP - q.sfcCorrP, 1013.25);
    applySurfaceCorrection(q, false);
    EXPECT_EQ(q.sfcCorrP, 0);
    EXPECT_EQ(q.sfcCorrT, 0);
    EXPECT_EQ(q.sfcCorrU, 0);
}

} // namespace
} // namespace lumo
