// lumo-batch table FILE and the export options of lumo-batch process.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batchrun.h"

using namespace lumo::test;
using Json = nlohmann::ordered_json;

TEST(BatchTable, PrintsTheRowsOfAGoodTable)
{
    TempDir dir;
    const std::string path = dir.write("pump.eff", "1000.0   1.000\r\n\"500\"\t1.015\r\nnot a row\r\n3.5 1.2\r\n");
    const BatchResult r = runBatch(dir, {"table", path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(r.lines().size(), 1u);
    EXPECT_EQ(r.out, "{\"ok\":true,\"error\":null,\"p\":[1000,500,3.5],\"val\":[1,1.015,1.2]}\n");
}

TEST(BatchTable, ReportsEachFailureDistinctly)
{
    TempDir dir;
    BatchResult r = runBatch(dir, {"table", dir.file("absent.bkg")});
    EXPECT_EQ(r.exitCode, 1);
    Json j = Json::parse(r.out);
    EXPECT_EQ(keysOf(j), (std::vector<std::string>{"ok", "error", "p", "val"}));
    EXPECT_EQ(j["ok"], false);
    EXPECT_EQ(j["error"], "Unable to open cell background correction file:\n" + dir.file("absent.bkg"));
    EXPECT_TRUE(j["p"].empty());

    // A bad number empties the table: no row before it is reported.
    r = runBatch(dir, {"table", dir.write("bad.eff", "1000 1.0\n900 1,0,0\n800 1.2\n")});
    EXPECT_EQ(r.exitCode, 1);
    j = Json::parse(r.out);
    EXPECT_EQ(j["error"], "Error loading pump efficiency data. Line 2: 900 1,0,0");
    EXPECT_TRUE(j["p"].empty());
    EXPECT_TRUE(j["val"].empty());
}

TEST(BatchTable, ReadsAtMost64Rows)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 70; ++i)
        text += std::to_string(1000 - 10 * i) + " 1\n";
    const BatchResult r = runBatch(dir, {"table", dir.write("long.bkg", text)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = Json::parse(r.out);
    ASSERT_EQ(j["p"].size(), 64u);
    EXPECT_EQ(j["p"].back().get<double>(), 370.0);
}
