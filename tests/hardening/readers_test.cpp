// Each file reader fed the classic bad inputs: the documented outcome is a
// clear failure, dropped lines or a sound result, never a crash.
#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "badinputs.h"
#include "correctiontables.h"
#include "flight/ini.h"
#include "flight/q5.h"
#include "hardflight.h"
#include "output/correctiontable.h"
#include "processing/column.h"
#include "residualtable.h"

namespace lumo {
namespace {

using test::Bad;

std::size_t records(const Q5& q) { return q.sfcRecs.size() + q.fltRecs.size(); }

TEST(BadRawFile, FailsWholeOrKeepsTheReadableLines)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const test::TempDir dir;
    Q5 valid;
    ASSERT_TRUE(valid.ReadRaw(dir.write("valid.raw", flight.raw)));
    const std::size_t all = records(valid);
    ASSERT_GT(all, 1000u);

    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string path = test::makeBad(dir, test::badName(kind), kind, flight.raw);
        Q5 q;
        const bool ok = q.ReadRaw(path);
        switch (kind) {
        case Bad::Empty: // nothing to read is no error; the run then refuses
            EXPECT_TRUE(ok);
            EXPECT_EQ(records(q), 0u);
            break;
        case Bad::TruncatedLastLine: // the cut line is decoded as far as it goes or dropped
            EXPECT_TRUE(ok);
            EXPECT_GE(records(q), all - 1);
            EXPECT_LE(records(q), all);
            break;
        case Bad::Utf8Bom: // an editor's byte-order mark before the first date is skipped
            EXPECT_TRUE(ok);
            EXPECT_EQ(records(q), all);
            break;
        case Bad::NulBytes: // a line ends at its NUL: those lines lose their packet tail
            EXPECT_TRUE(ok);
            EXPECT_GE(records(q), all * 8 / 10);
            EXPECT_LE(records(q), all);
            break;
        default: // no date and time where a line starts (CR-only ends make one long line), or a packet far too long
            EXPECT_FALSE(ok);
            EXPECT_EQ(records(q), 0u);
        }
    }
}

TEST(BadRawFile, ProcessingTheSurvivingLinesGivesFiniteResults)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const test::TempDir dir;
    const std::string cfg = dir.write("flight.cfg", sim::formatConfig(flight));
    for (Bad kind : {Bad::TruncatedLastLine, Bad::NulBytes}) {
        SCOPED_TRACE(test::badName(kind));
        Q5 q;
        ScriptedDialogs dialogs;
        ASSERT_TRUE(test::importAndProcess(q, dialogs, test::makeBad(dir, test::badName(kind), kind, flight.raw), cfg));
        test::expectFiniteResults(q);
        EXPECT_GT(q.o3Measured[0], 0);
        test::exportAll(q, dir, test::badName(kind));
    }
}

void expectTerminated(const char* text, std::size_t capacity)
{
    EXPECT_NE(std::memchr(text, '\0', capacity), nullptr);
}

TEST(BadConfigFile, FailsOrReadsTheSameFlight)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const std::string text = sim::formatConfig(flight);
    const test::TempDir dir;
    Q5 valid;
    ASSERT_TRUE(valid.ReadConfig(dir.write("valid.cfg", text)));

    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string path = test::makeBad(dir, test::badName(kind), kind, text, "[station]name=");
        Q5 q;
        const bool ok = q.ReadConfig(path);
        expectTerminated(q.stnName, sizeof q.stnName);
        expectTerminated(q.rsSondeId, sizeof q.rsSondeId);
        for (const O3SondeCfg& s : q.o3Sonde)
            expectTerminated(s.sn, sizeof s.sn);
        EXPECT_LE(q.bkgCount, MaxTableRows);
        EXPECT_LE(q.effCount, MaxTableRows);
        switch (kind) {
        case Bad::TruncatedLastLine: // the last value is cut short, the rest stands
        case Bad::CrOnlyLineEnds:
        case Bad::Utf8Bom:
            EXPECT_TRUE(ok);
            EXPECT_STREQ(q.stnName, valid.stnName);
            EXPECT_EQ(q.stnLat, valid.stnLat);
            EXPECT_EQ(q.fltMonth, valid.fltMonth);
            EXPECT_EQ(q.effCount, valid.effCount);
            EXPECT_STREQ(q.o3Sonde[1].sn, valid.o3Sonde[1].sn);
            EXPECT_EQ(q.sfcP, valid.sfcP);
            break;
        case Bad::NulBytes: // values end at their NUL; the reader stays within its buffers
            break;
        default: // without the table counts the flight is not usable
            EXPECT_FALSE(ok);
        }
    }
}

TEST(BadIniFile, ReadsDefaultsAndWritesAfterTheDamage)
{
    const test::TempDir dir;
    const std::string text = "[pref]\r\nlDet=gps\r\nlDetVal=2.50\r\n[o3]\r\nresidual=table\r\n";
    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string path = test::makeBad(dir, test::badName(kind), kind, text, "[pref]lDet=gps");
        const std::string lDet = IniReadText("pref", "lDet", "ptu", path);
        if (kind == Bad::CrOnlyLineEnds || kind == Bad::Utf8Bom || kind == Bad::TruncatedLastLine) {
            EXPECT_EQ(lDet, "gps");
            EXPECT_EQ(IniReadNumber("pref", "lDetVal", -1, path), 2.5);
        } else if (kind != Bad::NulBytes) {
            EXPECT_EQ(lDet, "ptu");
            EXPECT_EQ(IniReadNumber("pref", "lDetVal", -1, path), -1);
        }
        const bool written = IniWriteText("pref", "showAll", "no", path);
        if (kind == Bad::Directory) {
            EXPECT_FALSE(written);
            continue;
        }
        ASSERT_TRUE(written);
        EXPECT_EQ(IniReadText("pref", "showAll", "", path), "no");
    }
}

TEST(BadCorrectionTable, LoadsTheRowsOrReportsTheProblem)
{
    const sim::CorrectionTables standard = sim::CorrectionTables::standard();
    const std::string text = sim::formatTableFile(standard.efficiency);
    const test::TempDir dir;
    double p[MaxTableRows], val[MaxTableRows];
    std::uint8_t validCount = 0;
    ASSERT_TRUE(readCorrectionTable(dir.write("valid.eff", text), p, val, validCount).ok());
    ASSERT_GT(validCount, 5);

    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        const std::string path = test::makeBad(dir, test::badName(kind), kind, text, "1000.0 1.000 ");
        std::uint8_t count = 77;
        p[0] = 5;
        const TableFileResult r = readCorrectionTable(path, p, val, count);
        switch (kind) {
        case Bad::Missing:
        case Bad::Directory: // cannot be read: the table in use stays
            EXPECT_EQ(r.status, TableFileResult::CannotOpen);
            EXPECT_EQ(count, 77);
            EXPECT_EQ(p[0], 5);
            EXPECT_NE(tableFileMessage(TableKind::PumpEfficiency, r, path).find(path), std::string::npos);
            break;
        case Bad::Empty:
        case Bad::HugeSingleLine: // no two-field line
            EXPECT_TRUE(r.ok());
            EXPECT_EQ(count, 0);
            break;
        case Bad::CrOnlyLineEnds:
            EXPECT_TRUE(r.ok());
            EXPECT_EQ(count, validCount);
            break;
        case Bad::TruncatedLastLine: // the last row is cut to one field and skipped
            EXPECT_TRUE(r.ok());
            EXPECT_EQ(count, validCount - 1);
            break;
        case Bad::NulBytes: // NUL counts as white space: a row split inside a number is skipped
            EXPECT_TRUE(r.ok());
            EXPECT_LE(count, validCount);
            EXPECT_GE(count, validCount - 2);
            break;
        default: // junk, a BOM before the first number
            EXPECT_EQ(r.status, TableFileResult::BadNumber);
            EXPECT_EQ(count, 0);
            EXPECT_EQ(tableFileMessage(TableKind::PumpEfficiency, r, path), "Error loading pump efficiency data.");
        }
        for (int i = 0; r.ok() && i < count; ++i)
            EXPECT_TRUE(std::isfinite(p[i]) && std::isfinite(val[i]));
    }
}

TEST(BadCorrectionTable, ExtremeNumbersAreBadNumbers)
{
    const test::TempDir dir;
    double p[MaxTableRows], val[MaxTableRows];
    std::uint8_t count = 0;
    for (const char* row : {"1000 nan", "inf 1", "1e999 1.0", "1000 -inf"}) {
        SCOPED_TRACE(row);
        const std::string path = dir.write("t.eff", std::string("500 1.0\n") + row + "\n");
        EXPECT_EQ(readCorrectionTable(path, p, val, count).status, TableFileResult::BadNumber);
        EXPECT_EQ(count, 0);
    }
    // Finite extremes and a negative zero are numbers.
    ASSERT_TRUE(readCorrectionTable(dir.write("x.eff", "1e308 -0\n-0 1e-308\n"), p, val, count).ok());
    ASSERT_EQ(count, 2);
    EXPECT_EQ(p[0], 1e308);
    EXPECT_TRUE(std::signbit(val[0]));
}

TEST(BadCorrectionTable, ThousandRowsKeepTheFirst64)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += std::to_string(1000 - i) + ".0 1." + std::to_string(i % 10) + "\r\n";
    const test::TempDir dir;
    double p[MaxTableRows], val[MaxTableRows];
    std::uint8_t count = 0;
    ASSERT_TRUE(readCorrectionTable(dir.write("big.bkg", text), p, val, count).ok());
    EXPECT_EQ(count, MaxTableRows);
    EXPECT_EQ(p[63], 937.0);
    EXPECT_DOUBLE_EQ(val[63], 1.3);
}

// The residual step on a processed flight with a damaged residual table.
TEST(BadResidualTable, LeavesTheResidualUnknownWithAWarning)
{
    const sim::SimulatedFlight flight = test::shortFlight();
    const test::TempDir dir;
    Q5 q;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(test::importAndProcess(q, dialogs, dir.write("f.raw", flight.raw), dir.write("f.cfg", sim::formatConfig(flight))));
    ASSERT_NE(q.burstRec, nullptr);
    const double measured = q.o3Measured[0];
    const std::string table = sim::formatResidualTable();
    q.resTable = 1;
    q.resTableFile = dir.write("valid.toz", table);
    totalOzone(q);
    const double validResidual = q.o3Residual[0];
    ASSERT_GT(validResidual, 0);

    for (Bad kind : test::allBadKinds()) {
        SCOPED_TRACE(test::badName(kind));
        q.resTableFile = test::makeBad(dir, test::badName(kind), kind, table, "   10.0  37.7 ");
        q.o3Residual[0] = 0; // as a processing run clears it
        totalOzone(q);
        EXPECT_EQ(q.o3Measured[0], measured);
        EXPECT_TRUE(std::isfinite(q.o3Residual[0]));
        if (kind == Bad::Utf8Bom || kind == Bad::TruncatedLastLine) { // damage outside the station's band
            EXPECT_EQ(q.o3Residual[0], validResidual);
        } else if (kind != Bad::CrOnlyLineEnds && kind != Bad::NulBytes) {
            EXPECT_EQ(q.o3Residual[0], Missing);
            ASSERT_FALSE(q.warnings.empty());
            EXPECT_EQ(q.warnings.back().code, "residual-unknown");
        }
    }
}

} // namespace
} // namespace lumo
