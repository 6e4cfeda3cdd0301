// The archive profile built from a hand-made processed flight: which ozone
// records become levels, where they go, and what stays unknown.

#include <gtest/gtest.h>

#include <algorithm>

#include "output/ameswriter.h"
#include "output/archiveprofile.h"
#include "output/woudcwriter.h"
#include "testflight.h"

namespace lumo {
namespace {

using test::addGps;
using test::addOzone;
using test::addPtu;
using test::addWind;
using test::setProcessed;

// One ozonesonde at chain position 2; GPS fixes at 0 and 20 s crossing the
// 180th meridian, winds at 0 and 20 s crossing north.
void buildFlight(Q5& q)
{
    test::setStation(q);
    q.rsPrInst = 1;
    q.rsGpsInst = 1;
    copyText(q.o3Sonde[1].sn, "6A001");
    q.o3Sonde[1].flow = 28.0;
    addPtu(q.fltRecs, 0, 950, 15, 60, 6);
    addGps(q.fltRecs, 0, 46.0, 179.0, 500, 8);
    q.launchRec = q.fltRecs.last();
    setProcessed(addOzone(q.fltRecs, -5, 2, 1.5, 30, 80, 12), 950, 15, 60, 0, 500, 0, 491, 40);   // prelaunch
    setProcessed(addOzone(q.fltRecs, 5, 2, 1.5, 30, 80, 12), 900, 14, 60, 0, 600, 0, 980, 50);    // ascent
    setProcessed(addOzone(q.fltRecs, 10, 2, 1.6, 29, 80, 12), 0, 13, 60, 0, 700, 0, 1100, 50);    // no pressure
    setProcessed(addOzone(q.fltRecs, 15, 2, 1.7, 28, 80, 12), 700, 12, 60, 0, 800, 0, 3000, Missing);
    setProcessed(addOzone(q.fltRecs, 16, 1, 1.7, 28, 80, 12), 650, 12, 60, 0, 800, 0, 3000, 40); // no serial number
    setProcessed(addOzone(q.fltRecs, 18, 2, 1.8, 27, 80, 12), 500, 10, 50, 0, 900, 0, 5500, 60);
    setProcessed(addOzone(q.fltRecs, 19, 2, 1.8, 27, 80, 12), 600, 11, 50, 0, 850, 0, 4200, 60);
    addGps(q.fltRecs, 20, 46.2, -179.0, 1000, 8);
    addWind(q, 0, 500, 350, 4);
    addWind(q, 20, 1000, 10, 8);
}

TEST(ArchiveProfile, LevelsOnlyWhereThePressureIsKnownSplitAtLaunchAscentToLastLevel)
{
    Q5 q;
    buildFlight(q);
    const ArchiveProfile p = buildArchiveProfile(q);
    ASSERT_TRUE(p.error.empty());
    ASSERT_EQ(p.sondes.size(), 1u);
    const ArchiveSonde& s = p.sondes[0];
    EXPECT_EQ(s.slot, 1);
    ASSERT_EQ(s.prelaunch.size(), 1u);
    EXPECT_DOUBLE_EQ(s.prelaunch[0].duration, -5);
    // Without a burst the ascent runs to the last level.
    ASSERT_EQ(s.ascent.size(), 4u);
    EXPECT_EQ(s.ascent.back().pressure, 600);
    EXPECT_TRUE(s.descent.empty());
    EXPECT_FALSE(known(s.burstPressure));
    EXPECT_FALSE(known(s.burstO3pp));
    EXPECT_FALSE(known(s.residual));

    const ArchiveLevel& first = s.ascent[0];
    EXPECT_EQ(first.levelCode, 2); // the surface of the profile
    EXPECT_DOUBLE_EQ(first.o3pp, 5.0);           // 50 nb
    EXPECT_DOUBLE_EQ(first.o3Mix, 50.0 / 900.0); // ppmv
    EXPECT_EQ(s.ascent[1].levelCode, 1);         // nearest to 700 hPa
    EXPECT_EQ(s.ascent[2].levelCode, 1);         // nearest to 500 hPa
    EXPECT_EQ(s.ascent[3].levelCode, 0);
    // The marker is unknown, not a number, and the level stays.
    EXPECT_FALSE(known(s.ascent[1].o3pp));
    EXPECT_FALSE(known(s.ascent[1].o3Mix));
    EXPECT_EQ(s.ascent[1].cellCurrent, 1.7);
}

TEST(ArchiveProfile, PositionAndWindInterpolatedInTimeAcrossTheWrapAround)
{
    Q5 q;
    buildFlight(q);
    const ArchiveSonde s = buildArchiveProfile(q).sondes.at(0);
    const ArchiveLevel& l = s.ascent[0]; // 5 s: a quarter of the way
    EXPECT_NEAR(l.lat, 46.05, 1e-5);
    EXPECT_NEAR(l.lon, 179.5, 1e-5);
    EXPECT_NEAR(l.windDir, 355.0, 1e-5);
    EXPECT_NEAR(l.windSpeed, 5.0, 1e-5);
    EXPECT_NEAR(s.ascent[2].lon, -179.2, 1e-5); // 18 s
    EXPECT_NEAR(s.ascent[2].windDir, 8.0, 1e-5);
    // Before the first fix and wind nothing is known.
    EXPECT_FALSE(known(s.prelaunch[0].lat));
    EXPECT_FALSE(known(s.prelaunch[0].windSpeed));
}

TEST(ArchiveProfile, WithoutLaunchNoProfileAndWithoutSensorGpsPressure)
{
    Q5 q;
    buildFlight(q);
    q.launchRec = nullptr;
    EXPECT_FALSE(buildArchiveProfile(q).error.empty());

    Q5 g;
    buildFlight(g);
    g.rsPrInst = 0; // GPS pressure (all 0 here) replaces the radiosonde's: no level has one
    EXPECT_TRUE(buildArchiveProfile(g).sondes.at(0).ascent.empty());
    EXPECT_NEAR(geopotentialHeight(10000), 9984.3, 0.1);
}

TEST(ArchiveFiles, CorrectionFactorNegativeTropopauseOnlyWhenConfirmed)
{
    Q5 q;
    buildFlight(q);
    q.o3CorrFactor[1] = 0.984;
    q.tropopause.p = 480;
    q.tropopause.confirmed = true;
    ArchiveSonde s = buildArchiveProfile(q).sondes.at(0);
    EXPECT_EQ(s.ascent[2].levelCode, 3); // 500 hPa: standard level and the level nearest the tropopause
    ArchiveMeta meta;
    const std::string w = woudcFile(q, s, meta).text;
    EXPECT_NE(w.find("\r\n,,,,,480.00,,,Lumo "), std::string::npos); // no burst: no burst ozone
    EXPECT_NE(w.find(",-0.984,None,Pump\r\n"), std::string::npos);    // no background subtracted
    EXPECT_NE(amesFile(q, s, meta).text.find("WMO tropopause pressure (hPa): 480.00."), std::string::npos);

    q.tropopause.confirmed = false; // the sounding ends within 2 km above it
    s = buildArchiveProfile(q).sondes.at(0);
    EXPECT_FALSE(known(s.tropopausePressure));
    EXPECT_EQ(s.ascent[2].levelCode, 1);
}

TEST(ArchiveFiles, MissingMetadataIsNamedAndTextIsSafe)
{
    Q5 q;
    buildFlight(q);
    copyText(q.stnName, "Z\xFCrich, \"Nord\""); // Latin-1, a comma and quotes
    const ArchiveSonde s = buildArchiveProfile(q).sondes.at(0);
    ArchiveMeta meta;
    meta.baseName = "f";
    const ArchiveText w = woudcFile(q, s, meta);
    EXPECT_EQ(w.name, "20260621.ECC.6A.6A001.unknown.csv");
    // Agency, platform ID, country and the total without a residual; the
    // name comes from the configuration, the model from the serial.
    ASSERT_EQ(w.warnings.size(), 4u);
    EXPECT_NE(w.warnings[3].find("SondeTotalO3 is empty"), std::string::npos);
    EXPECT_NE(w.warnings[3].find("cannot be submitted"), std::string::npos);
    EXPECT_NE(w.text.find("\r\nECC,6A,6A001\r\n"), std::string::npos);
    EXPECT_NE(w.text.find("STN,,\"Z\xC3\xBCrich, \"\"Nord\"\"\",,"), std::string::npos);
    const ArchiveText a = amesFile(q, s, meta);
    EXPECT_EQ(a.name, "f.6A001.b00");
    EXPECT_NE(a.text.find("\r\nZ?rich,_\"Nord\"\r\n"), std::string::npos); // the station name is one item
}

TEST(ArchiveFiles, AmesCorruptReadingsAreMissingAndLinesStayWithin132)
{
    Q5 q;
    buildFlight(q);
    ArchiveSonde s = buildArchiveProfile(q).sondes.at(0);
    ASSERT_GE(s.ascent.size(), 2u);
    s.ascent[0].cellCurrent = -1e12; // fits no field
    s.ascent[0].gph = 99999.5;       // would read as above the missing value
    s.ascent[1].duration = 5e6;      // a corrupt time stamp
    ASSERT_GE(s.ascent.size(), 3u);
    ArchiveLevel& last = s.ascent.back(); // the longest time kept, pump readings unknown
    last.duration = 999999.999;
    last.pumpCurrent = last.battery = Unknown;
    const ArchiveText a = amesFile(q, s, ArchiveMeta{});
    for (std::size_t from = 0, end; (end = a.text.find("\r\n", from)) != std::string::npos; from = end + 2)
        EXPECT_LE(end - from, 132u) << a.text.substr(from, end - from);
    EXPECT_EQ(a.text.find("5000000.000"), std::string::npos);
    EXPECT_NE(a.text.find("999999.999"), std::string::npos);
    EXPECT_EQ(a.text.find("-1000000000000"), std::string::npos);
    EXPECT_EQ(a.text.find("99999.5"), std::string::npos);
    EXPECT_NE(std::find(a.warnings.begin(), a.warnings.end(),
                        "NDACC " + a.name + ": 1 level(s) left out whose time after launch is beyond 1e6 s"),
              a.warnings.end());
}

TEST(ArchiveProfile, EndingWhileAscendingIsNoBurstAndStoppedPumpReadsUnknown)
{
    Q5 q;
    buildFlight(q);
    q.burstRec = q.fltRecs.last(); // the processing's highest point
    addWarning(q.warnings, "ends-ascending", "The data end while still ascending");
    setProcessed(addOzone(q.fltRecs, 21, 2, 1.8, 27, 0, 0), 480, 10, 50, 0, 900, 0, 5700, 60);
    const ArchiveSonde s = buildArchiveProfile(q).sondes.at(0);
    EXPECT_EQ(s.ascent.size(), 5u);
    EXPECT_TRUE(s.descent.empty());
    EXPECT_FALSE(known(s.burstPressure));
    EXPECT_FALSE(known(s.ascent.back().pumpCurrent)); // a running pump never reads 0
    EXPECT_FALSE(known(s.ascent.back().battery));
    EXPECT_EQ(s.ascent.front().pumpCurrent, 80);

    q.warnings.clear(); // a real burst at the last record: its ozone, not its air pressure
    const ArchiveSonde b = buildArchiveProfile(q).sondes.at(0);
    EXPECT_EQ(b.ascent.size(), 4u);
    EXPECT_DOUBLE_EQ(b.burstO3pp, 6.0);
}

TEST(ArchiveFiles, BackgroundModelVersionAndReferenceTimeAsApplied)
{
    Q5 q;
    buildFlight(q);
    q.reference.utcMean = "12:30:00";
    q.reference.totalO3 = 300.0;
    ArchiveMeta meta;
    meta.station.dataVersion = "2.0";
    const auto line = [&](const std::string& table) {
        const std::string w = woudcFile(q, buildArchiveProfile(q).sondes.at(0), meta).text;
        const std::size_t at = w.find("#" + table + "\r\n");
        const std::size_t row = w.find("\r\n", w.find("\r\n", at + 2) + 2) + 2;
        return at == std::string::npos ? std::string() : w.substr(row, w.find("\r\n", row) - row);
    };
    EXPECT_EQ(line("OZONE_REFERENCE"), ",,,,300.0,,,12.5000");
    EXPECT_EQ(line("DATA_GENERATION").substr(10), ",,2.0,");
    q.bkgRef[1] = 0.05;
    EXPECT_NE(line("FLIGHT_SUMMARY").find(",Constant,Pump"), std::string::npos);
    q.bkgCount = 2;
    q.bkgP[0] = 1000, q.bkgP[1] = 10, q.bkgVal[0] = 1, q.bkgVal[1] = 1; // a flat table
    EXPECT_NE(line("FLIGHT_SUMMARY").find(",Constant,Pump"), std::string::npos);
    q.bkgVal[1] = 0.1;
    q.o3Sonde[1].thermistorText = "Box";
    EXPECT_NE(line("FLIGHT_SUMMARY").find(",Pressure dependent,Box"), std::string::npos);

    copyText(q.o3Sonde[1].sn, "X001"); // no model in the configuration or the serial
    const ArchiveText w = woudcFile(q, buildArchiveProfile(q).sondes.at(0), meta);
    EXPECT_TRUE(std::any_of(w.warnings.begin(), w.warnings.end(),
                            [](const std::string& m) { return m.find("#INSTRUMENT.Model") != std::string::npos; }));
    meta.station.ndaccCode = "LU";
    EXPECT_EQ(amesFileName(buildArchiveProfile(q).sondes.at(0), meta), "lu260621.X001.b00"); // second position
}

TEST(ArchiveFiles, AmesLeavesOutRepeatedTimesAndValuesBeyondItsMissingValue)
{
    Q5 q;
    buildFlight(q);
    ArchiveSonde s = buildArchiveProfile(q).sondes.at(0);
    ASSERT_GE(s.ascent.size(), 2u);
    const auto lines = [](const std::string& text) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
            ++n;
        return n;
    };
    const std::size_t before = lines(amesFile(q, s, ArchiveMeta{}).text);
    s.ascent[1].duration = s.ascent[0].duration; // a level at the time of the one before
    q.stnAlt = 200000;
    const ArchiveText a = amesFile(q, s, ArchiveMeta{});
    EXPECT_EQ(lines(a.text), before - 1);
    ASSERT_EQ(a.warnings.size(), 2u);
    EXPECT_EQ(a.warnings[0], "NDACC " + a.name + ": 1 level(s) left out whose time after launch repeats the previous one");
    EXPECT_NE(a.warnings[1].find("Station height [m] 200000.0 is beyond"), std::string::npos) << a.warnings[1];
    EXPECT_EQ(a.text.find("200000.0"), std::string::npos);
}

} // namespace
} // namespace lumo
