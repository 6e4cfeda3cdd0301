// The simulator's files read back with the application's own readers:
// configuration values, record counts per list and packet kind, flags.

#include <gtest/gtest.h>

#include <cstring>

#include "simfixture.h"

namespace lumo::test {
namespace {

sim::SimOptions shortFlight(int sondes)
{
    sim::SimOptions o;
    o.seed = 7;
    o.sondes = sondes;
    o.burstKm = 12;
    o.surfaceMin = 3;
    return o;
}

TEST(SimulatorReadBack, ConfigurationHoldsStationChainTablesAndSurface)
{
    sim::SimOptions o = shortFlight(4);
    o.stnLat = -21.06;
    o.stnLong = 55.48;
    o.stnAlt = 8;
    o.profile = sim::ProfileKind::Tropical;
    o.pressureSensor = false;
    LoadedFlight l(o);
    ASSERT_TRUE(l.configRead);
    const Q5& q = l.q5;
    EXPECT_STREQ(q.stnName, o.stationName.c_str());
    EXPECT_DOUBLE_EQ(q.stnLat, -21.06);
    EXPECT_DOUBLE_EQ(q.stnLong, 55.48);
    EXPECT_DOUBLE_EQ(q.stnAlt, 8);
    EXPECT_EQ(q.fltYear, o.year);
    EXPECT_EQ(q.fltMonth, o.month);
    EXPECT_EQ(q.fltDay, o.day);
    EXPECT_EQ(q.rsPrInst, 0);
    EXPECT_EQ(q.rsGpsInst, 1);
    EXPECT_STREQ(q.rsSondeId, l.flight.radiosondeId.c_str());

    const auto& t = l.flight.tables;
    ASSERT_EQ(q.bkgCount, t.background.size());
    for (std::size_t i = 0; i < t.background.size(); ++i) {
        EXPECT_DOUBLE_EQ(q.bkgP[i], t.background[i].p);
        EXPECT_DOUBLE_EQ(q.bkgVal[i], t.background[i].factor);
    }
    ASSERT_EQ(q.effCount, t.efficiency.size());
    for (std::size_t i = 0; i < t.efficiency.size(); ++i) {
        EXPECT_DOUBLE_EQ(q.effP[i], t.efficiency[i].p);
        EXPECT_DOUBLE_EQ(q.effVal[i], t.efficiency[i].factor);
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& s = l.flight.chain[i];
        EXPECT_STREQ(q.o3Sonde[i].sn, s.sn.c_str());
        EXPECT_DOUBLE_EQ(q.o3Sonde[i].bkg, s.bkg);
        EXPECT_DOUBLE_EQ(q.o3Sonde[i].flow, s.flow);
        EXPECT_NEAR(q.sfcO3[i], l.flight.surface.o3[i], 0.005);
    }
    EXPECT_DOUBLE_EQ(q.sfcP, l.flight.surface.p);
    EXPECT_DOUBLE_EQ(q.stdP, l.flight.surface.p);
    EXPECT_DOUBLE_EQ(q.sfcT, l.flight.surface.t);
    EXPECT_DOUBLE_EQ(q.sfcU, l.flight.surface.u);
    // A tropical station at sea level: a warm, moist surface near 1013 hPa.
    EXPECT_NEAR(q.sfcP, 1012, 8);
    EXPECT_GT(q.sfcT, 20);
}

TEST(SimulatorReadBack, UnusedChainPositionsStayEmpty)
{
    LoadedFlight l(shortFlight(2));
    ASSERT_TRUE(l.configRead);
    EXPECT_NE(l.q5.o3Sonde[1].sn[0], '\0');
    EXPECT_EQ(l.q5.o3Sonde[2].sn[0], '\0');
    EXPECT_EQ(l.q5.o3Sonde[3].sn[0], '\0');
}

void expectCounts(const LoadedFlight& l)
{
    const sim::ExpectedCounts& e = l.flight.counts;
    const RecordCounts s = countRecords(l.q5.sfcRecs);
    const RecordCounts f = countRecords(l.q5.fltRecs);
    EXPECT_EQ(s.ptu, e.surfacePtu);
    EXPECT_EQ(s.gps, e.surfaceGps);
    EXPECT_EQ(s.aux, e.surfaceAux);
    EXPECT_EQ(f.ptu, e.flightPtu);
    EXPECT_EQ(f.gps, e.flightGps);
    EXPECT_EQ(f.aux, e.flightAux);
    EXPECT_EQ(s.other + f.other, 0u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.ozone[i], e.surfaceOzone[i]) << "ozonesonde " << i + 1;
        EXPECT_EQ(f.ozone[i], e.flightOzone[i]) << "ozonesonde " << i + 1;
    }
    const std::size_t kept = e.surfacePtu + e.surfaceGps + e.surfaceAux + e.flightPtu + e.flightGps + e.flightAux;
    std::size_t ozone = 0;
    for (int i = 0; i < 4; ++i)
        ozone += e.surfaceOzone[i] + e.flightOzone[i];
    // Every line is a record, a dropped line or the separator.
    EXPECT_EQ(kept + ozone + e.duplicates + e.invalidPtu + e.invalidGps + e.unknownType + 1, e.lines);
}

TEST(SimulatorReadBack, RawFileGivesTheExpectedRecordsPerListAndKind)
{
    sim::SimOptions o = shortFlight(4);
    o.auxPeriod = 30;
    LoadedFlight l(o);
    ASSERT_TRUE(l.rawRead);
    expectCounts(l);
    EXPECT_EQ(l.q5.o3Count, 4u);
    EXPECT_EQ(l.q5.hasPtuExt, 0);
    EXPECT_EQ(l.q5.hasGpsVel, 0);
    // One packet per stream and second: the surface period holds 3 minutes.
    EXPECT_EQ(l.flight.counts.surfacePtu, 180u);
    EXPECT_EQ(l.flight.counts.surfaceOzone[3], 180u);
    EXPECT_EQ(l.flight.counts.surfaceAux, 6u);
}

TEST(SimulatorReadBack, ExtendedPtuAndGpsVelocitiesSetTheirFlags)
{
    sim::SimOptions o = shortFlight(1);
    o.extendedPtu = true;
    o.gpsVelocities = true;
    LoadedFlight l(o);
    ASSERT_TRUE(l.rawRead);
    expectCounts(l);
    EXPECT_EQ(l.q5.hasPtuExt, 1);
    EXPECT_EQ(l.q5.hasGpsVel, 1);
    const RecordCounts f = countRecords(l.q5.fltRecs);
    EXPECT_EQ(f.ptuExt, f.ptu);
    EXPECT_EQ(f.gpsVel, f.gps);
}

TEST(SimulatorReadBack, WithoutGpsThereAreNoFixes)
{
    sim::SimOptions o = shortFlight(1);
    o.gps = false;
    LoadedFlight l(o);
    ASSERT_TRUE(l.configRead);
    ASSERT_TRUE(l.rawRead);
    EXPECT_EQ(l.q5.rsGpsInst, 0);
    EXPECT_EQ(countRecords(l.q5.sfcRecs).gps + countRecords(l.q5.fltRecs).gps, 0u);
    expectCounts(l);
}

TEST(SimulatorReadBack, FaultyLinesAreExactlyTheOnesTheReaderDrops)
{
    sim::SimOptions o = shortFlight(2);
    o.faults.setAll(0.03);
    LoadedFlight l(o);
    ASSERT_TRUE(l.rawRead);
    const sim::ExpectedCounts& e = l.flight.counts;
    EXPECT_GT(e.duplicates, 0u);
    EXPECT_GT(e.invalidPtu, 0u);
    EXPECT_GT(e.invalidGps, 0u);
    EXPECT_GT(e.unknownType, 0u);
    expectCounts(l);
    // The radiosonde starts late: the surface list opens with ozone packets.
    ASSERT_NE(l.q5.sfcRecs.first(), nullptr);
    EXPECT_TRUE(l.q5.sfcRecs.first()->isOzone());
    // Gaps and dropouts cost records: fewer PTU packets than seconds flown.
    const double flown = (l.flight.profile.back().time - l.flight.profile.front().time) * 86400;
    EXPECT_LT(static_cast<double>(e.flightPtu), flown * 0.99);
}

TEST(SimulatorReadBack, UnevenPeriodsKeepEveryTimeStampUnique)
{
    // Streams whose packets fall on the same millisecond are moved apart,
    // so no line is lost to the reader's duplicate check by accident.
    sim::SimOptions o = shortFlight(3);
    o.ptuPeriod = 0.7;
    o.gpsPeriod = 0.5;
    o.ozonePeriod = 0.6;
    o.auxPeriod = 1;
    o.faults.unknownType = 0.05;
    LoadedFlight l(o);
    ASSERT_TRUE(l.rawRead);
    expectCounts(l);
    EXPECT_EQ(l.flight.counts.duplicates, 0u);
}

TEST(SimulatorOptions, ImpossibleFlightsAreRejected)
{
    EXPECT_EQ(sim::SimOptions{}.validate(), "");
    sim::SimOptions o;
    o.sondes = 5;
    EXPECT_NE(o.validate(), "");
    o = {};
    o.stnAlt = 3000;
    o.burstKm = 4;
    EXPECT_NE(o.validate(), "");
    o = {};
    o.faults.dropout = 1.5;
    EXPECT_NE(o.validate(), "");
    o = {};
    o.month = 2;
    o.day = 30;
    EXPECT_NE(o.validate(), "");
}

TEST(SimulatorReadBack, SeparatorSplitsAtTheEndOfTheSurfacePeriod)
{
    LoadedFlight l(shortFlight(1));
    ASSERT_TRUE(l.rawRead);
    double lastSurface = 0;
    for (const RawRecord* r = l.q5.sfcRecs.first(); r; r = r->next)
        lastSurface = r->time;
    const double firstFlight = l.q5.fltRecs.first()->time;
    const double separator = l.flight.profile.front().time; // the truth starts at the separator
    EXPECT_LT(lastSurface, separator);
    EXPECT_GT(firstFlight, separator);
    EXPECT_LT((firstFlight - separator) * 86400, 1.0);
}

} // namespace
} // namespace lumo::test
