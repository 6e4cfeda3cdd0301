// The archive files of a flight processed by the standard method with the
// response correction say what was applied.
#include <gtest/gtest.h>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "output/archiveprofile.h"
#include "output/woudcwriter.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

TEST(ArchiveMethod, WoudcNamesTheStandardMethodsChoices)
{
    test::TempDir dir;
    const std::string base = test::sourcePath("tests/output/flights/nogps");
    std::string cfg = test::readFile(base + ".cfg");
    cfg.insert(cfg.find("sn=5A22362"), "solutionType=1.0% KI, full buffer\nib0=0.02\nib1=0.05\nthermistor=internal\n"
                                       "flowTemp=20\nflowHumidity=30\nflowPressure=1000\n");
    Q5 q;
    q.o3Method.method = O3Method::Standard;
    q.o3Method.responseCorrection = true;
    ASSERT_TRUE(importFlight(q, base + ".raw", dir.write("f.cfg", cfg)).ok());
    ScriptedDialogs dialogs(false);
    q.dialogs = &dialogs;
    ASSERT_TRUE(q.processFlight());
    const ArchiveProfile profile = buildArchiveProfile(q);
    ASSERT_FALSE(profile.sondes.empty());
    ArchiveMeta meta;
    meta.generated = 46370.5;
    const std::string text = woudcFile(q, profile.sondes.front(), meta).text;
    const auto row = [&text](const std::string& table) {
        const std::size_t at = text.find("#" + table + "\r\n");
        const std::size_t fields = text.find("\r\n", at) + 2;
        const std::size_t values = text.find("\r\n", fields) + 2;
        return text.substr(values, text.find("\r\n", values) - values);
    };
    EXPECT_NE(row("FLIGHT_SUMMARY").find(",Time response (Ib0 and slow current),"), std::string::npos);
    // 6000 / 27.6 s x the moistening factor 0.990459; tauFast 21 s of a 6A sonde.
    EXPECT_NE(row("PREFLIGHT_SUMMARY").find(",215.32,21.0"), std::string::npos) << row("PREFLIGHT_SUMMARY");
    EXPECT_EQ(row("SAMPLING_METHOD").substr(0, 8), ",0.9905,");
    EXPECT_EQ(row("PUMP_CORRECTION"), "1000.0,1.000"); // Komhyr 1986, the 6A table
    EXPECT_NE(text.find("\r\n100.0,1.007\r\n"), std::string::npos);
}

} // namespace
} // namespace lumo
