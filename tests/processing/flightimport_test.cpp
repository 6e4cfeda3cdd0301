#include <gtest/gtest.h>

#include "flight/q5.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

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

TEST(ImportFlight, FailuresCarryTheirMessageAndStage)
{
    test::TempDir dir;
    const std::string cfg = test::sourcePath("samples/flight1.cfg");
    const std::string raw = test::sourcePath("samples/flight1.raw");
    Q5 q;
    q.lDetGps = 1;
    q.sfcCorrP = 3;
    const ImportResult missingCfg = importFlight(q, raw, dir.file("none.cfg"));
    EXPECT_FALSE(missingCfg.configRead);
    EXPECT_EQ(missingCfg.error, "Error loading flight config, load aborted.");

    const ImportResult badRaw = importFlight(q, dir.write("bad.raw", "not telemetry\n"), cfg);
    EXPECT_TRUE(badRaw.configRead);
    EXPECT_EQ(badRaw.error, "Error loading flight data, load aborted.");
    EXPECT_FALSE(q.isLoaded());

    const ImportResult good = importFlight(q, raw, cfg);
    EXPECT_TRUE(good.ok());
    EXPECT_TRUE(q.isLoaded());
    // The rules ran: a pressure sensor is installed, so PTU detection and no correction.
    EXPECT_EQ(q.lDetGps, 0);
    EXPECT_EQ(q.sfcCorrP, 0);
}

TEST(ImportFlight, ClearsTheConfigurationOfTheFlightBefore)
{
    test::TempDir dir;
    Q5 q;
    ASSERT_TRUE(importFlight(q, test::sourcePath("samples/flight4.raw"), test::sourcePath("samples/flight4.cfg")).ok());
    ASSERT_NE(q.o3Sonde[3].sn[0], '\0');
    // A configuration without the fourth ozonesonde leaves no trace of it.
    ASSERT_TRUE(importFlight(q, test::sourcePath("samples/flight1.raw"), test::sourcePath("samples/flight1.cfg")).ok());
    EXPECT_EQ(q.o3Sonde[3].sn[0], '\0');
}

} // namespace
} // namespace lumo
