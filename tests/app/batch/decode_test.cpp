#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/batchrun.h"
#include "support/packets.h"

using namespace lumo::test;
using Json = nlohmann::ordered_json;
using Keys = std::vector<std::string>;

namespace {

const std::string Sep = "2024/05/07 11:59:59 \n";

} // namespace

TEST(BatchDecode, PrintsEveryRecordThenTheSummary)
{
    TempDir dir;
    const std::string raw = dir.write(
        "f.raw", rawLine(0, "00013412108A0138FFA00F3C") + rawLine(1, gpsPacket(45.5f, -73.25f)) + Sep +
                     rawLine(2, "0004FFFF108A0138FFA00F3CD00718FCFFFF") + rawLine(3, ozonePacket(2)) +
                     rawLine(4, "ab03cd02112233") +
                     rawLine(5, "0005" + floatHex(10) + floatHex(20) + "E80306" + floatHex(2000) + floatHex(-1.5f) +
                                    floatHex(0.25f) + "010203"));
    const BatchResult r = runBatch(dir, {"decode", raw});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = r.lines();
    ASSERT_EQ(lines.size(), 7u);
    std::vector<Json> j;
    for (const std::string& l : lines)
        j.push_back(Json::parse(l));

    const Keys head{"list", "type", "kind", "time"};
    const auto withHead = [&](Keys payload) {
        Keys k = head;
        k.insert(k.end(), payload.begin(), payload.end());
        return k;
    };
    const Keys ptuKeys = withHead({"frame", "p", "t", "u", "vbat", "tint", "tpr", "tu"});
    const Keys gpsKeys = withHead({"lat", "lon", "alt", "ewv", "nsv", "udv", "nSats", "gpsHour", "gpsMin", "gpsSec"});

    EXPECT_EQ(keysOf(j[0]), ptuKeys);
    EXPECT_EQ(j[0]["list"], "sfc");
    EXPECT_EQ(j[0]["type"], 1);
    EXPECT_EQ(j[0]["kind"], 0);
    EXPECT_EQ(j[0]["time"].get<double>(), 45419.5);
    EXPECT_EQ(j[0]["frame"], 0x1234);
    // Doubles print in the shortest text that reads back exactly: the
    // pressure is 100880 x 0.01, which is not the double nearest 1008.8.
    EXPECT_EQ(j[0]["p"].get<double>(), 100880 * 0.01);
    EXPECT_NE(lines[0].find("\"p\":1008.8000000000001,\"t\":-2,\"u\":40,\"vbat\":6,"), std::string::npos) << lines[0];

    EXPECT_EQ(keysOf(j[1]), gpsKeys);
    EXPECT_EQ(j[1]["lat"].get<double>(), 45.5);
    EXPECT_EQ(j[1]["lon"].get<double>(), -73.25);
    EXPECT_EQ(j[1]["alt"].get<double>(), 0.0);
    EXPECT_EQ(j[1]["nSats"], 7);

    EXPECT_EQ(j[2]["list"], "flt");
    EXPECT_EQ(keysOf(j[2]), ptuKeys);
    EXPECT_EQ(j[2]["tpr"].get<double>(), -10.0);

    EXPECT_EQ(keysOf(j[3]), withHead({"o3Num", "ic", "tp", "ip", "o3Bat"}));
    EXPECT_EQ(j[3]["kind"], 1);
    EXPECT_EQ(j[3]["o3Num"], 2);
    EXPECT_EQ(j[3]["ic"].get<double>(), 0.5);
    EXPECT_EQ(j[3]["tp"].get<double>(), -2.0);

    EXPECT_EQ(keysOf(j[4]), withHead({"bytes"}));
    EXPECT_EQ(j[4]["kind"], 2);
    EXPECT_EQ(j[4]["bytes"], "AB03CD02112233");

    EXPECT_EQ(keysOf(j[5]), gpsKeys);
    EXPECT_EQ(j[5]["type"], 5);
    EXPECT_EQ(j[5]["ewv"].get<double>(), 999.9990234375);
    EXPECT_EQ(j[5]["gpsSec"], 3);

    EXPECT_EQ(lines[6], R"({"summary":{"o3Count":2,"hasPtuExt":true,"hasGpsVel":true,"sfc":2,"flt":4}})");
    // The summary alone keeps no record but counts what the import keeps.
    EXPECT_EQ(runBatch(dir, {"decode", "--summary", raw}).out, lines[6] + "\n");
}

TEST(BatchDecode, SummaryOnly)
{
    TempDir dir;
    const std::string raw = dir.write("f.raw", rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, ptuPacket(0)) +
                                                   rawLine(2, ptuPacket(100000)) + rawLine(2, ptuPacket(100000)));
    const BatchResult r = runBatch(dir, {"decode", "--summary", raw});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"summary\":{\"o3Count\":0,\"hasPtuExt\":false,\"hasGpsVel\":false,\"sfc\":1,\"flt\":1}}\n");
}

TEST(BatchDecode, FailurePrintsOnlyTheMessageNamingTheFileAndWhy)
{
    TempDir dir;
    const std::string bad = dir.write("bad.raw", rawLine(0, ptuPacket(100000)) + "\n");
    const std::string empty = dir.write("empty.raw", "");
    const std::string folder = dir.path().string();
    const std::pair<std::string, std::string> cases[] = {
        {bad, bad + " is not a raw telemetry file"},
        {"absent.raw", "absent.raw: no such file"}, // named as given, relative to the working folder
        {folder, folder + ": it is a folder"},
        {empty, empty + " holds no records"},
    };
    for (const auto& [path, why] : cases)
        for (const bool summary : {false, true}) {
            const BatchResult r = runBatch(dir, summary ? std::vector<std::string>{"decode", "--summary", path}
                                                        : std::vector<std::string>{"decode", path});
            EXPECT_EQ(r.exitCode, 1) << path;
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, "Error loading flight data, load aborted: " + why + ".\n");
        }
}

TEST(BatchDecode, SampleFlightDecodes)
{
    TempDir dir;
    const BatchResult r = runBatch(dir, {"decode", "--summary", sourcePath("samples/flight1.raw")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json s = Json::parse(r.out)["summary"];
    EXPECT_GE(s["o3Count"].get<int>(), 1);
    EXPECT_TRUE(s["hasPtuExt"].get<bool>());
    EXPECT_TRUE(s["hasGpsVel"].get<bool>());
    EXPECT_GT(s["sfc"].get<int>(), 0);
    EXPECT_GT(s["flt"].get<int>(), 0);
}

TEST(BatchUsage, ErrorsExitWithTwo)
{
    TempDir dir;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"decode"}, {"frobnicate"}, {"decode", "--bogus", "x.raw"}, {"config"}, {"config", "a", "b"}}) {
        const BatchResult r = runBatch(dir, args);
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
    const BatchResult help = runBatch(dir, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("decode"), std::string::npos);
}
