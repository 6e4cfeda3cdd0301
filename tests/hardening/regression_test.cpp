// Regression tests for problems the fuzz targets and the bad-input suite found.
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "flight/ini.h"
#include "flight/q5.h"
#include "flight/readconfig.h"
#include "output/correctiontable.h"
#include "processing/alignment.h"
#include "processing/atmosphere.h"
#include "processing/column.h"
#include "processing/wind.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

// A configured latitude of 1e308 (or one overflowing to infinity) used to be
// converted to int for the band label, which is undefined behaviour.
TEST(ResidualBand, LatitudeBeyondThePoleNamesNoTableBand)
{
    EXPECT_EQ(tozBandLabel(1e308), "[90n-100n]");
    EXPECT_EQ(tozBandLabel(-std::numeric_limits<double>::infinity()), "[90s-100s]");
    EXPECT_EQ(tozBandLabel(2147483648.0), "[90n-100n]");
    EXPECT_EQ(tozBandLabel(46.8), "[40n-50n]");
    const test::TempDir dir;
    const std::string table = dir.write("t.toz", "[80n-90n]\nhPa\n"
        " 1.0 1 1 1 1 1 1 1 1 1 1 1 1 1\n 50.0 9 9 9 9 9 9 9 9 9 9 9 9 9\n");
    double residual = -1;
    EXPECT_TRUE(tableResidual(table, 85.0, 6, 10.0, residual));
    EXPECT_GT(residual, 0);
    EXPECT_FALSE(tableResidual(table, 1e308, 6, 10.0, residual));
    EXPECT_EQ(residual, 0);
}

// Two GPS fixes of a damaged file stamped centuries apart used to overflow
// the int seconds of the wind baseline.
TEST(WindBaseline, FixesCenturiesApartGiveAFiniteWind)
{
    Q5 q;
    RawRecord* a = q.fltRecs.append();
    a->type = TypeGps;
    a->time = 45000.0;
    a->data.gps.lat = 46.8;
    a->data.gps.lon = 6.9;
    a->data.gps.alt = 500;
    RawRecord* b = q.fltRecs.append();
    b->type = TypeGps;
    b->time = 45000.0 + 700000.0; // about 1900 years later
    b->data.gps.lat = 46.9;
    b->data.gps.lon = 7.0;
    b->data.gps.alt = 900;
    q.launchRec = a;
    buildWinds(q);
    ASSERT_EQ(q.windRecs.size(), 1u);
    EXPECT_TRUE(std::isfinite(q.windRecs.first()->ws));
    EXPECT_GE(q.windRecs.first()->ws, 0);
    EXPECT_LT(q.windRecs.first()->ws, 1e-3);
}

// A PTU record stamped before 1899-12-30 (year 26 from a damaged date) met
// the alignment before any GPS fix: the empty bracket [0, 0] divided 0 by 0
// and NaN reached the exported altitude.
TEST(AlignmentBracket, TargetBeforeDayZeroAndBeforeAnySourceStaysUnplaced)
{
    Q5 q;
    RawRecord* early = q.fltRecs.append();
    early->type = TypePtu;
    early->time = -684297.44;
    early->data.ptu.gpsAlt = 0;
    RawRecord* fix = q.fltRecs.append();
    fix->type = TypeGps;
    fix->time = 46188.49;
    fix->data.gps.alt = 1500;
    RawRecord* later = q.fltRecs.append();
    later->type = TypePtu;
    later->time = 46188.48;
    int unplaced = 0;
    alignByTime<1>(
        q.fltRecs, [](const RawRecord& r) { return r.isGps(); },
        [](const RawRecord& r) { return std::array<double, 1>{r.data.gps.alt}; },
        [](const RawRecord& r) { return r.isPtu(); },
        [](RawRecord& r, const std::array<double, 1>& v) { r.data.ptu.gpsAlt = v[0]; },
        [&unplaced](RawRecord&) { ++unplaced; }, std::array<double, 1>{491.0});
    EXPECT_TRUE(std::isfinite(early->data.ptu.gpsAlt)); // placed once the first fix brackets it
    EXPECT_GE(unplaced, 1);
    EXPECT_TRUE(std::isfinite(later->data.ptu.gpsAlt));
}

// A raw file whose logger stopped in the middle of the last line's time used
// to fail as a whole; the cut line is dropped. A bad line that ends with a
// line end still stops the read.
TEST(RawFileCutLastLine, DropsTheCutLineOnly)
{
    const test::TempDir dir;
    const std::string good = "2024/05/07 12:00:00 00010100A08601D007A00F3C\n"
                             "2024/05/07 12:00:01 00010200A08601D007A00F3C\n";
    Q5 q;
    EXPECT_TRUE(q.ReadRaw(dir.write("cut.raw", good + "2024/05/07 12:0")));
    EXPECT_EQ(q.sfcRecs.size(), 2u);
    EXPECT_TRUE(q.ReadRaw(dir.write("cut2.raw", good + "2024/05/07 12:00:02")));
    EXPECT_EQ(q.sfcRecs.size(), 2u);
    EXPECT_FALSE(q.ReadRaw(dir.write("bad.raw", good + "2024/05/07 12:0\n")));
    EXPECT_FALSE(q.ReadRaw(dir.write("mid.raw", "2024/05/07 12:0\n" + good)));
}

// A PTU temperature field of -327.68 degC (below absolute zero) in a damaged
// packet made the GPS pressure of the next fix infinite.
TEST(HypsometricLayer, TemperatureBelowAbsoluteZeroGivesNoChange)
{
    EXPECT_EQ(hypsometricPressure(900.0, 1000.0, -327.68, 50, 1500.0, -327.68, 50), 900.0);
    EXPECT_EQ(hypsometricPressure(900.0, 1000.0, -273.15, 0, 60535.0, -273.15, 0), 900.0);
    EXPECT_EQ(hypsometricHeight(1000.0, 900.0, -327.68, 50, 850.0, -300.0, 50), 1000.0);
    const double p = hypsometricPressure(900.0, 1000.0, 10, 50, 1500.0, 7, 50);
    EXPECT_GT(p, 840);
    EXPECT_LT(p, 850);
}

// A configuration value of 1e308, or one overflowing to infinity, used to
// reach the processing run and the exports as inf or 300-digit numbers.
TEST(ConfigValueRange, ValuesBeyondAMillionMakeTheFileUnusable)
{
    const test::TempDir dir;
    const std::string tables = "[bkg_corr]\nn=1\n00=1000,1\n[pmp_eff]\nn=1\n00=1000,1\n";
    Q5 q;
    EXPECT_TRUE(q.ReadConfig(dir.write("ok.cfg", tables + "[station]\nalt=-9999.9\nlat=-0\n")));
    for (const char* bad : {"[station]\nlat=1e308\n", "[station]\nalt=-1e999\n", "[surface]\no3#2=2e6\n",
                            "[standard]\np=1e7\n"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(readFlightConfig(q, dir.write("bad.cfg", tables + bad)), unsigned(ConfigValueRange));
    }
    EXPECT_EQ(readFlightConfig(q, dir.write("row.cfg", "[bkg_corr]\nn=1\n00=1e300,1\n[pmp_eff]\nn=1\n00=1000,1\n")),
              unsigned(ConfigTableRow));
    EXPECT_EQ(readFlightConfig(q, dir.write("sonde.cfg", tables + "[ozonesonde#1]\nsn=A\nbkg=0\nflow=1e9\n")),
              unsigned(ConfigSonde));
}

// A UTF-8 byte-order mark before the first section header used to hide that
// section: a configuration saved by a Windows editor lost its station.
TEST(IniByteOrderMark, FirstSectionIsRead)
{
    const test::TempDir dir;
    const std::string path = dir.write("bom.cfg", "\xEF\xBB\xBF[station]\r\nname=Payerne\r\nlat=46.8\r\n");
    EXPECT_EQ(IniReadText("station", "name", "None", path), "Payerne");
    EXPECT_EQ(IniReadNumber("station", "lat", 0, path), 46.8);
    ASSERT_TRUE(IniWriteText("station", "alt", "491", path));
    EXPECT_EQ(IniReadText("station", "name", "None", path), "Payerne");
    EXPECT_EQ(IniReadInt("station", "alt", 0, path), 491);
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
