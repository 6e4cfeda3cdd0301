// lumo-batch process --plots: pictures of the plot windows for each flight,
// rendered without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/batchrun.h"

using lumo::test::runBatch;
using lumo::test::sourcePath;
using lumo::test::TempDir;

namespace fs = std::filesystem;

namespace {

// PNG signature and the size of the IHDR chunk's picture.
bool pngOfSize(const std::string& path, unsigned width, unsigned height)
{
    const std::string bytes = lumo::test::readFile(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return false;
    auto be32 = [&](std::size_t at) {
        return (unsigned(static_cast<unsigned char>(bytes[at])) << 24)
            | (unsigned(static_cast<unsigned char>(bytes[at + 1])) << 16)
            | (unsigned(static_cast<unsigned char>(bytes[at + 2])) << 8) | unsigned(static_cast<unsigned char>(bytes[at + 3]));
    };
    return be32(16) == width && be32(20) == height;
}

} // namespace

TEST(BatchPlots, WritesTheWindowsOfEveryFlight)
{
    TempDir dir;
    const std::string out = dir.file("plots");
    const auto r = runBatch(dir, {"process", "--plots", out, sourcePath("samples/flight1.raw"),
                                     sourcePath("samples/flight4.raw")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* flight : {"flight1", "flight4"}) {
        const std::string base = out + "/" + flight;
        EXPECT_TRUE(pngOfSize(base + "-surface.png", 900, 500)) << base;
        EXPECT_TRUE(pngOfSize(base + "-flight.png", 600, 600)) << base;
        EXPECT_TRUE(pngOfSize(base + "-profile.png", 600, 700)) << base;
        EXPECT_TRUE(pngOfSize(base + "-winds.png", 607, 647)) << base;
    }
    EXPECT_NE(r.out.find("flight4-winds.png"), std::string::npos) << r.out;
}

TEST(BatchPlots, QuantitiesDecideTheWindPicture)
{
    TempDir dir;
    const std::string out = dir.file("plots");
    const auto r = runBatch(dir, {"process", "--plots", out, "--plot-quantities", "T,O3pp.1",
                                     sourcePath("samples/flight1.raw")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::exists(out + "/flight1-flight.png"));
    EXPECT_FALSE(fs::exists(out + "/flight1-winds.png"));
}

TEST(BatchPlots, UnknownQuantityIsAUsageError)
{
    TempDir dir;
    const auto r = runBatch(dir, {"process", "--plots", dir.file("plots"), "--plot-quantities", "T,Ozone",
                                     sourcePath("samples/flight1.raw")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Ozone"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir.file("plots")));
}

TEST(BatchPlots, QuantitiesWithoutPlotsAreRefused)
{
    TempDir dir;
    const auto r = runBatch(dir, {"process", "--plot-quantities", "T", sourcePath("samples/flight1.raw")});
    EXPECT_EQ(r.exitCode, 2);
}

// The plot windows come from a module beside the program: a copy of the
// program without it still decodes, and refuses --plots naming the module.
TEST(BatchPlots, WithoutThePlotModuleOnlyPlotsAreRefused)
{
    TempDir dir;
    const std::string exe = dir.file("lumo-batch");
    fs::copy_file(LUMO_BATCH_EXE, exe);
    const std::string errFile = dir.file("err.txt");
    const auto run = [&](const std::string& args) {
        std::string cmd = "'";
        cmd.append(exe).append("' ").append(args).append(" 2>'").append(errFile).append("' >/dev/null");
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const std::string raw = sourcePath("samples/flight1.raw");
    EXPECT_EQ(run("decode --summary '" + raw + "'"), 0);
    EXPECT_EQ(run("process --plots '" + dir.file("plots") + "' '" + raw + "'"), 2);
    const std::string err = lumo::test::readFile(errFile);
    EXPECT_NE(err.find("cannot load the plot module " + dir.file("liblumo-batch-plots.so")), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir.file("plots")));
}
