// lumo-batch on the classic bad inputs: a failure exits with 1 and says why
// on stderr; whatever it prints is valid JSON without a number that is not
// finite (which the JSON writer would print as null).
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "badinputs.h"
#include "support/batchrun.h"
#include "jsoncheck.h"
#include "correctiontables.h"
#include "hardflight.h"

namespace lumo {
namespace {

using test::Bad;

bool failsAsDocumented(const test::BatchResult& r, const std::string& message)
{
    return r.exitCode == 1 && r.err.find(message) != std::string::npos;
}

TEST(BatchBadInput, DecodeFailsWithTheLoadMessageOrPrintsCleanRecords)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const test::TempDir dir;
    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string path = test::makeBad(dir, test::badName(kind), kind, flight.raw);
        const test::BatchResult r = test::runBatch(dir, {"decode", "--summary", path});
        if (kind == Bad::Empty) {
            EXPECT_TRUE(failsAsDocumented(r, path + " holds no records.")) << r.exitCode << r.err;
        } else if (kind == Bad::TruncatedLastLine || kind == Bad::NulBytes || kind == Bad::Utf8Bom) {
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.lines().size(), 1u);
            test::expectCleanJsonLines(r);
        } else {
            EXPECT_TRUE(failsAsDocumented(r, "Error loading flight data, load aborted: " + path)) << r.exitCode << r.err;
            EXPECT_TRUE(r.out.empty());
        }
    }
}

TEST(BatchBadInput, DecodePrintsEveryRecordOfADamagedFileAsCleanJson)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const test::TempDir dir;
    const test::BatchResult r =
        test::runBatch(dir, {"decode", test::makeBad(dir, "nul.raw", Bad::NulBytes, flight.raw)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(r.lines().size(), 1000u);
    test::expectCleanJsonLines(r);
}

TEST(BatchBadInput, ConfigReportsAnUnusableFileWithExitCode1)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const std::string text = sim::formatConfig(flight);
    const test::TempDir dir;
    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string path = test::makeBad(dir, test::badName(kind), kind, text, "[station]name=");
        const test::BatchResult r = test::runBatch(dir, {"config", path});
        const bool usable = kind == Bad::TruncatedLastLine || kind == Bad::CrOnlyLineEnds || kind == Bad::Utf8Bom;
        if (usable) {
            EXPECT_EQ(r.exitCode, 0) << r.err;
        } else if (kind != Bad::NulBytes) {
            EXPECT_EQ(r.exitCode, 1);
        }
        ASSERT_EQ(r.lines().size(), 1u);
        test::expectCleanJsonLines(r);
        const auto j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j.at("ok").get<bool>(), r.exitCode == 0);
    }
}

TEST(BatchBadInput, TableReportsTheProblemInItsJson)
{
    const std::string text = sim::formatTableFile(sim::CorrectionTables::standard().background);
    const test::TempDir dir;
    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string path = test::makeBad(dir, std::string(test::badName(kind)) + ".bkg", kind, text, "1000.0 1.0 ");
        const test::BatchResult r = test::runBatch(dir, {"table", path});
        ASSERT_EQ(r.lines().size(), 1u) << r.err;
        test::expectCleanJsonLines(r);
        const auto j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j.at("ok").get<bool>(), r.exitCode == 0);
        if (r.exitCode != 0) {
            EXPECT_FALSE(j.at("error").get<std::string>().empty());
        }
    }
}

// `lumo-batch process` on damaged raw files: the load failure message or a
// complete run whose files and summary hold only finite numbers.
TEST(BatchBadInput, ProcessFailsCleanlyOrExportsFiniteNumbers)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const test::TempDir dir;
    const std::string cfgText = sim::formatConfig(flight);
    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string name = std::string(test::badName(kind));
        const std::string raw = test::makeBad(dir, name + ".raw", kind, flight.raw);
        dir.write(name + ".cfg", cfgText); // found beside the raw file
        const std::string out = dir.file(name + "-out");
        std::filesystem::create_directory(out);
        const test::BatchResult r =
            test::runBatch(dir, {"process", raw, "--json", "--export", "o3,winds,all", "--out-dir", out});
        EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1) << r.exitCode << r.err;
        if (r.exitCode == 1) {
            EXPECT_TRUE(!r.err.empty() || r.out.find("\"error\":\"") != std::string::npos) << r.out;
        }
        test::expectCleanJsonLines(r);
        for (const auto& e : std::filesystem::directory_iterator(out))
            EXPECT_FALSE(test::hasNanOrInf(test::readFile(e.path().string()))) << e.path();
    }
}

// A FIFO would block a reader for ever and a link to /dev/zero feed it for
// ever: every subcommand names the path and ends within seconds.
TEST(BatchBadInput, FifosAndEndlessDevicesEndWithinSeconds)
{
    const test::TempDir dir;
    const std::string fifo = dir.file("pipe.cfg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = dir.file("zero.raw");
    std::filesystem::create_symlink("/dev/zero", zero);
    for (const std::string& path : {fifo, zero}) {
        for (const char* command : {"decode", "config", "table", "process"}) {
            SCOPED_TRACE(path + " " + command);
            const std::vector<std::string> args =
                std::string(command) == "decode" ? std::vector<std::string>{command, "--summary", path}
                                                 : std::vector<std::string>{command, path};
            const test::BatchResult r = test::runBatchWithin(dir, args, 20);
            EXPECT_TRUE(r.exitCode == 1 || r.exitCode == 2) << r.exitCode << " (124: the time ran out)";
            EXPECT_NE((r.err + r.out).find(path + ": it is a "), std::string::npos) << r.err << r.out;
        }
    }
    // As preferences and as configuration of a readable raw file.
    const sim::SimulatedFlight flight = test::shortFlight();
    const std::string raw = dir.write("f.raw", flight.raw);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"process", "--prefs", fifo, raw}, {"process", "--cfg", zero, raw}}) {
        const test::BatchResult r = test::runBatchWithin(dir, args, 20);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_NE(r.err.find("nothing was read"), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace lumo
