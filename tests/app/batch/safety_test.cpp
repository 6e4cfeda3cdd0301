// lumo-batch process refuses, before any work, what would lose data or hang:
// outputs of one name, outputs that are inputs, inputs that are no regular
// files; and it never reports a number it did not compute.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/batchrun.h"

using namespace lumo::test;
using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

namespace {

// The small test flight (one ozonesonde, 5A22362) as NAME.raw and NAME.cfg,
// its serial replaced by `sn` when given.
std::string smallFlight(const TempDir& dir, const std::string& name, const std::string& sn = "")
{
    std::string cfg = readFile(sourcePath("tests/output/flights/nogps.cfg"));
    if (!sn.empty())
        cfg.replace(cfg.find("sn=5A22362"), 10, "sn=" + sn);
    dir.write(name + ".cfg", cfg);
    return dir.write(name + ".raw", readFile(sourcePath("tests/output/flights/nogps.raw")));
}

bool says(const BatchResult& r, const std::string& text) { return r.err.find(text) != std::string::npos; }

} // namespace

TEST(BatchSafety, ArchiveNamesThatWouldClashAreRefusedBeforeAnyWork)
{
    TempDir dir;
    const std::string out = dir.file("out");
    fs::create_directory(out);
    const std::string prefs = dir.write("lumo.ini", "[archive]\nagency=LUMO\n");
    // Two raw names, one ozonesonde: one WOUDC file (same date, serial, agency).
    const std::string a = smallFlight(dir, "a");
    const std::string b = smallFlight(dir, "b");
    BatchResult r = runBatch(dir, {"process", "-j", "2", "--prefs", prefs, "--export", "woudc", "--out-dir", out, a, b});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_TRUE(says(r, a + " and " + b + " would both write " + out + "/YYYYMMDD.ECC.5A.5A22362.LUMO.csv"))
        << r.err;
    EXPECT_TRUE(fs::is_empty(out));

    // Serials the old name cleaning mapped to one text now name two files.
    const std::string dotted = smallFlight(dir, "dotted", "5A.11");
    const std::string dashed = smallFlight(dir, "dashed", "5A-11");
    r = runBatch(dir, {"process", "--json", "--prefs", prefs, "--export", "woudc,ames", "--out-dir", out, dotted, dashed});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Json::parse(lines[0])["exports"][0], out + "/20260615.ECC.5A.5A%2E11.LUMO.csv");
    EXPECT_EQ(Json::parse(lines[1])["exports"][0], out + "/20260615.ECC.5A.5A-11.LUMO.csv");
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4);

    // Two chain positions with one serial write one file twice.
    std::string twice = readFile(sourcePath("tests/output/flights/nogps.cfg"));
    twice += "\n[ozonesonde#2]\nsn=5A22362\nbkg=0.05\nflow=29\n";
    dir.write("twice.cfg", twice);
    const std::string twiceRaw = dir.write("twice.raw", readFile(a));
    r = runBatch(dir, {"process", "--export", "ames", "--out-dir", out, twiceRaw});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_TRUE(says(r, twiceRaw + " would write " + out + "/twice.5A22362.bHH twice")) << r.err;
}

TEST(BatchSafety, AnExportNeverReplacesAnInput)
{
    TempDir dir;
    const std::string cfgText = readFile(sourcePath("tests/output/flights/nogps.cfg"));
    const std::string rawText = readFile(sourcePath("tests/output/flights/nogps.raw"));
    // The raw file has the export's name; then the configuration given by --cfg.
    const std::string raw = dir.write("f.o3csv", rawText);
    dir.write("f.cfg", cfgText);
    BatchResult r = runBatch(dir, {"process", "--export", "o3", raw});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(says(r, "the output " + raw + " is the input " + raw)) << r.err;
    EXPECT_EQ(readFile(raw), rawText);

    const std::string k = dir.write("k.raw", rawText);
    const std::string cfg = dir.write("k.o3csv", cfgText);
    r = runBatch(dir, {"process", "--cfg", cfg, "--export", "o3", k});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(readFile(cfg), cfgText);

    // Through a link: the netCDF file of g.raw would be the link's target.
    const std::string g = dir.write("g.raw", rawText);
    dir.write("g.cfg", cfgText);
    fs::create_directory(dir.file("out"));
    fs::create_symlink(g, dir.file("out/g.nc"));
    r = runBatch(dir, {"process", "--export", "nc", "--out-dir", dir.file("out"), g});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(says(r, " is the input " + g)) << r.err;
    EXPECT_EQ(readFile(g), rawText);
}

TEST(BatchSafety, TheFolderWriteTestTouchesNoExistingName)
{
    TempDir dir;
    const std::string raw = smallFlight(dir, "f");
    const std::string victim = dir.write("victim.txt", "keep me");
    const std::string out = dir.file("out");
    fs::create_directory(out);
    fs::create_symlink(victim, out + "/.lumo-write-test");
    const BatchResult r = runBatch(dir, {"process", "--export", "o3", "--out-dir", out, raw});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(victim), "keep me");
    EXPECT_TRUE(fs::is_symlink(out + "/.lumo-write-test"));
}

TEST(BatchSafety, InputsThatAreNoRegularFilesAreRefusedWithinSeconds)
{
    TempDir dir;
    const std::string raw = smallFlight(dir, "f");
    const std::string fifo = dir.file("pipe.raw");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dir.write("pipe.cfg", readFile(dir.file("f.cfg")));
    const std::string zero = dir.file("zero.raw");
    fs::create_symlink("/dev/zero", zero);
    dir.write("zero.cfg", readFile(dir.file("f.cfg")));
    const std::string prefsFifo = dir.file("prefs.ini");
    ASSERT_EQ(::mkfifo(prefsFifo.c_str(), 0600), 0);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"process", "-j", "2", raw, fifo}, fifo + ": it is a FIFO (named pipe), not a regular file"},
        {{"process", zero}, zero + ": it is a device, not a regular file"},
        {{"process", "--prefs", prefsFifo, raw}, prefsFifo + ": it is a FIFO (named pipe), not a regular file"},
    };
    for (const auto& [args, why] : cases) {
        const BatchResult r = runBatchWithin(dir, args, 20);
        EXPECT_EQ(r.exitCode, 2) << why << r.err; // 124 when the time ran out
        EXPECT_TRUE(says(r, why + "; nothing was read")) << r.err;
        EXPECT_EQ(r.out, "");
    }
    // A loop of links is named as one, not as a missing file.
    fs::create_symlink(dir.file("loop2.raw"), dir.file("loop1.raw"));
    fs::create_symlink(dir.file("loop1.raw"), dir.file("loop2.raw"));
    const BatchResult loop = runBatchWithin(dir, {"process", dir.file("loop1.raw")}, 20);
    EXPECT_TRUE(says(loop, dir.file("loop1.raw") + ": its links form a loop")) << loop.err;
}

TEST(BatchSafety, NoSilentNumbersFromSettingsOrFailedFlights)
{
    TempDir dir;
    // A folder as the preferences: the defaults, said.
    std::string cfg = readFile(sourcePath("tests/output/flights/nogps.cfg"));
    dir.write("f.cfg", cfg + "\n[reference]\ntotalO3=-300\n");
    const std::string raw = dir.write("f.raw", readFile(sourcePath("tests/output/flights/nogps.raw")));
    fs::create_directory(dir.file("prefs"));
    BatchResult r = runBatch(dir, {"process", "--json", "--prefs", dir.file("prefs"), raw});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    Json j = Json::parse(r.out);
    std::vector<std::string> codes;
    for (const Json& w : j["warnings"])
        codes.push_back(w["code"]);
    EXPECT_NE(std::find(codes.begin(), codes.end(), "prefs-missing"), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), "reference-value"), codes.end());
    EXPECT_TRUE(j["sondes"][0]["correctionFactor"].is_null());

    // A flight whose raw file does not load: every column is unknown.
    dir.write("bad.cfg", cfg);
    const std::string bad = dir.write("bad.raw", "2026/06/15 10:00:00 not a packet\n");
    r = runBatch(dir, {"process", "--json", bad});
    EXPECT_EQ(r.exitCode, 1);
    j = Json::parse(r.out);
    ASSERT_EQ(j["sondes"].size(), 1u);
    for (const char* key : {"measured", "residual", "total", "topMix"})
        EXPECT_TRUE(j["sondes"][0][key].is_null()) << key << " " << j["sondes"][0][key];
}

TEST(BatchSafety, ANameTooLongForTheFileSystemIsSaidBeforeAnyWork)
{
    TempDir dir;
    const std::string stem(245, 'n');
    dir.write(stem + ".cfg", readFile(sourcePath("tests/output/flights/nogps.cfg")));
    const std::string raw = dir.write(stem + ".raw", readFile(sourcePath("tests/output/flights/nogps.raw")));
    const BatchResult r = runBatch(dir, {"process", "--export", "o3", raw});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(says(r, "the output name " + dir.file(stem + ".o3csv") + " is too long for the file system (251 bytes;"))
        << r.err;
}

TEST(BatchSafety, MetadataThatIsNotUtf8NamesRealFilesAndNeverPutsControlBytesInThem)
{
    TempDir dir;
    const std::string raw = smallFlight(dir, "f");
    const std::string prefs = dir.write("lumo.ini", "[archive]\nagency=Z\xFCrich\x01\n");
    const BatchResult r = runBatch(dir, {"process", "--json", "--prefs", prefs, "--export", "woudc,nc", raw});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = Json::parse(r.out);
    ASSERT_EQ(j["exports"].size(), 2u);
    const std::string woudc = j["exports"][0];
    EXPECT_EQ(fs::path(woudc).filename().string(), "20260615.ECC.5A.5A22362.Z%C3%BCrich%EF%BF%BD.csv");
    ASSERT_TRUE(fs::is_regular_file(woudc));
    const std::string text = readFile(woudc);
    EXPECT_NE(text.find("Z\xC3\xBCrich\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(std::count_if(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n'; }),
              0);
    EXPECT_EQ(j["warnings"][0]["code"], "prefs-value");
}
