// lumo-batch process -j: several flights at once, reported as one worker
// would report them.

#include <filesystem>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/batchrun.h"

using namespace lumo::test;

namespace {

std::string copyFlight(const TempDir& dir, const std::string& sample, const std::string& as)
{
    dir.write(as + ".cfg", readFile(sourcePath("samples/" + sample + ".cfg")));
    return dir.write(as + ".raw", readFile(sourcePath("samples/" + sample + ".raw")));
}

std::vector<std::string> with(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

// The long four-ozonesonde flight first, so that later, shorter flights
// finish their work before it on the other workers.
TEST(BatchJobs, OutputIsByteIdenticalToOneWorker)
{
    TempDir dir;
    const std::string big = copyFlight(dir, "flight4", "big");
    const std::string small = copyFlight(dir, "flight1", "small");
    const std::string broken = dir.write("broken.raw", "not a raw file\n");
    dir.write("broken.cfg", readFile(sourcePath("samples/flight1.cfg")));
    const std::vector<std::string> flights{big, small, dir.file("missing.raw"), broken, small, big, small};
    for (const char* format : {"--json", "--answer=yes"}) {
        const BatchResult one = runBatch(dir, with({"process", format, "-j", "1"}, flights));
        const BatchResult three = runBatch(dir, with({"process", format, "-j", "3"}, flights));
        EXPECT_EQ(one.exitCode, 1);
        EXPECT_EQ(three.exitCode, 1);
        EXPECT_EQ(three.out, one.out);
        EXPECT_GE(one.lines().size(), flights.size()) << one.out;
        EXPECT_EQ(three.err, ""); // no progress line when stderr is no terminal
    }
}

TEST(BatchJobs, UsageErrorReportsTheFlightsBeforeItOnly)
{
    TempDir dir;
    const std::string big = copyFlight(dir, "flight4", "big");
    const std::string good = copyFlight(dir, "flight1", "good");
    std::string cfg = readFile(sourcePath("samples/flight1.cfg"));
    cfg.replace(cfg.find("GPS_inst=1"), 10, "GPS_inst=0");
    dir.write("nogps.cfg", cfg);
    const std::string noGps = dir.write("nogps.raw", readFile(good));
    const std::vector<std::string> flights{big, good, noGps, good, good};
    const BatchResult one = runBatch(dir, with({"process", "--json", "--launch-detect", "gps", "-j", "1"}, flights));
    const BatchResult two = runBatch(dir, with({"process", "--json", "--launch-detect", "gps", "-j", "2"}, flights));
    EXPECT_EQ(one.exitCode, 2);
    EXPECT_EQ(two.exitCode, 2);
    EXPECT_EQ(one.lines().size(), 2u);
    EXPECT_EQ(two.out, one.out);
    EXPECT_NE(two.err.find("no GPS installed"), std::string::npos) << two.err;
}

// A usage error in a flight stops the workers there: no flight after the
// ones already running starts, so none of them writes its exports.
TEST(BatchJobs, NoFlightStartsAfterAUsageError)
{
    TempDir dir;
    std::string cfg = readFile(sourcePath("samples/flight1.cfg"));
    cfg.replace(cfg.find("GPS_inst=1"), 10, "GPS_inst=0");
    dir.write("nogps.cfg", cfg);
    const std::string noGps = dir.write("nogps.raw", readFile(sourcePath("samples/flight1.raw")));
    std::vector<std::string> flights{noGps, copyFlight(dir, "flight4", "big")};
    for (const char* name : {"later1", "later2", "later3"})
        flights.push_back(copyFlight(dir, "flight1", name));
    const BatchResult r = runBatch(dir, with({"process", "--launch-detect", "gps", "--export", "o3", "-j", "2"}, flights));
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(r.out, "");
    for (const char* name : {"later1", "later2", "later3"})
        EXPECT_FALSE(std::filesystem::exists(dir.file(std::string(name) + ".o3csv"))) << name;
}

// Two flights exported under one name: the later argument's file stays, even
// when its processing ends first.
TEST(BatchJobs, ExportsOfTheSameNameAreRefusedBeforeAnyWork)
{
    TempDir dir;
    TempDir other;
    TempDir outDir;
    const std::string first = copyFlight(dir, "flight4", "x");
    const std::string second = copyFlight(other, "flight1", "x");
    const std::string out = outDir.file("");
    const BatchResult r =
        runBatch(dir, {"process", "-j", "2", "--export", "o3", "--out-dir", out, first, second});
    // The second flight would overwrite the first one's file: a usage error naming both.
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find(first + " and " + second + " would both write"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(outDir.file("x.o3csv")));
}
