// The simulated cell: its two reaction pathways in time, the pump-air
// temperature and pump-efficiency factors on hand-worked values, and a
// flight whose current carries them while every other line stays as it was.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cellmodel.h"
#include "flight/ini.h"
#include "flight/q5.h"
#include "flightsimulator.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo::test {
namespace {

sim::CellSetup cell(double tauFast, double beta)
{
    sim::CellSetup c;
    c.response = {tauFast, beta, 0, 0};
    c.ib0 = c.ib1 = 0.02;
    return c;
}

TEST(CellResponse, FastPathwayRisesWithItsTimeConstant)
{
    const sim::CellSetup c = cell(25, 0);
    sim::CellResponse r(c, 0);
    for (int i = 0; i < 100; ++i) // 25 s in steps of 0.25 s after a step to 1 uA
        r.advance(0.25, 1.0);
    // The first step ramps the input up within its 0.25 s: 0.125 s late.
    EXPECT_NEAR(r.fast(), 1 - std::exp(-(25 - 0.125) / 25.0), 1e-4);
    EXPECT_NEAR(r.current(), 0.02 + r.fast(), 1e-12);
}

TEST(CellResponse, SlowPathwaySettlesToItsShareOfTheOzoneCurrent)
{
    sim::CellSetup c = cell(0, 0.05);
    c.ib1 = 0.07; // 0.05 uA left from the laboratory, decayed over 1500 s
    c.ib1Delay = 1500;
    sim::CellResponse r(c, 2.0);
    EXPECT_NEAR(r.slow(), 0.05 * std::exp(-1.0), 1e-12);
    for (int i = 0; i < 30000; ++i)
        r.advance(1, 2.0);
    // I_S = beta (I_F + I_S): the slow current is beta / (1 - beta) of the fast.
    EXPECT_NEAR(r.slow(), 2.0 * 0.05 / 0.95, 1e-6);
}

TEST(CellFactors, PumpTemperatureOffsetsByThermistorPlace)
{
    using sim::ThermistorPlace;
    const double ppi500 = 3.9 - 0.8 * std::log10(500.0);
    EXPECT_NEAR(sim::pumpTemperatureOffset(ThermistorPlace::Box, 500), 7.43 - 0.393 * std::log10(500.0) + ppi500, 1e-9);
    EXPECT_NEAR(sim::pumpTemperatureOffset(ThermistorPlace::Taped, 40), 8.25 + 3.9 - 0.8 * std::log10(40.0), 1e-9);
    EXPECT_NEAR(sim::pumpTemperatureOffset(ThermistorPlace::Glued, 10), 3.0 + 3.1, 1e-9);
    EXPECT_NEAR(sim::pumpTemperatureOffset(ThermistorPlace::Internal, 500), ppi500, 1e-9);
    // Held at the 3 hPa values above.
    EXPECT_EQ(sim::pumpTemperatureOffset(ThermistorPlace::Box, 1), sim::pumpTemperatureOffset(ThermistorPlace::Box, 3));
}

TEST(CellFactors, PumpEfficiencyLinearInLogPressureByFamily)
{
    using sim::CellFamily;
    EXPECT_EQ(sim::pumpEfficiencyFactor(CellFamily::Z, 150), 1.0);
    EXPECT_DOUBLE_EQ(sim::pumpEfficiencyFactor(CellFamily::SixA, 100), 1.007);
    const double w = std::log10(50.0 / 40) / std::log10(50.0 / 30);
    EXPECT_NEAR(sim::pumpEfficiencyFactor(CellFamily::Z, 40), 1.018 + w * 0.011, 1e-12);
    EXPECT_NEAR(sim::pumpEfficiencyFactor(CellFamily::SixA, 40), 1.018 + w * 0.004, 1e-12);
    EXPECT_DOUBLE_EQ(sim::pumpEfficiencyFactor(CellFamily::Z, 2), 1.241);
}

TEST(CellFactors, SettledCurrentRunsTheMeasurementEquationBackwards)
{
    sim::CellSetup c = cell(25, 0.017);
    c.family = sim::CellFamily::Z;
    c.response.calA = 9.67;
    c.response.calB = -2.65;
    c.flowTempC = 22;
    c.flowHumidity = 40;
    c.flowPressure = 950;
    const double moistening = 1 + 2 / 295.15 - 0.6 * std::pow(10.0, 7.5 * 22 / 259.3 + 0.7858) / 950;
    EXPECT_NEAR(c.flowFactor(), moistening, 1e-12);
    // P = 0.043085 T I_cal / Phi with Phi = 100 / t100 x moistening / C_PF
    // and I_cal = I_F 100 / (100 + R).
    const double i = sim::settledFastCurrent(c, 12.0, 20, 300, 28);
    const double phi = 100.0 / 28 * moistening / 1.041;
    EXPECT_NEAR(0.043085 * 300 * i * 100 / (100 + 9.67 - 2.65 * std::log10(20.0)) / phi, 12.0, 1e-9);
}

sim::SimOptions flightOptions()
{
    sim::SimOptions o;
    o.seed = 5;
    o.sondes = 2;
    o.burstKm = 12;
    o.surfaceMin = 2;
    return o;
}

TEST(CellSimulation, ChangesOnlyTheOzoneLinesAndWritesTheCellKeys)
{
    sim::SimOptions o = flightOptions();
    const sim::SimulatedFlight plain = sim::simulateFlight(o);
    o.cell.enabled = true;
    o.cell.family = sim::CellFamily::SixA;
    const sim::SimulatedFlight cell = sim::simulateFlight(o);
    std::istringstream a(plain.raw), b(cell.raw);
    std::size_t ozone = 0, differ = 0;
    for (std::string la, lb; std::getline(a, la) && std::getline(b, lb);) {
        // Packet type 03 (no other auxiliary instrument flies): the ozonesonde lines.
        const bool isOzone = la.size() > 30 && la.compare(la.rfind(' ') + 3, 2, "03") == 0;
        ozone += isOzone;
        differ += la != lb;
        if (!isOzone) {
            ASSERT_EQ(la, lb);
        }
    }
    EXPECT_GT(ozone, 1000u);
    EXPECT_GT(differ, ozone / 2);
    EXPECT_EQ(plain.profile.back().o3[0], cell.profile.back().o3[0]); // the truth stays the true ozone

    TempDir dir;
    std::string error;
    ASSERT_TRUE(sim::writeFlight(cell, dir.file("f"), error)) << error;
    const IniFile ini(dir.file("f.cfg"));
    const sim::CellSetup& c = cell.chain[0].cell;
    EXPECT_EQ(IniReadText("ozonesonde#1", "model", "", ini), "6A");
    EXPECT_NE(cell.chain[0].sn.substr(0, 2), "2Z"); // the serial names a 6A-family model
    EXPECT_EQ(IniReadText("ozonesonde#1", "solutionType", "", ini), "1.0% KI, full buffer");
    EXPECT_EQ(IniReadText("ozonesonde#2", "thermistor", "", ini), "box");
    for (const char* key : {"kiPct", "bufferFraction", "ib0", "ib1", "ib2", "ib1Delay", "flowTemp", "flowHumidity",
             "flowPressure"})
        EXPECT_FALSE(IniReadText("ozonesonde#2", key, "", ini).empty()) << key;
    EXPECT_EQ(IniReadText("ozonesonde#1", "bkg", "", ini), IniReadText("ozonesonde#1", "ib2", "", ini));
    EXPECT_NEAR(c.ib2, c.ib0 + (c.ib1 - c.ib0) * std::exp(-c.ib1Delay / 1500), 0.0005);
    // The processing reads what the preparation recorded.
    Q5 q;
    ASSERT_TRUE(importFlight(q, dir.file("f.raw"), dir.file("f.cfg")).ok());
    const O3SondeCfg& read = q.o3Sonde[1];
    EXPECT_EQ(read.family, SondeFamily::SixA);
    EXPECT_EQ(read.thermistor, Thermistor::Box);
    EXPECT_EQ(read.kiPct, 1.0);
    EXPECT_EQ(read.bufferFraction, 1.0);
    EXPECT_EQ(read.ib1Delay, cell.chain[1].cell.ib1Delay);
    EXPECT_NEAR(read.flowPressure.value_or(0), cell.chain[1].cell.flowPressure, 1e-9);
    EXPECT_EQ(c.response.tauFast, 21);
    EXPECT_EQ(c.response.beta, 0.051);
}

// Without the cell options the simulator writes what it wrote before: the
// first sample flight as scripts/make-samples makes it.
TEST(CellSimulation, OffLeavesTheCommittedSampleByteForByte)
{
    sim::SimOptions o;
    o.seed = 1;
    o.stationName = "Lumo Sim Midlat";
    o.stnLat = 46.81;
    o.stnLong = 6.94;
    o.stnAlt = 491;
    o.gpsVelocities = true;
    o.extendedPtu = true;
    o.truthStep = 10;
    o.profile = sim::profileForLatitude(o.stnLat);
    TempDir dir;
    std::string error;
    ASSERT_TRUE(sim::writeFlight(sim::simulateFlight(o), dir.file("flight1"), error)) << error;
    for (const char* ext : {".raw", ".cfg", ".truth.json"})
        EXPECT_TRUE(readFile(dir.file(std::string("flight1") + ext)) ==
                    readFile(sourcePath(std::string("samples/flight1") + ext)))
            << ext;
}

TEST(CellSimulation, RefusesASolutionWithoutReactionConstants)
{
    sim::SimOptions o = flightOptions();
    o.cell.enabled = true;
    o.cell.kiPct = 2.0;
    EXPECT_NE(o.validate().find("no reaction constants"), std::string::npos);
    o.cell.tauFast = 20;
    o.cell.beta = 0.03;
    o.cell.calA = 1;
    o.cell.calB = 0;
    EXPECT_EQ(o.validate(), "");
}

} // namespace
} // namespace lumo::test
