// Correction-table files (*.eff, *.bkg) and the export file's name rules.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "output/correctiontable.h"
#include "output/exportfile.h"
#include "support/testfiles.h"
#include "testflight.h"

namespace lumo {
namespace {

struct Table {
    double p[MaxTableRows];
    double val[MaxTableRows];
    std::uint8_t count = 0;

    // Filled with a marker so that clearing is visible.
    Table()
    {
        for (int i = 0; i < MaxTableRows; ++i) {
            p[i] = -1;
            val[i] = -1;
        }
    }
    TableFileResult read(const std::string& path) { return readCorrectionTable(path, p, val, count); }
};

TEST(CorrectionTableFile, WritesFixedRowsWithCrLf)
{
    test::TempDir dir;
    const double p[] = {1000.0, 3.25, 12345.67};
    const double val[] = {1.0, 1.0456, 0.9994};
    const std::string path = dir.file("pump.eff");
    ASSERT_TRUE(writeCorrectionTable(path, p, val, 3).ok());
    EXPECT_EQ(test::readFile(path), "1000.0   1.000\r\n3.2      1.046\r\n12345.7  0.999\r\n");

    ASSERT_TRUE(writeCorrectionTable(path, p, val, 0).ok());
    EXPECT_EQ(test::readFile(path), ""); // an empty table gives an empty file
    EXPECT_EQ(test::filesIn(dir.path()), 1);
}

TEST(CorrectionTableFile, RoundTripRoundsToTheWrittenDecimals)
{
    test::TempDir dir;
    Table saved;
    for (int i = 0; i < 20; ++i) {
        saved.p[i] = 1000.0 - i * 49.87;
        saved.val[i] = 1.0 + i * 0.00371;
    }
    const std::string path = dir.file("t.bkg");
    ASSERT_TRUE(writeCorrectionTable(path, saved.p, saved.val, 20).ok());
    Table loaded;
    ASSERT_TRUE(loaded.read(path).ok());
    ASSERT_EQ(loaded.count, 20);
    for (int i = 0; i < 20; ++i) {
        // One decimal for the pressure, three for the factor.
        EXPECT_NEAR(loaded.p[i], saved.p[i], 0.05 + 1e-9) << i;
        EXPECT_DOUBLE_EQ(loaded.p[i] * 10, std::round(loaded.p[i] * 10)) << i;
        EXPECT_NEAR(loaded.val[i], saved.val[i], 0.0005 + 1e-12) << i;
        EXPECT_DOUBLE_EQ(loaded.val[i] * 1000, std::round(loaded.val[i] * 1000)) << i;
    }
    for (int i = 20; i < MaxTableRows; ++i)
        EXPECT_EQ(loaded.p[i], 0.0); // the unused rows are cleared
}

TEST(CorrectionTableFile, ReadsAtMost64Rows)
{
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 70; ++i)
        text += std::to_string(1000 - i) + " 1." + std::to_string(i % 10) + "\r\n";
    Table t;
    ASSERT_TRUE(t.read(dir.write("long.eff", text)).ok());
    EXPECT_EQ(t.count, 64);
    EXPECT_EQ(t.p[63], 937.0);
    EXPECT_EQ(t.val[63], 1.3);
}

TEST(CorrectionTableFile, SplitsAtTabsSpacesAndQuotes)
{
    test::TempDir dir;
    const std::string text = "1000\t1.01\n"
                             "  900     1.02   \r\n"
                             "\"800\" \"1.03\"\n"
                             "one field\tand three\n"  // three fields: skipped
                             "700\n"                   // one field: skipped
                             "\n"
                             "\"6 00\" 1.04\n"          // quoted field keeps its space: not a number
                             "";
    Table t;
    const TableFileResult r = t.read(dir.write("mixed.eff", text));
    ASSERT_EQ(r.status, TableFileResult::BadNumber);
    EXPECT_EQ(r.line, 7);
    EXPECT_EQ(r.lineText, "\"6 00\" 1.04");
    EXPECT_EQ(t.count, 0); // nothing of the three good rows is kept

    Table good;
    ASSERT_TRUE(good.read(dir.write("good.eff", text.substr(0, text.find("\"6 00\"")))).ok());
    ASSERT_EQ(good.count, 3);
    EXPECT_EQ(good.p[0], 1000.0);
    EXPECT_EQ(good.val[0], 1.01);
    EXPECT_EQ(good.p[1], 900.0);
    EXPECT_EQ(good.val[1], 1.02);
    EXPECT_EQ(good.p[2], 800.0);
    EXPECT_EQ(good.val[2], 1.03);
}

TEST(CorrectionTableFile, BadNumberEmptiesTheTableAndStops)
{
    test::TempDir dir;
    Table t;
    const TableFileResult r = t.read(dir.write("bad.bkg", "1000 1.0\r\n900 1.x\r\n800 1.2\r\n"));
    ASSERT_EQ(r.status, TableFileResult::BadNumber);
    EXPECT_EQ(r.line, 2);
    EXPECT_EQ(r.lineText, "900 1.x");
    EXPECT_EQ(t.count, 0);
    for (int i = 0; i < MaxTableRows; ++i) {
        EXPECT_EQ(t.p[i], 0.0);
        EXPECT_EQ(t.val[i], 0.0);
    }
    EXPECT_EQ(tableFileMessage(TableKind::CellBackground, r, "bad.bkg"),
              "Error loading cell background correction data.");
    for (const char* notNumber : {"inf 1", "1 nan", "+-3 1", "1.2.3 1", "\"\" 1", "1e999 1"})
        EXPECT_EQ(t.read(dir.write("x.eff", notNumber)).status, TableFileResult::BadNumber) << notNumber;
}

TEST(CorrectionTableFile, AcceptsDecimalCommaAndSigns)
{
    test::TempDir dir;
    Table t;
    ASSERT_TRUE(t.read(dir.write("comma.eff", "1000,5 1,025\n+900 -0.5e-1\n")).ok());
    ASSERT_EQ(t.count, 2);
    EXPECT_EQ(t.p[0], 1000.5);
    EXPECT_EQ(t.val[0], 1.025);
    EXPECT_EQ(t.p[1], 900.0);
    EXPECT_EQ(t.val[1], -0.05);
}

TEST(CorrectionTableFile, LoneCarriageReturnEndsALine)
{
    test::TempDir dir;
    Table t;
    ASSERT_TRUE(t.read(dir.write("mac.eff", "1000 1.0\r900 1.1\r\n800 1.2\r")).ok());
    ASSERT_EQ(t.count, 3);
    EXPECT_EQ(t.p[1], 900.0);
    EXPECT_EQ(t.val[2], 1.2);
    // Line numbers count CR, LF and CR LF alike.
    const TableFileResult r = t.read(dir.write("bad.eff", "1000 1.0\r\r\n900 x\n"));
    EXPECT_EQ(r.status, TableFileResult::BadNumber);
    EXPECT_EQ(r.line, 3);
    EXPECT_EQ(r.lineText, "900 x");
}

TEST(CorrectionTableFile, LinesLongerThan255CharactersSplit)
{
    test::TempDir dir;
    // 250 spaces, then "1 2": the first 255 characters hold "1" only (one
    // field, skipped), the rest "2" (skipped too); the next line is a row.
    const std::string text = std::string(250, ' ') + "1    2\n500 1.5\n";
    Table t;
    ASSERT_TRUE(t.read(dir.write("wide.eff", text)).ok());
    ASSERT_EQ(t.count, 1);
    EXPECT_EQ(t.p[0], 500.0);
}

TEST(CorrectionTableFile, FailuresAreReportedDistinctly)
{
    test::TempDir dir;
    Table t;
    t.count = 7;
    const std::string missing = dir.file("none.eff");
    const TableFileResult open = t.read(missing);
    EXPECT_EQ(open.status, TableFileResult::CannotOpen);
    EXPECT_EQ(t.count, 7); // nothing changed
    EXPECT_EQ(t.p[0], -1.0);
    EXPECT_EQ(tableFileMessage(TableKind::PumpEfficiency, open, missing),
              "Unable to open pump efficiency file:\n" + missing);

    // A folder opens on some systems but cannot be read: the same failure.
    const TableFileResult folder = t.read(dir.path().string());
    EXPECT_EQ(folder.status, TableFileResult::CannotOpen);
    EXPECT_EQ(t.count, 7);

    const double p[] = {1000};
    const double v[] = {1};
    const TableFileResult create = writeCorrectionTable(dir.file("no/such/folder/t.eff"), p, v, 1);
    EXPECT_EQ(create.status, TableFileResult::CannotCreate);
    EXPECT_EQ(tableFileMessage(TableKind::CellBackground, create, ""), "Unable to save data to specified file.");
}

TEST(ExportFile, ReportsAFolderThatCannotTakeTheFile)
{
    test::TempDir dir;
    Q5 q5;
    EXPECT_EQ(writeExportFile(q5, ExportKind::O3, dir.file("missing/f.o3csv"), "a", "b"), ExportResult::CannotCreate);
    EXPECT_EQ(exportResultMessage(ExportResult::CannotCreate), "Unable to open file to export data.");
    EXPECT_EQ(test::filesIn(dir.path()), 0);
}

TEST(ExportFile, KindsByName)
{
    EXPECT_EQ(parseExportKind("winds"), ExportKind::Winds);
    EXPECT_FALSE(parseExportKind("O3").has_value());
}

// A table saved with CR-only line ends used to read as one long line of many
// fields, which loaded silently as an empty table.
TEST(CorrectionTableLineEnds, CrOnlyLinesAreRows)
{
    const test::TempDir dir;
    double p[MaxTableRows], val[MaxTableRows];
    std::uint8_t count = 0;
    ASSERT_TRUE(readCorrectionTable(dir.write("cr.eff", "1000.0   1.000\r100.0    1.007\r5.0      1.120\r"), p, val, count).ok());
    ASSERT_EQ(count, 3);
    EXPECT_EQ(p[2], 5.0);
    EXPECT_EQ(val[1], 1.007);
    ASSERT_TRUE(readCorrectionTable(dir.write("crlf.eff", "1000.0 1.0\r\n5.0 1.1\r\n\r\nx\r\n"), p, val, count).ok());
    EXPECT_EQ(count, 2);
    const TableFileResult bad = readCorrectionTable(dir.write("bad.eff", "1000.0 1.0\r\n5.0 x\r\n"), p, val, count);
    EXPECT_EQ(bad.status, TableFileResult::BadNumber);
    EXPECT_EQ(bad.line, 2);
    EXPECT_EQ(bad.lineText, "5.0 x");
}

// A directory opens for reading on POSIX systems and used to load as an
// empty table; it cannot be read, so the table in use stays.
TEST(CorrectionTableLineEnds, DirectoryCannotBeOpened)
{
    const test::TempDir dir;
    double p[MaxTableRows] = {1000}, val[MaxTableRows] = {1};
    std::uint8_t count = 1;
    EXPECT_EQ(readCorrectionTable(dir.path().string(), p, val, count).status, TableFileResult::CannotOpen);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(p[0], 1000);
}

} // namespace
} // namespace lumo
