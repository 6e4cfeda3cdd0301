#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "flight/datetime.h"
#include "flight/q5.h"
#include "flight/readconfig.h"
#include "support/testfiles.h"

using namespace lumo;
using lumo::test::TempDir;

namespace {

const char* const ValidConfig =
    "[station]\r\n"
    "name=Payerne\r\n"
    "lat=46.81\r\n"
    "long=6.94\r\n"
    "alt=491\r\n"
    "date=2024/05/07\r\n"
    "[radiosonde]\r\n"
    "sondeID=R1234567\r\n"
    "probeID=P77\r\n"
    "P_inst=1\r\n"
    "GPS_inst=0\r\n"
    "[bkg_corr]\r\n"
    "file=bkg.bkg\r\n"
    "n=2\r\n"
    "00=1000.0,1.0\r\n"
    "01=10.0,0.5\r\n"
    "[pmp_eff]\r\n"
    "file=eff.eff\r\n"
    "n=1\r\n"
    "00= 5.0 , 1.12 \r\n"
    "[ozonesonde#1]\r\n"
    "sn=6A12345\r\n"
    "bkg=0.02\r\n"
    "flow=28.5\r\n"
    "[ozonesonde#3]\r\n"
    "sn=6A999\r\n"
    "bkg=0\r\n"
    "flow=29\r\n"
    "[surface]\r\n"
    "p=962.5\r\n"
    "t=12.5\r\n"
    "u=70\r\n"
    "o3#1=30.5\r\n"
    "o3#4=1\r\n"
    "[standard]\r\n"
    "p=963\r\n"
    "t=12\r\n"
    "u=68\r\n";

bool isToday(const FlightConfig& c)
{
    const DateParts d = decodeDateTime(nowDateTime());
    return c.fltYear == d.year && c.fltMonth == d.month && c.fltDay == d.day;
}

// Minimal valid tables, so that only the section under test can fail.
std::string withTables(const std::string& rest)
{
    return "[bkg_corr]\nn=1\n00=1000,1\n[pmp_eff]\nn=1\n00=1000,1\n" + rest;
}

} // namespace

TEST(ReadConfig, ReadsEveryKey)
{
    TempDir dir;
    Q5 q5;
    ASSERT_TRUE(q5.ReadConfig(dir.write("f.cfg", ValidConfig)));
    EXPECT_STREQ(q5.stnName, "Payerne");
    EXPECT_EQ(q5.stnLat, 46.81);
    EXPECT_EQ(q5.stnLong, 6.94);
    EXPECT_EQ(q5.stnAlt, 491.0);
    EXPECT_EQ(q5.fltYear, 2024);
    EXPECT_EQ(q5.fltMonth, 5);
    EXPECT_EQ(q5.fltDay, 7);
    EXPECT_STREQ(q5.rsSondeId, "R1234567");
    EXPECT_STREQ(q5.rsProbeId, "P77");
    EXPECT_EQ(q5.rsPrInst, 1);
    EXPECT_EQ(q5.rsGpsInst, 0);
    EXPECT_STREQ(q5.bkgFile, "bkg.bkg");
    EXPECT_EQ(q5.bkgCount, 2);
    EXPECT_EQ(q5.bkgP[1], 10.0);
    EXPECT_EQ(q5.bkgVal[1], 0.5);
    EXPECT_STREQ(q5.effFile, "eff.eff");
    EXPECT_EQ(q5.effCount, 1);
    EXPECT_EQ(q5.effP[0], 5.0);
    EXPECT_EQ(q5.effVal[0], 1.12);
    EXPECT_STREQ(q5.o3Sonde[0].sn, "6A12345");
    EXPECT_EQ(q5.o3Sonde[0].bkg, 0.02);
    EXPECT_EQ(q5.o3Sonde[0].flow, 28.5);
    EXPECT_STREQ(q5.o3Sonde[1].sn, "");
    // Background 0 is allowed.
    EXPECT_STREQ(q5.o3Sonde[2].sn, "6A999");
    EXPECT_EQ(q5.o3Sonde[2].bkg, 0.0);
    EXPECT_EQ(q5.sfcP, 962.5);
    EXPECT_EQ(q5.sfcT, 12.5);
    EXPECT_EQ(q5.sfcU, 70.0);
    EXPECT_EQ(q5.sfcO3[0], 30.5);
    EXPECT_EQ(q5.sfcO3[1], 0.0);
    EXPECT_EQ(q5.sfcO3[3], 1.0);
    EXPECT_EQ(q5.stdP, 963.0);
    EXPECT_EQ(q5.stdU, 68.0);
}

TEST(ReadConfig, MissingFileGivesDefaultsAndFails)
{
    TempDir dir;
    Q5 q5;
    // Leftovers from an earlier flight are all overwritten.
    q5.bkgP[5] = 7;
    q5.effCount = 3;
    q5.o3Sonde[2].flow = 30;
    q5.stnLat = 12;
    EXPECT_EQ(readFlightConfig(q5, dir.file("absent.cfg")), 0x11u);
    EXPECT_FALSE(q5.ReadConfig(dir.file("absent.cfg")));
    EXPECT_STREQ(q5.stnName, "None");
    EXPECT_STREQ(q5.rsSondeId, "S0000");
    EXPECT_STREQ(q5.rsProbeId, "");
    EXPECT_EQ(q5.rsPrInst, 1);
    EXPECT_EQ(q5.rsGpsInst, 1);
    EXPECT_EQ(q5.stnLat, 0.0);
    EXPECT_EQ(q5.bkgP[5], 0.0);
    EXPECT_EQ(q5.effCount, 0);
    EXPECT_EQ(q5.o3Sonde[2].flow, 0.0);
    EXPECT_TRUE(isToday(q5));
    EXPECT_EQ(readFlightConfig(q5, dir.path().string()), 0x11u);
}

TEST(ReadConfig, TableRowCounts)
{
    TempDir dir;
    Q5 q5;
    std::string rows;
    for (int r = 0; r < 100; ++r) {
        char row[32];
        std::snprintf(row, sizeof row, "%02d=%d,1\n", r, 1000 - r);
        rows += row;
    }
    EXPECT_EQ(readFlightConfig(q5, dir.write("a.cfg", "[bkg_corr]\nn=100\n" + rows + "[pmp_eff]\nn=0\n")), 0x11u);
    EXPECT_EQ(q5.bkgCount, 64);
    EXPECT_EQ(q5.bkgP[63], 937.0);
    EXPECT_EQ(q5.effCount, 0);

    // Row "01" absent: left as (0, 0) without failing.
    EXPECT_EQ(readFlightConfig(q5, dir.write("b.cfg", "[bkg_corr]\nn=3\n00=1000,1\n02=5,0.9\n01=\n"
                                                      "[pmp_eff]\nn=-2\n")),
              0x11u);
    EXPECT_EQ(q5.bkgCount, 3);
    EXPECT_EQ(q5.bkgP[1], 0.0);
    EXPECT_EQ(q5.bkgVal[1], 0.0);
    EXPECT_EQ(q5.bkgP[2], 5.0);
    EXPECT_EQ(q5.bkgVal[2], 0.9);
    EXPECT_EQ(readFlightConfig(q5, dir.write("c.cfg", "[bkg_corr]\nn=x\n[pmp_eff]\nn=1\n00=1,1\n")), 0x01u);
}

TEST(ReadConfig, TableRowFields)
{
    TempDir dir;
    Q5 q5;
    EXPECT_EQ(readFlightConfig(q5, dir.write("a.cfg", "[bkg_corr]\nn=4\n00=1000.0,,0.95\n01=,,500,0.9,7\n"
                                                      "02= 100 ,\t0.8 \n03=\"50,0.7\"\n"
                                                      "[pmp_eff]\nn=1\n00=1000,1\n")),
              0u);
    EXPECT_EQ(q5.bkgP[0], 1000.0);
    EXPECT_EQ(q5.bkgVal[0], 0.95);
    EXPECT_EQ(q5.bkgP[1], 500.0);
    EXPECT_EQ(q5.bkgVal[1], 0.9);
    EXPECT_EQ(q5.bkgP[2], 100.0);
    EXPECT_EQ(q5.bkgVal[2], 0.8);
    EXPECT_EQ(q5.bkgP[3], 50.0);

    // A single field: the first column is stored, the bit is set.
    EXPECT_EQ(readFlightConfig(q5, dir.write("b.cfg", "[bkg_corr]\nn=2\n00=1000.0\n01=3,4\n"
                                                      "[pmp_eff]\nn=1\n00=1000,1\n")),
              0x04u);
    EXPECT_EQ(q5.bkgP[0], 1000.0);
    EXPECT_EQ(q5.bkgVal[0], 0.0);
    EXPECT_EQ(q5.bkgP[1], 3.0);
    // Not a complete number: that column stays 0, the other is stored.
    EXPECT_EQ(readFlightConfig(q5, dir.write("c.cfg", "[bkg_corr]\nn=1\n00=1000,1\n"
                                                      "[pmp_eff]\nn=2\n00=12x,0.5\n01=7,abc\n")),
              0x14u);
    EXPECT_EQ(q5.effP[0], 0.0);
    EXPECT_EQ(q5.effVal[0], 0.5);
    EXPECT_EQ(q5.effP[1], 7.0);
    EXPECT_EQ(q5.effVal[1], 0.0);
    EXPECT_EQ(readFlightConfig(q5, dir.write("d.cfg", "[bkg_corr]\nn=1\n00=,,,\n[pmp_eff]\nn=1\n00=1 0,5\n")), 0x14u | 0x04u);
}

TEST(ReadConfig, OzonesondeEntries)
{
    TempDir dir;
    Q5 q5;
    // Without a serial number the section is ignored.
    EXPECT_EQ(readFlightConfig(q5, dir.write("a.cfg", withTables("[ozonesonde#2]\nbkg=-5\nflow=0\n"))), 0u);
    EXPECT_STREQ(q5.o3Sonde[1].sn, "");
    EXPECT_EQ(q5.o3Sonde[1].flow, 0.0);

    EXPECT_EQ(readFlightConfig(q5, dir.write("b.cfg", withTables("[ozonesonde#1]\nsn=A\nbkg=0\nflow=0\n"
                                                                 "[ozonesonde#2]\nsn=B\nflow=28\n"
                                                                 "[ozonesonde#3]\nsn=C\nbkg=-0.01\nflow=28\n"
                                                                 "[ozonesonde#4]\nsn=D\nbkg=0.1\nflow=\n"))),
              0x20u);
    for (const O3SondeCfg& s : q5.o3Sonde) {
        // An invalid entry ends all zero, like one not in use.
        EXPECT_STREQ(s.sn, "");
        EXPECT_EQ(s.bkg, 0.0);
        EXPECT_EQ(s.flow, 0.0);
    }
    // Text that is not a number reads as 0: a valid background, an invalid flow.
    EXPECT_EQ(readFlightConfig(q5, dir.write("c.cfg", withTables("[ozonesonde#1]\nsn=A\nbkg=abc\nflow=28\n"))), 0u);
    EXPECT_EQ(q5.o3Sonde[0].bkg, 0.0);
    EXPECT_EQ(readFlightConfig(q5, dir.write("d.cfg", withTables("[ozonesonde#1]\nsn=A\nbkg=0.1\nflow=x\n"))), 0x20u);
}

TEST(ReadConfig, TextCapacities)
{
    TempDir dir;
    Q5 q5;
    const std::string name45(45, 'n'), id40(40, 'i'), sn25 = "12345678901234567890XYZWV";
    const std::string file254(254, 'f'), file300(300, 'g');
    readFlightConfig(q5, dir.write("a.cfg", "[station]\nname=" + name45 + "\n[radiosonde]\nsondeID=" + id40 +
                                                "\nprobeID=" + name45 + "\n[bkg_corr]\nfile=" + file254 +
                                                "\n[pmp_eff]\nfile=" + file300 + "\n[ozonesonde#1]\nsn=" + sn25 +
                                                "\nbkg=0\nflow=1\n"));
    EXPECT_EQ(std::string(q5.stnName), name45.substr(0, 40));
    EXPECT_EQ(std::string(q5.rsSondeId), id40);
    EXPECT_EQ(std::string(q5.rsProbeId), name45.substr(0, 40));
    EXPECT_EQ(std::string(q5.bkgFile), file254);
    EXPECT_EQ(std::string(q5.effFile), file300.substr(0, 254));
    EXPECT_EQ(std::string(q5.o3Sonde[0].sn), sn25.substr(0, 20));
}

TEST(ReadConfig, ValueForms)
{
    TempDir dir;
    Q5 q5;
    readFlightConfig(q5, dir.write("a.cfg", "[station]\nlat= 46.8abc\nlong=east\nalt=\ndate=yesterday\n"
                                            "[radiosonde]\nP_inst=yes\nGPS_inst=2\n[surface]\np=1e3\n"));
    EXPECT_EQ(q5.stnLat, 46.8);
    EXPECT_EQ(q5.stnLong, 0.0);
    EXPECT_EQ(q5.stnAlt, 0.0);
    EXPECT_TRUE(isToday(q5));
    EXPECT_EQ(q5.rsPrInst, 0);
    EXPECT_EQ(q5.rsGpsInst, 1);
    EXPECT_EQ(q5.sfcP, 1000.0);

    readFlightConfig(q5, dir.write("b.cfg", "[station]\ndate= 2023/1/9 \n"));
    EXPECT_EQ(q5.fltYear, 2023);
    EXPECT_EQ(q5.fltMonth, 1);
    EXPECT_EQ(q5.fltDay, 9);
    readFlightConfig(q5, dir.write("c.cfg", "[station]\ndate=2023/02/29\n"));
    EXPECT_TRUE(isToday(q5));
}

TEST(ReadConfig, ArchiveKeysAreOptionalAndNeverFail)
{
    TempDir dir;
    Q5 q5;
    // Without them: everything unknown, the flight loads as before.
    ASSERT_TRUE(q5.ReadConfig(dir.write("f.cfg", ValidConfig)));
    EXPECT_EQ(q5.o3Sonde[0].model, "");
    EXPECT_FALSE(q5.o3Sonde[0].ib0.has_value());
    EXPECT_FALSE(q5.reference.given());

    std::string extra = std::string(ValidConfig)
        + "[ozonesonde#2]\nmodel=ignored without sn\n"
          "[reference]\ntotalO3=abc\ninstrument=Dobson\nnumber=131\nwlCode=0\nutcMean=12:30:00\n";
    extra.insert(extra.find("flow=28.5\r\n") + 11, "model=6A\nsolutionType=1.0% KI, full buffer\n"
                                                    "solutionVolume=3.0\nib0=0.02\nib1=x\nib2=1e9\nflowTemp=25.5\n"
                                                    "thermistor=Box\n");
    ASSERT_TRUE(q5.ReadConfig(dir.write("g.cfg", extra)));
    const O3SondeCfg& s = q5.o3Sonde[0];
    EXPECT_EQ(s.model, "6A");
    EXPECT_EQ(s.solutionType, "1.0% KI, full buffer");
    EXPECT_EQ(s.solutionVolume, 3.0);
    EXPECT_EQ(s.ib0, 0.02);
    // Not a number, or beyond any instrument's range: unknown, not 0.
    EXPECT_FALSE(s.ib1.has_value());
    EXPECT_FALSE(s.ib2.has_value());
    EXPECT_EQ(s.flowTemp, 25.5);
    EXPECT_FALSE(s.flowHumidity.has_value());
    EXPECT_EQ(s.thermistorText, "Box");
    EXPECT_EQ(q5.o3Sonde[1].model, "");
    EXPECT_FALSE(q5.reference.totalO3.has_value());
    EXPECT_EQ(q5.reference.instrument, "Dobson");
    EXPECT_EQ(q5.reference.number, "131");
    EXPECT_EQ(q5.reference.utcMean, "12:30:00");
    EXPECT_TRUE(q5.reference.given());

    ASSERT_TRUE(q5.ReadConfig(dir.write("h.cfg", std::string(ValidConfig) + "[reference]\ntotalO3=301.5\n")));
    EXPECT_EQ(q5.reference.totalO3, 301.5);
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
