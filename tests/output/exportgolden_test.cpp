// Golden-file tests: a small hand-built flight is exported in every kind and
// compared byte for byte with the reference files in tests/output/golden/.
//
// To regenerate the references after an intended change of the format, run
//     LUMO_REGENERATE_GOLDEN=1 <build>/tests/output/output_tests --gtest_filter='*ExportGolden*'
// which rewrites the files in the source tree. Then check every changed file
// by eye against the file format (field widths, blank fields, CR LF line
// ends) before committing it: the test only proves that nothing changed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

#include "output/exportfile.h"
#include "support/testfiles.h"
#include "testflight.h"

namespace lumo {
namespace {

using test::addGps;
using test::addOzone;
using test::addPtu;
using test::addWind;
using test::setProcessed;

// One combination of the PTU layout (pressure sensor, extended packets), the
// GPS layout (velocities) and the number of ozonesondes.
struct Layout {
    const char* name;
    bool pressure;
    bool extended;
    bool velocities;
    std::uint32_t sondes;
};

void PrintTo(const Layout& layout, std::ostream* os) { *os << layout.name; }

const Layout Layouts[] = {
    {"pr-ext-vel-2sondes", true, true, true, 2},
    {"pr-short-novel-1sonde", true, false, false, 1},
    {"nopr-ext-novel-1sonde", false, true, false, 1},
    {"nopr-short-vel-2sondes", false, false, true, 2},
};

// Surface: an ozone packet before the first PTU packet, ozone rows before
// and after the first GPS fix, a time that rounds up to the next second and
// a type-3 packet of another instrument. Flight: records before the launch,
// at launch and burst times and after the burst (`showAll` clear), a GPS fix
// without derived pressure, an invalid partial pressure and two winds at the
// same time.
void buildFlight(Q5& q5, const Layout& l)
{
    test::setStation(q5);
    q5.rsPrInst = l.pressure;
    q5.rsGpsInst = 1;
    q5.hasPtuExt = l.extended;
    q5.hasGpsVel = l.velocities;
    q5.o3Count = l.sondes;
    q5.showAll = 0;
    q5.lDetGps = l.velocities;
    q5.resTable = l.extended;
    q5.sfcCorrP = 0.5;
    q5.sfcCorrT = -0.25;
    q5.sfcCorrU = 1.0;
    copyText(q5.o3Sonde[0].sn, "Z31234");
    q5.o3Sonde[0].bkg = 0.05;
    q5.o3Sonde[0].flow = 28.46;
    if (l.sondes > 1) {
        copyText(q5.o3Sonde[1].sn, "Z31240");
        q5.o3Sonde[1].bkg = 0.125;
        q5.o3Sonde[1].flow = 29.04;
    }
    q5.o3Measured[0] = 281.27;
    q5.o3Residual[0] = 45.08;
    q5.o3Measured[1] = 279.94;
    q5.o3Residual[1] = 44.04;
    const int second = l.sondes > 1 ? 2 : 1;
    const bool ext = l.extended;
    const bool vel = l.velocities;

    auto& s = q5.sfcRecs;
    addOzone(s, 32390.0, 1, 0.611, 25.1, 99, 18.0).data.o3.o3pp = 45.5;
    addPtu(s, 32400.0, 963.47, 21.36, 45.3, 18.4, ext);
    addOzone(s, 32401.25, 1, 0.512, 24.5, 98, 17.9).data.o3.o3pp = 41.236;
    addGps(s, 32402.0, 46.81234, 6.94321, 492.6, 7, vel);
    addOzone(s, 32403.5, second, 0.498, 24.7, 101, 17.85).data.o3.o3pp = 39.87;
    addPtu(s, 32404.0, 963.52, 21.41, 45.1, 18.4, ext);
    addOzone(s, 32405.9996, 1, 0.505, 24.9, 97, 17.9).data.o3.o3pp = 40.55;
    RawRecord& other = *s.append();
    other.time = test::flightTime(32406.5);
    other.type = TypeAux;
    other.kind = 2;

    auto& f = q5.fltRecs;
    addPtu(f, 32505.0, 963.1, 21.2, 46.0, 18.3, ext);
    addGps(f, 32506.0, 46.81235, 6.94322, 491.0, 8, vel);
    setProcessed(addOzone(f, 32507.0, 1, 0.52, 25.0, 99, 17.8), 962.6, 21.45, 45.0, 20.2, 491.3, 962.9, 491.0, 41.0);
    RawRecord& launch = addPtu(f, 32510.0, 962.85, 21.05, 46.2, 18.3, ext);
    launch.data.ptu.hgt = 493.2;
    launch.data.ptu.gpsAlt = 494.05;
    setProcessed(addOzone(f, 32511.0, 1, 0.534, 25.2, 102, 17.8), 962.31, 21.31, 45.24, 20.11, 497.4, 962.44, 496.8,
                 43.217);
    addWind(q5, 32512.0, 502.5, 275.0, 4.2);
    RawRecord& fix = addGps(f, 32512.0, 46.81301, 6.94401, 502.5, 9, vel);
    fix.data.gps.gpsP = 961.83;
    setProcessed(addOzone(f, 32513.0, second, 0.49, 25.3, 100, 17.7), 961.6, 21.1, 45.8, 20.0, 510.1, 961.5, 509.6,
                 -9999.9);
    RawRecord& mid = addPtu(f, 32520.0, 958.2, 20.76, 47.5, 18.2, ext);
    mid.data.ptu.hgt = 532.7;
    mid.data.ptu.gpsAlt = 533.9;
    addWind(q5, 32522.0, 548.0, 2.5, 6.35);
    addWind(q5, 32522.0, 548.0, 90.0, 7.0);
    addGps(f, 32522.0, 46.81402, 6.94512, 548.0, 10, vel);
    setProcessed(addOzone(f, 32525.0, 1, 0.55, 25.5, 101, 17.7), 955.9, 20.5, 48.0, 19.8, 566.0, 955.7, 565.2, 44.85);
    RawRecord& burst = addPtu(f, 32530.0, 954.1, 20.3, 48.3, 18.2, ext);
    burst.data.ptu.hgt = 580.4;
    burst.data.ptu.gpsAlt = 581.0;
    setProcessed(addOzone(f, 32531.0, 1, 0.56, 25.6, 101, 17.6), 953.8, 20.2, 48.4, 19.7, 584.0, 953.7, 583.5, 45.1);
    addWind(q5, 32532.0, 590.0, 180.0, 3.0);
    addGps(f, 32532.0, 46.81499, 6.94601, 590.0, 10, vel);

    q5.launchRec = &launch;
    q5.burstRec = &burst;
}

std::string goldenPath(const std::string& name) { return test::sourcePath("tests/output/golden/" + name); }

// Line number and both lines of the first difference, for a readable failure.
std::string firstDifference(const std::string& expected, const std::string& actual)
{
    std::istringstream e(expected), a(actual);
    std::string le, la;
    for (int line = 1;; ++line) {
        const bool moreE = static_cast<bool>(std::getline(e, le));
        const bool moreA = static_cast<bool>(std::getline(a, la));
        if (!moreE && !moreA)
            return "same lines, different bytes";
        if (le != la || moreE != moreA)
            return "line " + std::to_string(line) + "\n expected: [" + le + "]\n actual:   [" + la + "]";
    }
}

class ExportGolden : public ::testing::TestWithParam<Layout> {};

TEST_P(ExportGolden, MatchesReferenceFiles)
{
    const Layout& layout = GetParam();
    Q5 q5;
    buildFlight(q5, layout);
    test::TempDir dir;
    const bool regenerate = std::getenv("LUMO_REGENERATE_GOLDEN") != nullptr;

    for (ExportKind kind : {ExportKind::O3, ExportKind::Winds, ExportKind::All}) {
        const std::string name = std::string(layout.name) + std::string(exportExtension(kind));
        const std::string path = dir.file(name);
        ASSERT_EQ(writeExportFile(q5, kind, path, "C:\\flights\\PAY20260621.raw", "C:\\flights\\PAY20260621.cfg"),
                  ExportResult::Ok);
        const std::string actual = test::readFile(path);
        if (regenerate) {
            std::ofstream(goldenPath(name), std::ios::binary) << actual;
            continue;
        }
        const std::string expected = test::readFile(goldenPath(name));
        ASSERT_FALSE(expected.empty()) << "missing reference " << goldenPath(name);
        EXPECT_TRUE(expected == actual) << name << ": " << firstDifference(expected, actual);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ExportGolden, ::testing::ValuesIn(Layouts),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                             std::string n;
                             for (const char* p = info.param.name; *p; ++p)
                                 if (*p != '-')
                                     n += *p;
                             return n;
                         });

} // namespace
} // namespace lumo
