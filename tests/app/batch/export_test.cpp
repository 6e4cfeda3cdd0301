// lumo-batch table FILE and the export options of lumo-batch process.
//
// tests/output/flights/nogps.* is a small simulated flight without GPS:
//     lumo-simulate --out nogps --no-gps --burst-km 3 --surface-min 1 --duration-min 9
//                   --ground-s 30 --ptu-period 2 --ozone-period 2 --seed 3

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/batchrun.h"

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

namespace {

const std::string Header = "ORVANE T4-Q5 Post Processor Output, version 1.0.2.4\r\n\r\n";

// Copies a sample flight (raw and configuration) into the scratch folder.
std::string copyFlight(const TempDir& dir, const std::string& sourceBase, const std::string& name)
{
    namespace fs = std::filesystem;
    fs::copy_file(sourcePath(sourceBase + ".raw"), dir.path() / (name + ".raw"));
    fs::copy_file(sourcePath(sourceBase + ".cfg"), dir.path() / (name + ".cfg"));
    return dir.file(name + ".raw");
}

std::vector<std::string> namesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(BatchExport, WritesEveryKindBesideTheRawFile)
{
    TempDir dir;
    const std::string raw = copyFlight(dir, "samples/flight1", "flight1");
    const BatchResult r = runBatch(dir, {"process", "--json", "--export", "o3,winds,all", raw});
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["ok"], true);
    EXPECT_EQ(j["exports"], Json::array({dir.file("flight1.o3csv"), dir.file("flight1.wcsv"), dir.file("flight1.csv")}));
    // No temporary file is left behind.
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"flight1.cfg", "flight1.csv", "flight1.o3csv",
                                                             "flight1.raw", "flight1.wcsv", "stderr.txt"}));

    const std::string sourceLines = "Source file = " + raw + "\r\nConfig file = " + dir.file("flight1.cfg") + "\r\n";
    for (const char* ext : {".o3csv", ".wcsv", ".csv"}) {
        const std::string text = readFile(dir.file(std::string("flight1") + ext));
        EXPECT_EQ(text.substr(0, Header.size() + sourceLines.size()), Header + sourceLines) << ext;
    }
    const std::string o3 = readFile(dir.file("flight1.o3csv"));
    EXPECT_NE(o3.find("\r\nLaunch detected by PTU at " + j["launch"]["text"].get<std::string>() + "\r\n"),
              std::string::npos);
    const std::string wind = readFile(dir.file("flight1.wcsv"));
    EXPECT_GT(std::count(wind.begin(), wind.end(), '\n'), 100);
}

TEST(BatchExport, OutDirAndConfigurationPathAsGiven)
{
    TempDir dir;
    const std::string cfg = sourcePath("tests/output/flights/nogps.cfg");
    const std::string raw = sourcePath("tests/output/flights/nogps.raw");
    std::filesystem::create_directory(dir.path() / "out");
    const BatchResult r =
        runBatch(dir, {"process", "--json", "--cfg", cfg, "--export", "o3,o3", "--out-dir", dir.file("out"), raw});
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["exports"], Json::array({(dir.path() / "out" / "nogps.o3csv").string()}));
    const std::string o3 = readFile(dir.file("out/nogps.o3csv"));
    EXPECT_NE(o3.find("Source file = " + raw + "\r\nConfig file = " + cfg + "\r\n"), std::string::npos);

    // Without --prefs every record is shown: the first flight row comes
    // before the launch.
    const std::size_t flight = o3.find("Flight:\r\n");
    ASSERT_NE(flight, std::string::npos);
    const std::size_t firstRow = o3.find("\r\n", flight + 9) + 2;
    EXPECT_LT(o3.substr(firstRow + 12, 12), j["launch"]["text"].get<std::string>());
}

TEST(BatchExport, WindFileOfAFlightWithoutGpsHasItsHeadersOnly)
{
    TempDir dir;
    const std::string raw = copyFlight(dir, "tests/output/flights/nogps", "nogps");
    const BatchResult r = runBatch(dir, {"process", "--json", "--export", "winds", raw});
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    const std::string wind = readFile(dir.file("nogps.wcsv"));
    const std::string tail = "\r\n\r\nFlight:\r\n   PC_date,      PC_time,  Alt(m), Ws(m/s), Wd(deg),  u(m/s),  v(m/s)\r\n";
    ASSERT_GT(wind.size(), tail.size());
    EXPECT_EQ(wind.substr(wind.size() - tail.size()), tail);
    EXPECT_NE(wind.find("  GPSin = no\r\n"), std::string::npos);
}

TEST(BatchExport, AnExportThatCannotBeWrittenFailsTheFlight)
{
    TempDir dir;
    const std::string raw = copyFlight(dir, "tests/output/flights/nogps", "nogps");
    // A folder in the place of the wind file: the ozone file is written, the
    // wind file cannot be, and the all-data file is not tried.
    std::filesystem::create_directory(dir.path() / "nogps.wcsv");
    const BatchResult r = runBatch(dir, {"process", "--json", "--export", "o3,winds,all", raw});
    EXPECT_EQ(r.exitCode, 1);
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["ok"], false);
    EXPECT_EQ(j["error"], "Unable to open file to export data.");
    EXPECT_EQ(j["exports"], Json::array({dir.file("nogps.o3csv")}));
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"nogps.cfg", "nogps.o3csv", "nogps.raw", "nogps.wcsv", "stderr.txt"}));

    // An output folder that does not exist yet is made.
    const BatchResult missing =
        runBatch(dir, {"process", "--json", "--export", "all", "--out-dir", dir.file("no/such"), raw});
    EXPECT_EQ(missing.exitCode, 0) << missing.err;
    EXPECT_EQ(Json::parse(missing.out)["exports"], Json::array({dir.file("no/such/nogps.csv")}));
}

TEST(BatchExport, FailedProcessingWritesNothing)
{
    TempDir dir;
    const std::string raw = copyFlight(dir, "tests/output/flights/nogps", "nogps");
    // A saved surface pressure below 500 hPa, kept (the question is answered
    // no), stops the processing run.
    std::string cfg = readFile(dir.file("nogps.cfg"));
    const std::size_t surface = cfg.find("p=", cfg.find("[surface]"));
    cfg.replace(surface, cfg.find('\n', surface) - surface, "p=400.0");
    dir.write("nogps.cfg", cfg);
    const BatchResult r = runBatch(dir, {"process", "--json", "--export", "o3", raw});
    EXPECT_EQ(r.exitCode, 1);
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["error"], "Error calculating total ozone data.");
    EXPECT_EQ(j["exports"], Json::array());
    EXPECT_FALSE(std::filesystem::exists(dir.file("nogps.o3csv")));
}

TEST(BatchExport, UnknownKindIsAUsageError)
{
    TempDir dir;
    const std::string raw = copyFlight(dir, "tests/output/flights/nogps", "nogps");
    for (const char* list : {"o3,wind", "o3,,all", "csv"}) {
        const BatchResult r = runBatch(dir, {"process", "--export", list, raw});
        EXPECT_EQ(r.exitCode, 2) << list;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("nogps.o3csv")));
}

TEST(BatchExport, ArchiveFilesWithTheStationMetadataOfThePreferences)
{
    TempDir dir;
    const std::string raw = copyFlight(dir, "tests/output/flights/nogps", "nogps");
    const std::string prefs = dir.write("lumo.ini", "[archive]\nagency=LUMO\nplatformId=999\ncountry=CHE\n");
    std::filesystem::create_directory(dir.path() / "out");
    BatchResult r = runBatch(dir, {"process", "--json", "--prefs", prefs, "--export", "nc,woudc,o3,ames", "--out-dir",
                                   dir.file("out"), raw});
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    Json j = Json::parse(r.out);
    const auto out = [&dir](const char* name) { return (dir.path() / "out" / name).string(); };
    EXPECT_EQ(j["exports"], Json::array({out("nogps.o3csv"), out("nogps.nc"),
                                         out("20260615.ECC.5A.5A22362.LUMO.csv"), out("nogps.5A22362.b10")}));
    EXPECT_FALSE(j.contains("archiveWarnings"));
    EXPECT_NE(readFile(out("20260615.ECC.5A.5A22362.LUMO.csv")).find("\r\nSTN,999,Lumo Sim,CHE,\r\n"),
              std::string::npos);

    // Without the preferences the files are written and what they lack is said.
    r = runBatch(dir, {"process", "--json", "--export", "woudc", raw});
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    j = Json::parse(r.out);
    EXPECT_EQ(j["exports"], Json::array({dir.file("20260615.ECC.5A.5A22362.unknown.csv")}));
    ASSERT_EQ(j["archiveWarnings"].size(), 3u);
    EXPECT_NE(j["archiveWarnings"][0].get<std::string>().find("agency"), std::string::npos);
}
