// The truth file's columns against independent integrations, and the
// physics the processing relies on: hypsometric heights, the ascent, the
// jet, the inverted ozone equation.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include <nlohmann/json.hpp>

#include "simfixture.h"

namespace lumo::test {
namespace {

sim::SimOptions fullFlight(std::uint64_t seed, sim::ProfileKind kind)
{
    sim::SimOptions o;
    o.seed = seed;
    o.profile = kind;
    o.surfaceMin = 2;
    return o;
}

// DU per nb of ozone per unit ln p from first principles: molecules per m2
// = (pO3 / p) dp / (m_air g), 1 DU = 2.6867e20 molecules per m2.
double dobsonPerNanobar()
{
    const double airMolecule = 28.9644e-3 / 6.02214076e23; // kg
    return 1e-4 / (airMolecule * 9.80665) / 2.6867e20;     // 1 nb = 1e-4 Pa
}

class TruthColumns : public ::testing::TestWithParam<sim::ProfileKind> {};

TEST_P(TruthColumns, ToBurstAgreesWithTheTrapezoidOverTheProfilePoints)
{
    const auto f = sim::simulateFlight(fullFlight(3, GetParam()));
    double sum = 0;
    const sim::TruthPoint* prev = nullptr;
    for (const auto& p : f.profile) {
        if (p.time < f.launchTime || p.time > f.burstTime)
            continue;
        if (prev)
            sum += std::log(prev->p / p.p) * (prev->o3[0] + p.o3[0]) * 0.5;
        prev = &p;
    }
    ASSERT_NE(prev, nullptr);
    EXPECT_NEAR(prev->p, f.burstPressure, 1e-3);
    EXPECT_NEAR(sum * dobsonPerNanobar(), f.columnToBurst[0], f.columnToBurst[0] * 0.002);
}

TEST_P(TruthColumns, AboveBurstAgreesWithTheMixingRatioIntegratedOverPressure)
{
    const auto f = sim::simulateFlight(fullFlight(4, GetParam()));
    // Integral of pO3 / p over p from 0 to the burst pressure; midpoint rule
    // on a grid that is fine near the top of the atmosphere.
    const double pb = f.burstPressure;
    double sum = 0;
    const int n = 400000;
    for (int i = 0; i < n; ++i) {
        const double a = pb * std::pow(static_cast<double>(i) / n, 2), b = pb * std::pow((i + 1.0) / n, 2);
        const double m = 0.5 * (a + b);
        sum += f.ozone.partialPressure(m) / m * (b - a);
    }
    const double expected = sum * dobsonPerNanobar() * f.chain[0].response;
    EXPECT_NEAR(f.columnAboveBurst[0], expected, expected * 0.002);
    // Published soundings put 25 to 70 DU above 7 to 10 hPa.
    EXPECT_GT(f.columnAboveBurst[0], 20);
    EXPECT_LT(f.columnAboveBurst[0], 75);
    EXPECT_GT(f.columnToBurst[0] + f.columnAboveBurst[0], 200);
    EXPECT_LT(f.columnToBurst[0] + f.columnAboveBurst[0], 500);
}

INSTANTIATE_TEST_SUITE_P(ProfileKinds, TruthColumns,
    ::testing::Values(sim::ProfileKind::Tropical, sim::ProfileKind::MidLatitude, sim::ProfileKind::Polar));

TEST(TruthFile, JsonHoldsLaunchBurstSondesAndProfile)
{
    sim::SimOptions o = fullFlight(5, sim::ProfileKind::MidLatitude);
    o.sondes = 3;
    o.truthStep = 10;
    LoadedFlight l(o);
    std::ifstream in(l.path(".truth.json"));
    const auto j = nlohmann::json::parse(in);
    EXPECT_EQ(j["launch"]["time"].get<double>(), l.flight.launchTime);
    EXPECT_EQ(j["burst"]["time"].get<double>(), l.flight.burstTime);
    EXPECT_NEAR(j["burst"]["pressure"].get<double>(), l.flight.burstPressure, 1e-4);
    EXPECT_NEAR(j["burst"]["heightM"].get<double>(), 32000, 0.01);
    ASSERT_EQ(j["sondes"].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(j["sondes"][i]["slot"].get<int>(), i);
        EXPECT_EQ(j["sondes"][i]["sn"].get<std::string>(), l.flight.chain[i].sn);
        EXPECT_NEAR(j["sondes"][i]["columnToBurst"].get<double>(), l.flight.columnToBurst[i], 1e-4);
        EXPECT_NEAR(j["sondes"][i]["columnAboveBurst"].get<double>(), l.flight.columnAboveBurst[i], 1e-4);
    }
    ASSERT_EQ(j["profile"].size(), l.flight.profile.size());
    const auto& last = j["profile"].back();
    EXPECT_EQ(last["o3pp"].size(), 3u);
    EXPECT_EQ(last["phase"].get<std::string>(), "descent");
    EXPECT_EQ(j["counts"]["lines"].get<std::size_t>(), l.flight.counts.lines);
}

TEST(SimulatedPhysics, HeightsFollowTheHypsometricRelation)
{
    const auto f = sim::simulateFlight(fullFlight(6, sim::ProfileKind::Tropical));
    const auto tv = [](double p, double t, double u) {
        const double es = 6.1121 * std::exp(17.502 * t / (t + 240.97));
        return (u > 0 && u < 100 ? u * es / (p * 100) * 0.37821 + 1 : 1.0) * (t + 273.15);
    };
    const sim::TruthPoint* prev = nullptr;
    double z = 0;
    for (const auto& p : f.profile) {
        if (p.phase != sim::Phase::Ascent && !(p.time == f.burstTime))
            continue;
        if (!prev) {
            z = p.z;
        } else {
            z += std::log(prev->p / p.p) * 29.2894 * (tv(prev->p, prev->t, prev->u) + tv(p.p, p.t, p.u)) * 0.5;
            ASSERT_NEAR(z, p.z, 2.0) << "at " << p.p << " hPa";
        }
        prev = &p;
    }
}

TEST(SimulatedPhysics, AscentReachesTheBurstAndTheDescentSlowsDown)
{
    sim::SimOptions o = fullFlight(7, sim::ProfileKind::MidLatitude);
    o.burstKm = 28;
    o.ascentRate = 4.5;
    const auto f = sim::simulateFlight(o);
    EXPECT_DOUBLE_EQ(f.burstHeight, 28000);
    const double ascent = (f.burstTime - f.launchTime) * 86400;
    EXPECT_NEAR((28000 - o.stnAlt) / ascent, 4.5 * 1.05, 0.35);
    // Fast in thin air after the burst, slow near the ground.
    const auto speed = [&](std::size_t i) { return std::fabs(f.profile[i + 10].z - f.profile[i].z) / 10; };
    std::size_t burst = 0;
    while (f.profile[burst].time < f.burstTime)
        ++burst;
    EXPECT_GT(speed(burst + 5), 4 * speed(f.profile.size() - 40));
    EXPECT_NEAR(speed(f.profile.size() - 40), o.landingRate, 1.5);
    EXPECT_EQ(f.profile.back().z, o.stnAlt);
}

TEST(SimulatedPhysics, LimitedDurationCutsTheDescentButNotTheAscent)
{
    sim::SimOptions o = fullFlight(7, sim::ProfileKind::MidLatitude);
    o.durationMin = 120;
    const auto f = sim::simulateFlight(o);
    EXPECT_NEAR((f.profile.back().time - f.profile.front().time) * 1440, 120, 0.02);
    EXPECT_GT(f.profile.back().z, 5000);
    o.durationMin = 10; // ends a minute after the burst
    const auto g = sim::simulateFlight(o);
    EXPECT_EQ(g.burstHeight, 32000);
    EXPECT_NEAR((g.profile.back().time - g.burstTime) * 86400, 60, 1.01);
}

TEST(SimulatedPhysics, MidLatitudeJetPeaksNearTheTropopause)
{
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
        const auto f = sim::simulateFlight(fullFlight(seed, sim::ProfileKind::MidLatitude));
        const sim::TruthPoint* jet = nullptr;
        for (const auto& p : f.profile)
            if (p.phase == sim::Phase::Ascent && p.z < 22000 && (!jet || p.windSpeed > jet->windSpeed))
                jet = &p;
        ASSERT_NE(jet, nullptr);
        EXPECT_NEAR(jet->z, 11000, 3500) << "seed " << seed;
        EXPECT_GT(jet->windSpeed, 15) << "seed " << seed;
    }
}

TEST(SimulatedPhysics, TropicalTropopauseIsHighAndColdPolarOneLow)
{
    const auto coldest = [](sim::ProfileKind k) {
        const auto f = sim::simulateFlight(fullFlight(8, k));
        const sim::TruthPoint* c = &f.profile.front();
        for (const auto& p : f.profile)
            if (p.z < 20000 && p.t < c->t)
                c = &p;
        return *c;
    };
    const auto tropical = coldest(sim::ProfileKind::Tropical);
    const auto polar = coldest(sim::ProfileKind::Polar);
    EXPECT_LT(tropical.t, -72);
    EXPECT_GT(tropical.z, 15000);
    EXPECT_GT(polar.t, -70);
    // Tropical ozone stays low up to the tropopause, polar ozone is high there.
    const auto f = sim::simulateFlight(fullFlight(8, sim::ProfileKind::Tropical));
    const auto g = sim::simulateFlight(fullFlight(8, sim::ProfileKind::Polar));
    EXPECT_LT(f.ozone.partialPressure(100), 30);
    EXPECT_GT(g.ozone.partialPressure(100), 80);
}

TEST(SimulatedOzone, CellCurrentsGiveTheTrueOzoneBackThroughTheEquation)
{
    sim::SimOptions o = fullFlight(9, sim::ProfileKind::MidLatitude);
    o.sondes = 2;
    LoadedFlight l(o);
    ASSERT_TRUE(l.configRead);
    ASSERT_TRUE(l.rawRead);
    // The tables and calibration as the configuration file gives them.
    sim::CorrectionTables tables;
    for (int i = 0; i < l.q5.bkgCount; ++i)
        tables.background.push_back({l.q5.bkgP[i], l.q5.bkgVal[i]});
    for (int i = 0; i < l.q5.effCount; ++i)
        tables.efficiency.push_back({l.q5.effP[i], l.q5.effVal[i]});
    std::size_t checked = 0;
    for (const RawRecord* r = l.q5.fltRecs.first(); r; r = r->next) {
        if (!r->isOzone())
            continue;
        double w = 0;
        const sim::TruthPoint* t = truthBracket(l.flight, r->time, w);
        if (!t || t->phase == sim::Phase::Ground)
            continue;
        const int k = r->o3Slot();
        const double p = std::exp(std::log(t[0].p) + w * std::log(t[1].p / t[0].p));
        const double truth = t[0].o3[k] + w * (t[1].o3[k] - t[0].o3[k]);
        const double bkgRef = tables.backgroundAtSurface(l.q5.o3Sonde[k].bkg, l.q5.sfcP);
        const double o3 = sim::ozonePartialPressure(r->data.o3.ic, p, r->data.o3.tp, bkgRef, l.q5.o3Sonde[k].flow, tables);
        // Current resolution 0.001 uA is about 0.04 nb; interpolating the
        // truth over one second adds a little in sharp laminae.
        ASSERT_NEAR(o3, truth, 0.05 + truth * 0.002) << "at " << p << " hPa";
        ++checked;
    }
    EXPECT_GT(checked, 10000u);
}

} // namespace
} // namespace lumo::test
