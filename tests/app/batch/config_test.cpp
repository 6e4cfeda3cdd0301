#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/batchrun.h"

using namespace lumo::test;
using Json = nlohmann::ordered_json;

TEST(BatchConfig, PrintsTheConfigurationGroup)
{
    TempDir dir;
    const std::string cfg = dir.write("f.cfg",
                                      "[station]\nname=Payerne\nlat=46.81\nlong=6.94\nalt=-9999.9\ndate=2024/05/07\n"
                                      "[radiosonde]\nsondeID=R1\nprobeID=P2\nP_inst=0\n"
                                      "[bkg_corr]\nfile=b.bkg\nn=2\n00=1000,1\n01=10,0.8\n"
                                      "[pmp_eff]\nfile=e.eff\nn=1\n00=5,1.12\n"
                                      "[ozonesonde#2]\nsn=6A1\nbkg=0.05\nflow=28.6\n"
                                      "[surface]\np=962.5\no3#2=30.1\n[standard]\nu=68\n");
    const BatchResult r = runBatch(dir, {"config", cfg});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.lines().size(), 1u);
    const Json j = Json::parse(r.out);
    EXPECT_EQ(keysOf(j), (std::vector<std::string>{"ok", "status", "stnName", "stnLat", "stnLong", "stnAlt",
                                                    "fltYear", "fltMonth", "fltDay", "rsSondeId", "rsProbeId",
                                                    "rsPrInst", "rsGpsInst", "sfcP", "sfcT", "sfcU", "stdP", "stdT",
                                                    "stdU", "sfcO3", "bkgFile", "bkgP", "bkgVal", "effFile", "effP",
                                                    "effVal", "o3Sonde", "reference"}));
    EXPECT_EQ(j["ok"], true);
    EXPECT_EQ(j["status"], 0);
    EXPECT_EQ(j["stnName"], "Payerne");
    EXPECT_NE(r.out.find("\"stnAlt\":-9999.9,"), std::string::npos) << r.out;
    EXPECT_EQ(j["stnLat"].get<double>(), 46.81);
    EXPECT_EQ(j["fltYear"], 2024);
    EXPECT_EQ(j["fltMonth"], 5);
    EXPECT_EQ(j["fltDay"], 7);
    EXPECT_EQ(j["rsPrInst"], false);
    EXPECT_EQ(j["rsGpsInst"], true);
    EXPECT_EQ(j["sfcO3"], Json::parse("[0,30.1,0,0]"));
    EXPECT_EQ(j["bkgP"], Json::parse("[1000,10]"));
    EXPECT_EQ(j["bkgVal"], Json::parse("[1,0.8]"));
    EXPECT_EQ(j["effP"], Json::parse("[5]"));
    EXPECT_EQ(j["effVal"].at(0).get<double>(), 1.12);
    ASSERT_EQ(j["o3Sonde"].size(), 4u);
    EXPECT_EQ(keysOf(j["o3Sonde"][1]), (std::vector<std::string>{"sn", "bkg", "flow", "model", "solutionType",
                                                                  "solutionVolume", "ib0", "ib1", "ib2", "flowTemp",
                                                                  "flowHumidity", "thermistor"}));
    EXPECT_TRUE(j["o3Sonde"][1]["ib0"].is_null());
    EXPECT_TRUE(j["reference"]["totalO3"].is_null());
    EXPECT_EQ(j["o3Sonde"][1]["sn"], "6A1");
    EXPECT_EQ(j["o3Sonde"][1]["flow"].get<double>(), 28.6);
    EXPECT_EQ(j["o3Sonde"][0]["sn"], "");
    EXPECT_EQ(j["stdU"].get<double>(), 68.0);
}

TEST(BatchConfig, FailurePrintsTheObjectWithStatus)
{
    TempDir dir;
    BatchResult r = runBatch(dir, {"config", dir.file("absent.cfg")});
    EXPECT_EQ(r.exitCode, 1);
    Json j = Json::parse(r.out);
    EXPECT_EQ(j["ok"], false);
    EXPECT_EQ(j["status"], 0x11);
    EXPECT_EQ(j["stnName"], "None");
    EXPECT_EQ(j["rsSondeId"], "S0000");
    EXPECT_EQ(j["bkgP"], Json::array());

    r = runBatch(dir, {"config", dir.write("b.cfg", "[bkg_corr]\nn=1\n00=1000.0\n[pmp_eff]\nn=1\n00=x,1\n"
                                                    "[ozonesonde#1]\nsn=A\nbkg=0\nflow=0\n")});
    EXPECT_EQ(r.exitCode, 1);
    j = Json::parse(r.out);
    EXPECT_EQ(j["status"], 0x04 | 0x14 | 0x20);
    EXPECT_EQ(j["bkgP"], Json::parse("[1000]"));
    EXPECT_EQ(j["bkgVal"], Json::parse("[0]"));
}

TEST(BatchConfig, TextFromAnyEncodingIsValidJson)
{
    TempDir dir;
    // Latin-1 "Zürich", a quote and a control character.
    const BatchResult r =
        runBatch(dir, {"config", dir.write("l.cfg", "[station]\nname=Z\xFCrich \"Nord\"\x01\n[radiosonde]\n"
                                                    "sondeID=\xC3\xA9t\xC3\xA9\n")});
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["stnName"], "Z\xC3\xBCrich \"Nord\"\x01");
    EXPECT_EQ(j["rsSondeId"], "\xC3\xA9t\xC3\xA9");
}
