// Soak: 200 simulated flights with random faults, different seeds, chain
// lengths and instruments, each run through `lumo-batch process --export
// o3,winds,all`. Every run ends with exit code 0 or 1, no sanitizer report,
// and no NaN or infinity in any file or JSON line it writes.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/batchrun.h"
#include "jsoncheck.h"

namespace lumo {
namespace {

bool hasNanOrInf(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

bool hasSanitizerReport(const std::string& err)
{
    return err.find("runtime error") != std::string::npos || err.find("Sanitizer") != std::string::npos;
}

// Runs a command line, stderr into `errFile`; returns the exit code (-1 for a signal).
int runCommand(const std::string& cmd, const std::string& errFile)
{
    const int status = std::system((cmd + " >/dev/null 2>'" + errFile + "'").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct SoakFlight {
    std::vector<std::string> simulateArgs;
    std::string describe;
};

// Flight i of the soak: a short flight (burst at 3 to 12 km) so that 200 of
// them stay within a few minutes under the sanitizers.
SoakFlight soakFlight(int i, std::mt19937& rng)
{
    auto pick = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    SoakFlight f;
    const int sondes = 1 + i % 4;
    const bool gps = i % 5 != 3;
    const bool pressure = i % 7 != 5 || !gps; // a flight needs some pressure
    char faults[32], burst[32];
    std::snprintf(faults, sizeof faults, "%.3f", pick(0.0, 0.15));
    std::snprintf(burst, sizeof burst, "%.1f", pick(3.0, 12.0));
    f.simulateArgs = {"--seed", std::to_string(7000 + i), "--sondes", std::to_string(sondes), "--faults", faults,
        "--burst-km", burst, "--surface-min", "1", "--ground-s", "30", "--ptu-period", "2", "--gps-period", "2",
        "--ozone-period", "2", "--ascent-rate", "8"};
    if (!gps)
        f.simulateArgs.push_back("--no-gps");
    if (!pressure)
        f.simulateArgs.push_back("--no-pressure");
    if (i % 3 == 0)
        f.simulateArgs.push_back("--gps-velocities");
    if (i % 4 == 1)
        f.simulateArgs.push_back("--extended-ptu");
    if (i % 6 == 2) {
        const char* lats[] = {"-78.5", "0", "9.99", "-34.6", "69.7"};
        f.simulateArgs.insert(f.simulateArgs.end(), {"--lat", lats[i % 5]});
    }
    for (const std::string& a : f.simulateArgs)
        f.describe += a + " ";
    return f;
}

TEST(Soak, TwoHundredFaultyFlightsProcessCleanly)
{
    const test::TempDir dir;
    std::mt19937 rng(20240507);
    int processed = 0;
    for (int i = 0; i < 200; ++i) {
        const SoakFlight f = soakFlight(i, rng);
        SCOPED_TRACE("flight " + std::to_string(i) + ": " + f.describe);
        const std::string base = dir.file("f");
        const std::string out = dir.file("out");
        std::filesystem::remove_all(out);
        std::filesystem::create_directory(out);
        const std::string errFile = dir.file("err.txt");

        std::string sim = "'" LUMO_SIMULATE_EXE "' --out '" + base + "'";
        for (const std::string& a : f.simulateArgs)
            sim += " " + a;
        ASSERT_EQ(runCommand(sim, errFile), 0) << test::readFile(errFile);

        const test::BatchResult r =
            test::runBatch(dir, {"process", base + ".raw", "--json", "--export", "o3,winds,all", "--out-dir", out});
        ASSERT_FALSE(hasSanitizerReport(r.err)) << r.err;
        ASSERT_TRUE(r.exitCode == 0 || r.exitCode == 1) << r.exitCode << " " << r.err;
        if (r.exitCode == 0)
            ++processed;
        EXPECT_FALSE(hasNanOrInf(r.out)) << r.out.substr(0, 400);
        test::expectCleanJsonLines(r);
        for (const auto& e : std::filesystem::directory_iterator(out))
            ASSERT_FALSE(hasNanOrInf(test::readFile(e.path().string()))) << e.path();
    }
    // Faults damage flights, they do not make them unprocessable.
    std::printf("%d of 200 flights processed, the others refused with a message\n", processed);
    EXPECT_GE(processed, 180);
}

} // namespace
} // namespace lumo
