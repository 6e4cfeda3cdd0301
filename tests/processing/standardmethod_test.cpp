// The standard method per sonde: the choices it makes from the
// configuration, the warnings for what is missing, the response correction
// on hand-built series, and a whole run against the classic one.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "flight/q5.h"
#include "processing/flightimport.h"
#include "processing/ozone.h"
#include "processing/responsecorrection.h"
#include "processing/standardmethod.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

// A 6A sonde with 1.0 % KI full buffer and every input the method uses.
void fullSonde(Q5& q)
{
    O3SondeCfg& s = q.o3Sonde[0];
    std::snprintf(s.sn, sizeof s.sn, "6A12345");
    s.bkg = 0.05;
    s.flow = 28.0;
    s.family = SondeFamily::SixA;
    s.kiPct = 1.0;
    s.bufferFraction = 1.0;
    s.solutionVolume = 3.0;
    s.ib0 = 0.02;
    s.ib1 = 0.06;
    s.ib2 = 0.04;
    s.thermistor = Thermistor::Internal;
    s.flowTemp = 20.0;
    s.flowHumidity = 30.0;
    s.flowPressure = 1000.0;
    q.o3Method.method = O3Method::Standard;
}

TEST(StandardMethod, PartialPressureFromTheSteps)
{
    Q5 q;
    fullSonde(q);
    const StandardSonde s(q, 0);
    EXPECT_TRUE(s.result.stepsSkipped.empty());
    EXPECT_TRUE(s.warnings.empty());
    // Ib2 background, internal thermistor, moistened flow, Komhyr 1986 at 1000 hPa (1.0).
    const double flow0 = 0.990459 * 100 / 28.0;
    const double tpK = 25 + 273.15 + 3.9 - 0.8 * 3;
    EXPECT_NEAR(s.o3pp(1000, 1.04, 25), 10 * 0.043085 * tpK * 1.0 / flow0, 1e-4);

    // Left out to reproduce older processing: the measured pump temperature
    // alone, and the run says so.
    q.o3Method.pumpHeatOffset = false;
    const StandardSonde noHeat(q, 0);
    EXPECT_NEAR(noHeat.o3pp(1000, 1.04, 25), s.o3pp(1000, 1.04, 25) * (25 + 273.15) / tpK, 1e-9);
    ASSERT_EQ(noHeat.result.stepsSkipped.size(), 1u);
    EXPECT_EQ(noHeat.result.stepsSkipped[0].name, "pumpHeatOffset");
}

TEST(StandardMethod, UncertaintyFromTheAppliedStepsTerms)
{
    Q5 q;
    fullSonde(q);
    const StandardSonde s(q, 0);
    const double o3pp = s.o3pp(1000, 1.04, 25);
    // Net current 1 uA: current 0.0104 and background 0.02 uA; alpha 0.01 and
    // stoichiometry 0.03; flow 0.02, humidity 0.005, C_PF 0 at the ground;
    // pump temperature 0.5 K and the internal offset's 0.5 K at 299.65 K.
    const double rel = std::sqrt(0.0104 * 0.0104 + 0.0004 + 0.0001 + 0.0009 + 0.0004 + 0.000025 + 0.5 / (299.65 * 299.65));
    EXPECT_NEAR(s.uncertainty(q.uncertainty, 1000, 1.04, 25, o3pp) / o3pp, rel, 1e-9);
    // Above 100 hPa the table's own sigma counts: 0.010 at 10 hPa.
    const double at10 = s.o3pp(10, 1.04, 25);
    EXPECT_GT(s.uncertainty(q.uncertainty, 10, 1.04, 25, at10) / at10, rel);
}

TEST(StandardMethod, BackgroundChoice)
{
    Q5 q;
    fullSonde(q);
    // The background is the current that gives zero ozone.
    const auto zeroAt = [&q] {
        const StandardSonde s(q, 0);
        const double a = s.o3pp(1000, 1.0, 25), b = s.o3pp(1000, 2.0, 25);
        return 1.0 - a / (b - a);
    };
    EXPECT_NEAR(zeroAt(), 0.04, 1e-9); // auto: Ib2
    q.o3Sonde[0].ib2.reset();
    EXPECT_NEAR(zeroAt(), 0.06, 1e-9); // then Ib1
    q.o3Sonde[0].ib1.reset();
    EXPECT_NEAR(zeroAt(), 0.02, 1e-9); // then Ib0
    q.o3Sonde[0].ib0.reset();
    EXPECT_NEAR(zeroAt(), 0.05, 1e-9); // then bkg
    q.o3Method.background = BackgroundChoice::Ib1;
    EXPECT_NEAR(zeroAt(), 0.05, 1e-9);
    const StandardSonde s(q, 0);
    ASSERT_EQ(s.warnings.size(), 1u);
    EXPECT_NE(s.warnings[0].message.find("no ib1"), std::string::npos) << s.warnings[0].message;
    EXPECT_NE(s.warnings[0].message.find("bkg"), std::string::npos);
}

TEST(StandardMethod, EachMissingInputSkipsItsStepWithAWarning)
{
    Q5 q;
    std::snprintf(q.o3Sonde[0].sn, sizeof q.o3Sonde[0].sn, "X1");
    q.o3Sonde[0].bkg = 0.05;
    q.o3Sonde[0].flow = 28;
    q.o3Method.method = O3Method::Standard;
    q.o3Method.transferTo = TransferTo::Z05;
    q.o3Method.responseCorrection = true;
    const StandardSonde s(q, 0);
    std::vector<std::string> skipped;
    for (const SkippedStep& k : s.result.stepsSkipped)
        skipped.push_back(k.name);
    EXPECT_EQ(skipped, (std::vector<std::string>{"responseCorrection", "absorption", "transfer", "thermistorPlace",
                                                 "moistening"}));
    EXPECT_NE(s.result.stepsSkipped[0].warning.find("no sonde type"), std::string::npos);
    EXPECT_NE(s.result.stepsSkipped[1].warning.find("solutionVolume"), std::string::npos);
    EXPECT_NE(s.result.stepsSkipped[3].warning.find("thermistor"), std::string::npos);
    EXPECT_NE(s.result.stepsSkipped[4].warning.find("flowTemp"), std::string::npos);
    EXPECT_EQ(s.result.stepsApplied, (std::vector<std::string>{"background", "pumpTemperature", "pumpEfficiency"}));
    EXPECT_FALSE(s.responseCorrected());

    // A known type without a solution: no conversion factor.
    q.o3Sonde[0].family = SondeFamily::Z;
    const StandardSonde z(q, 0);
    EXPECT_EQ(z.result.stepsSkipped[0].name, "responseCorrection");
    EXPECT_NE(z.result.stepsSkipped[0].warning.find("no solution type"), std::string::npos);
    EXPECT_NE(z.result.stepsSkipped[2].warning.find("no conversion factor"), std::string::npos);
    EXPECT_NE(z.o3pp(1000, 1.0, 25), Missing); // the profile is still computed
}

TEST(StandardMethod, SlowCurrentStartWithAndWithoutIb1)
{
    Q5 q;
    fullSonde(q);
    q.o3Method.responseCorrection = true;
    EXPECT_NEAR(StandardSonde(q, 0).slowStart(), 0.04 * 0.427415, 1e-6); // exp(-1275/1500)
    q.o3Sonde[0].ib1Delay = 600;
    EXPECT_NEAR(StandardSonde(q, 0).slowStart(), 0.04 * 0.670320, 1e-6);
    q.o3Sonde[0].ib1.reset();
    const StandardSonde none(q, 0);
    EXPECT_EQ(none.slowStart(), 0);
    ASSERT_EQ(none.warnings.size(), 1u);
    EXPECT_NE(none.warnings[0].message.find("no ib1"), std::string::npos);
}

// The cell's forward model for 1 s steps: a fast pathway lagging the true
// current F with tauFast, and the slow one adding beta (I - Ib0) with tauSlow.
// The correction must give F back, whatever its shape.
void expectRecovered(double (*truth)(int))
{
    Q5 q;
    fullSonde(q);
    q.o3Method.responseCorrection = true;
    q.o3Sonde[0].ib1.reset();
    const StandardSonde s(q, 0);
    ResponseCorrection rc(s, s.cell().tauFast);
    const double xf = std::exp(-1.0 / s.cell().tauFast), xs = std::exp(-1.0 / s.tauSlow());
    const double beta = s.cell().beta, ib0 = s.ib0();
    double fast = truth(0), slow = 0;
    EXPECT_NEAR(rc.fastCurrent(ib0 + fast + slow, -1), truth(0), 1e-12);
    for (int i = 1; i < 300; ++i) {
        fast = fast * xf + (1 - xf) * truth(i);
        slow = (beta * (1 - xs) * fast + slow * xs) / (1 - beta * (1 - xs));
        EXPECT_NEAR(rc.fastCurrent(ib0 + fast + slow, 1.0), truth(i), 1e-9) << "at " << i << " s";
    }
}

TEST(ResponseCorrection, DeconvolvesAStepAndARamp)
{
    expectRecovered([](int i) { return i < 50 ? 0.5 : 2.0; });
    expectRecovered([](int i) { return 0.2 + 0.01 * i; });
}

// A steady rate takes the shortcut of one weight vector; a jittered one the
// weights by each distance. Both smooth alike.
TEST(ResponseCorrection, SteadyAndUnsteadyRatesSmoothAlike)
{
    Q5 q;
    fullSonde(q);
    q.o3Method.responseCorrection = true;
    const StandardSonde s(q, 0);
    const auto series = [&s](double jitter) {
        std::vector<RawRecord> recs(200);
        ResponseCorrection rc(s, s.cell().tauFast);
        for (int i = 0; i < 200; ++i) {
            recs[i].data.o3.ic = 0.5 + (i > 80 ? 1.0 : 0.0) + 0.02 * std::sin(i * 0.7);
            recs[i].data.o3.tp = 20;
            rc.push(recs[i], i + jitter * (i % 2), 500, nullptr);
        }
        rc.flush(nullptr);
        return recs;
    };
    const auto steady = series(0), jittered = series(0.002);
    for (int i = 0; i < 200; ++i) {
        ASSERT_NE(steady[i].data.o3.o3pp, Missing);
        EXPECT_NEAR(steady[i].data.o3.o3pp, jittered[i].data.o3.o3pp, 2e-3 * steady[i].data.o3.o3pp) << i;
    }
    EXPECT_GT(steady[120].data.o3.o3pp, 2.5 * steady[40].data.o3.o3pp); // the step is there
}

// A whole run on the sample flight: the standard method changes the profile
// but keeps the classic one, whose column is the classic run's.
TEST(StandardMethod, RunKeepsTheClassicProfileAndColumn)
{
    const auto run = [](Q5& q, const std::string& cfg) {
        test::TempDir dir;
        std::string text = test::readFile(test::sourcePath("samples/flight1.cfg"));
        text.insert(text.find("sn=5A51252"), cfg);
        const std::string file = dir.write("f.cfg", text);
        ASSERT_TRUE(importFlight(q, test::sourcePath("samples/flight1.raw"), file).ok());
        ASSERT_TRUE(q.processFlight());
    };
    Q5 classic;
    run(classic, "");
    Q5 standard;
    standard.o3Method.method = O3Method::Standard;
    standard.o3Method.responseCorrection = true;
    run(standard, "solutionType=1.0% KI, full buffer\nib0=0.03\nib1=0.07\nthermistor=internal\n"
                  "solutionVolume=3.0\nflowTemp=21\nflowHumidity=40\n");
    const O3MethodResult& m = standard.o3MethodResult[0];
    EXPECT_TRUE(m.responseCorrected);
    EXPECT_EQ(m.method, O3Method::Standard);
    EXPECT_NEAR(m.classicMeasured, classic.o3Measured[0], 1e-9);
    EXPECT_NE(standard.o3Measured[0], classic.o3Measured[0]);
    EXPECT_NEAR(standard.o3Measured[0] / classic.o3Measured[0], 1.0, 0.15);
    EXPECT_NE(standard.o3MeasuredUnc[0], Missing);
    int compared = 0;
    for (const RawRecord *a = classic.fltRecs.first(), *b = standard.fltRecs.first(); a && b; a = a->next, b = b->next)
        if (a->isOzone() && a->data.o3.o3pp != Missing) {
            EXPECT_EQ(classicO3pp(standard, *b), a->data.o3.o3pp);
            ++compared;
        }
    EXPECT_GT(compared, 1000);
    EXPECT_EQ(classic.o3MethodResult[0].classicMeasured, classic.o3Measured[0]);
}

} // namespace
} // namespace lumo
