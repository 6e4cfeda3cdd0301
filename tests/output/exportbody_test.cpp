// Row-level behaviour of the export writers on small hand-built flights:
// the flight window, wind de-duplication, blank blocks, the ozone groups of
// several ozonesondes and the launch and burst lines of incomplete runs.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "output/exportwriters.h"
#include "testflight.h"

namespace lumo {
namespace {

using test::addGps;
using test::addOzone;
using test::addPtu;
using test::addWind;
using test::captureOutput;

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

// The data rows of a section: the lines after its column header up to the
// first empty line.
std::vector<std::string> sectionRows(const std::string& text, const std::string& section)
{
    const std::vector<std::string> all = lines(text);
    std::vector<std::string> rows;
    std::size_t i = 0;
    while (i < all.size() && all[i] != section)
        ++i;
    for (i += 2; i < all.size() && !all[i].empty(); ++i)
        rows.push_back(all[i]);
    return rows;
}

std::string o3Body(const Q5& q5) { return captureOutput([&](std::FILE* f) { return WriteO3Body(q5, f); }); }
std::string windBody(const Q5& q5) { return captureOutput([&](std::FILE* f) { return WriteWindBody(q5, f); }); }
std::string allBody(const Q5& q5) { return captureOutput([&](std::FILE* f) { return WriteAllBody(q5, f); }); }

// Minimal single-ozonesonde flight without GPS: PTU at 100 s, 200 s (launch),
// 300 s, 400 s (burst), 500 s; ozone packets 1 s after each PTU packet.
struct SmallFlight {
    Q5 q5;
    std::vector<RawRecord*> ptu, ozone;

    SmallFlight()
    {
        q5.rsPrInst = 1;
        q5.o3Count = 1;
        q5.showAll = 0;
        copyText(q5.o3Sonde[0].sn, "Z1");
        addPtu(q5.sfcRecs, 10, 960, 20, 50, 18);
        addOzone(q5.sfcRecs, 11, 1, 0.5, 25, 100, 17);
        for (int i = 1; i <= 5; ++i) {
            ptu.push_back(&addPtu(q5.fltRecs, 100.0 * i, 960 - i, 20, 50, 18));
            ozone.push_back(&addOzone(q5.fltRecs, 100.0 * i + 1, 1, 0.5, 25, 100, 17));
        }
        q5.launchRec = ptu[1];
        q5.burstRec = ptu[3];
    }
};

TEST(FlightWindow, KeepsRecordsExactlyAtLaunchAndBurstTimes)
{
    SmallFlight fl;
    // An ozone packet logged in the same millisecond as launch and burst.
    fl.ozone[0]->time = fl.ptu[1]->time;
    fl.ozone[3]->time = fl.ptu[3]->time;
    const std::vector<std::string> rows = sectionRows(o3Body(fl.q5), "Flight:");
    ASSERT_EQ(rows.size(), 4u); // at launch, 201 s, 301 s, at burst
    EXPECT_EQ(rows.front().substr(0, 24), "2026/06/21, 00:03:20.000");
    EXPECT_EQ(rows.back().substr(0, 24), "2026/06/21, 00:06:40.000");

    const std::vector<std::string> all = sectionRows(allBody(fl.q5), "Flight:");
    // Ozone at launch, PTU at 200 s, ozone, PTU, ozone, PTU and ozone at burst.
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all.front().substr(12, 12), "00:03:20.000");
    EXPECT_EQ(all.back().substr(12, 12), "00:06:40.000");
}

TEST(FlightWindow, ShowAllWritesPreLaunchAndDescent)
{
    SmallFlight fl;
    fl.q5.showAll = 1;
    EXPECT_EQ(sectionRows(o3Body(fl.q5), "Flight:").size(), 5u);
    EXPECT_EQ(sectionRows(allBody(fl.q5), "Flight:").size(), 10u);
}

TEST(FlightWindow, WithoutBurstRunsToTheEndOfTheList)
{
    SmallFlight fl;
    fl.q5.burstRec = nullptr;
    const std::string body = o3Body(fl.q5);
    EXPECT_EQ(sectionRows(body, "Flight:").size(), 4u); // 201 s to 501 s
    EXPECT_NE(body.find("\r\nLaunch detected by PTU at 00:03:20.000\r\nBurst not detected\r\n"), std::string::npos);
}

TEST(FlightWindow, WithoutLaunchWritesRowsOnlyWhenShowingAll)
{
    SmallFlight fl;
    fl.q5.launchRec = nullptr;
    fl.q5.burstRec = nullptr;
    std::string body = o3Body(fl.q5);
    EXPECT_TRUE(sectionRows(body, "Flight:").empty());
    EXPECT_NE(body.find("\r\nLaunch not detected\r\nBurst not detected\r\n"), std::string::npos);
    EXPECT_TRUE(sectionRows(allBody(fl.q5), "Flight:").empty());

    fl.q5.showAll = 1;
    body = o3Body(fl.q5);
    EXPECT_EQ(sectionRows(body, "Flight:").size(), 5u);
    EXPECT_EQ(sectionRows(allBody(fl.q5), "Flight:").size(), 10u);
}

TEST(WindExport, SkipsWindsAtTheTimeOfTheOneBefore)
{
    SmallFlight fl;
    fl.q5.showAll = 1;
    addWind(fl.q5, 150, 600, 270, 5);
    addWind(fl.q5, 150, 610, 90, 9);  // same time: skipped
    addWind(fl.q5, 149, 590, 90, 9);  // earlier than its predecessor: skipped
    addWind(fl.q5, 250, 900, 0, 2);
    const std::vector<std::string> rows = lines(windBody(fl.q5));
    ASSERT_EQ(rows.size(), 4u); // "Flight:", header, two winds
    // Wind from the west (270 deg) blows towards the east: u = +5, v = 0.
    EXPECT_EQ(rows[2], "2026/06/21, 00:02:30.000,   600.0,     5.0,   270.0,     5.0,     0.0");
    EXPECT_EQ(rows[3], "2026/06/21, 00:04:10.000,   900.0,     2.0,     0.0,     0.0,    -2.0");

    const std::vector<std::string> all = sectionRows(allBody(fl.q5), "Flight:");
    int windRows = 0;
    for (const std::string& r : all)
        windRows += r.find("     5.0,   270.0,") != std::string::npos || r.find("     2.0,     0.0,") != std::string::npos;
    EXPECT_EQ(windRows, 2);
}

TEST(WindExport, AllDataWritesWindsBeforeTheRecordOfTheirTime)
{
    SmallFlight fl;
    fl.q5.showAll = 1;
    addWind(fl.q5, 300, 900, 0, 2);
    addWind(fl.q5, 900, 2000, 0, 2); // after the last flight record: never written
    const std::vector<std::string> all = sectionRows(allBody(fl.q5), "Flight:");
    ASSERT_EQ(all.size(), 11u);
    EXPECT_EQ(all[4].substr(12, 12), "00:05:00.000");
    EXPECT_NE(all[4].find("     2.0,     0.0,"), std::string::npos); // the wind
    EXPECT_EQ(all[5].substr(12, 12), "00:05:00.000");
    EXPECT_EQ(all[5].substr(25, 9), "  957.00,"); // the PTU record at 300 s
}

// Flight with GPS installed: the first fix of each list comes after the
// first ozone packets, and the flight list opens with an ozone packet.
struct GpsFlight {
    Q5 q5;
    GpsFlight()
    {
        q5.rsPrInst = 1;
        q5.rsGpsInst = 1;
        q5.o3Count = 1;
        q5.showAll = 1;
        addOzone(q5.sfcRecs, 5, 1, 0.5, 25, 100, 17);
        addPtu(q5.sfcRecs, 10, 960, 20, 50, 18);
        addOzone(q5.sfcRecs, 11, 1, 0.5, 25, 100, 17);
        addGps(q5.sfcRecs, 12, 46.5, 7.25, 500, 6);
        addOzone(q5.sfcRecs, 13, 1, 0.5, 25, 100, 17);
        addOzone(q5.fltRecs, 99, 1, 0.5, 25, 100, 17);
        addPtu(q5.fltRecs, 100, 959, 20, 50, 18);
        addOzone(q5.fltRecs, 101, 1, 0.5, 25, 100, 17);
        addGps(q5.fltRecs, 102, 46.5, 7.25, 520, 7);
        RawRecord& z = addOzone(q5.fltRecs, 103, 1, 0.5, 25, 100, 17);
        test::setProcessed(z, 958, 19.5, 51, 0, 530.5, 957.25, 529.75, 12.5);
    }
};

TEST(ExportBlocks, RowsBeforeTheFirstPtuAndGpsRecord)
{
    GpsFlight fl;
    const std::string gpsBlank = "          ,           ,        ,      ,         ,";
    const std::vector<std::string> sfc = sectionRows(o3Body(fl.q5), "Surface:");
    // The packet before the first PTU packet gives no row.
    ASSERT_EQ(sfc.size(), 2u);
    EXPECT_EQ(sfc[0].substr(25, 34), "  960.00,   20.00,  50.0,    18.0,");
    EXPECT_EQ(sfc[0].substr(59, gpsBlank.size()), gpsBlank);
    EXPECT_EQ(sfc[1].substr(59), "  46.50000,    7.25000,   500.0,     6, 00:00:12,         ,         "
                                  ",     0.00,     0.50,    25.0,      100,     17.0");

    const std::vector<std::string> flt = sectionRows(o3Body(fl.q5), "Flight:");
    ASSERT_EQ(flt.size(), 2u);
    EXPECT_EQ(flt[0].substr(59), gpsBlank + "         ,      0.0,     0.00,     0.50,    25.0,      100,     17.0");
    EXPECT_EQ(flt[1].substr(59), "  46.50000,    7.25000,   530.5,     7, 00:01:42,   957.25,    529.8,    12.50,"
                                  "     0.50,    25.0,      100,     17.0");

    // The all-data surface section does write the packet before the first PTU.
    const std::vector<std::string> allSfc = sectionRows(allBody(fl.q5), "Surface:");
    ASSERT_EQ(allSfc.size(), 5u);
    EXPECT_EQ(allSfc[0].substr(0, 25), "2026/06/21, 00:00:05.000,");
    EXPECT_EQ(sectionRows(allBody(fl.q5), "Flight:").size(), 4u);
}

TEST(ExportBlocks, GpsNotInstalledBlanksTheOzoneRowsButNotTheFixRows)
{
    GpsFlight fl;
    fl.q5.rsGpsInst = 0;
    const std::vector<std::string> flt = sectionRows(o3Body(fl.q5), "Flight:");
    ASSERT_EQ(flt.size(), 2u);
    EXPECT_EQ(flt[1].substr(59, 68), "          ,           ,        ,      ,         ,         ,    529.8");
    const std::vector<std::string> all = sectionRows(allBody(fl.q5), "Flight:");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[2].substr(59, 11), "  46.50000,"); // the fix row itself
    // The PTU row: blank GPS block with the pressure field, then its height.
    EXPECT_EQ(all[0].substr(59), "          ,           ,        ,      ,         ,         ,      0.0,"
                                 "        ,        ,        ,        ,         ,         ,        ,         ,         ");
}

TEST(OzoneGroups, EachPacketFillsOnlyItsOwnOzonesondeGroup)
{
    GpsFlight fl;
    fl.q5.o3Count = 3;
    const std::string blank = ",         ,         ,        ,         ,         ";
    const std::string filled = ",    12.50,     0.50,    25.0,      100,     17.0";
    RawRecord* z = fl.q5.fltRecs.last();
    for (int num : {1, 2, 3}) {
        z->data.o3.o3Num = static_cast<std::uint8_t>(num);
        const std::string row = sectionRows(o3Body(fl.q5), "Flight:").back();
        std::string groups;
        for (int k = 1; k <= 3; ++k)
            groups += k == num ? filled : blank;
        EXPECT_EQ(row.substr(row.size() - groups.size()), groups) << "o3Num " << num;
    }
    // A chain number outside 1..N belongs to no group.
    for (int num : {0, 4, 200}) {
        z->data.o3.o3Num = static_cast<std::uint8_t>(num);
        const std::string row = sectionRows(o3Body(fl.q5), "Flight:").back();
        EXPECT_EQ(row.substr(row.size() - 3 * blank.size()), blank + blank + blank) << "o3Num " << num;
        EXPECT_EQ(row.find(filled), std::string::npos);
    }
}

TEST(OzoneGroups, NoOzonesondesEndsRowsBeforeTheGroups)
{
    GpsFlight fl;
    fl.q5.o3Count = 0;
    const std::string body = o3Body(fl.q5);
    EXPECT_NE(body.find("gpPr(mb), gpHgt(M)\r\n"), std::string::npos);
    const std::vector<std::string> flt = sectionRows(body, "Flight:");
    ASSERT_EQ(flt.size(), 2u);
    EXPECT_EQ(flt[1].substr(flt[1].size() - 10), ",    529.8");
}

TEST(ExportHeader, SkipsOzonesondeSlotsWithoutSerialNumber)
{
    GpsFlight fl;
    fl.q5.o3Count = 2;
    copyText(fl.q5.o3Sonde[0].sn, "Z100");
    copyText(fl.q5.o3Sonde[2].sn, "Z300");
    fl.q5.o3Measured[1] = 99;
    fl.q5.o3Measured[2] = 250.04;
    fl.q5.o3Residual[2] = 30.03;
    const std::string header = captureOutput([&](std::FILE* f) { return WriteExportHeader(fl.q5, f, "a", "b"); });
    EXPECT_NE(header.find("Ozonesonde #1:\r\n  SN = Z100\r\n"), std::string::npos);
    EXPECT_EQ(header.find("Ozonesonde #2"), std::string::npos);
    EXPECT_NE(header.find("Ozonesonde #3:\r\n  SN = Z300\r\n  Bkg = 0.00\r\n  Flow = 0.0\r\n\r\n\r\n"),
              std::string::npos);

    const std::string body = o3Body(fl.q5);
    EXPECT_EQ(body.find("Ozonesonde #2"), std::string::npos);
    // The total is the sum of the unrounded values: 280.07 -> 280.1.
    EXPECT_NE(body.find("\r\nOzonesonde #3 (Z300) total ozone:\r\n  Measured = 250.0\r\n"
                        "  Residual = 30.0  (CMR)\r\n  Total = 280.1\r\n"),
              std::string::npos);
    EXPECT_EQ(body.substr(body.size() - 17), "  Total = 280.1\r\n");
    // Both groups are still written: the serial number only governs the header.
    EXPECT_NE(body.find("Bat_2(V)\r\n"), std::string::npos);
}

TEST(ExportBody, WindFileWithoutWindsHasItsHeaderOnly)
{
    GpsFlight fl;
    EXPECT_EQ(windBody(fl.q5), "Flight:\r\n   PC_date,      PC_time,  Alt(m), Ws(m/s), Wd(deg),  u(m/s),  v(m/s)\r\n");
}

TEST(ExportBody, WritersRefuseAMissingFile)
{
    GpsFlight fl;
    EXPECT_FALSE(WriteExportHeader(fl.q5, nullptr, "a", "b"));
    EXPECT_FALSE(WriteO3Body(fl.q5, nullptr));
    EXPECT_FALSE(WriteWindBody(fl.q5, nullptr));
    EXPECT_FALSE(WriteAllBody(fl.q5, nullptr));
}

TEST(ExportBody, SingleSondeSurfaceHeaderLine)
{
    GpsFlight fl;
    const std::vector<std::string> l = lines(o3Body(fl.q5));
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(l[1], "   PC_date,      PC_time,  Pr(mb), Tamb(C), RH(%), Vbat(V),  Lat(deg),  Long(deg),  Alt(m), "
                    "nSats, GPS_time, gpPr(mb), gpHgt(m), O3_1(nb), Ic_1(uA), Tp_1(C), Ip_1(mA), Bat_1(V)");
}

} // namespace
} // namespace lumo

namespace lumo {
namespace {

TEST(ExportBody, UnknownDerivedValuesAreBlankAndAnUnknownResidualIsExplained)
{
    GpsFlight fl;
    copyText(fl.q5.o3Sonde[0].sn, "Z1");
    RawRecord& z = addOzone(fl.q5.fltRecs, 104, 1, 0.5, 25, 100, 17);
    test::setProcessed(z, Missing, Missing, Missing, Missing, Missing, Missing, Missing, Missing);
    // The row keeps its raw values; every derived field is as wide as ever, and empty.
    const std::string blankPtu = "        ,        ,      ,";
    const std::vector<std::string> rows = sectionRows(o3Body(fl.q5), "Flight:");
    const std::string& row = rows.back();
    EXPECT_EQ(row.size(), rows[rows.size() - 2].size());
    EXPECT_EQ(row.substr(25, blankPtu.size()), blankPtu);
    // Height and ozone blank; the raw current, temperature, pump current and battery kept.
    EXPECT_TRUE(row.ends_with(",         ,         ,     0.50,    25.0,      100,     17.0")) << row;
    const std::string all = sectionRows(allBody(fl.q5), "Flight:").back();
    EXPECT_EQ(all.find("0.00"), std::string::npos) << all;
    EXPECT_EQ(all.find("-9999"), std::string::npos) << all;

    fl.q5.o3Measured[0] = 250.04;
    fl.q5.o3Residual[0] = Missing;
    addWarning(fl.q5.warnings, "residual-unknown", "Residual ozone not determined: why.");
    EXPECT_NE(o3Body(fl.q5).find("  Measured = 250.0\r\n  Residual =    (CMR)\r\n  Total =  \r\n"
                                 "Warning: Residual ozone not determined: why.\r\n"),
              std::string::npos);
}

} // namespace
} // namespace lumo
