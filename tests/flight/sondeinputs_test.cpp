// The standard method's inputs of the flight configuration.
#include <gtest/gtest.h>

#include "flight/q5.h"
#include "flight/readconfig.h"
#include "flight/sondeinputs.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

TEST(SondeInputs, SolutionTypeTexts)
{
    struct Case {
        const char* text;
        std::optional<double> ki, buffer;
    };
    const Case cases[] = {{"1.0% KI, full buffer", 1.0, 1.0},
                          {"0.5% KI, half buffer", 0.5, 0.5},
                          {"1% KI, 1/10 buffer", 1.0, 0.1},
                          {"2% KI, no buffer", 2.0, 0.0},
                          {"1.0 % ki, 0.1 buffer", 1.0, 0.1},
                          {"SST0.5", std::nullopt, std::nullopt},
                          {"", std::nullopt, std::nullopt}};
    for (const Case& c : cases) {
        std::optional<double> ki, buffer;
        parseSolutionType(c.text, ki, buffer);
        EXPECT_EQ(ki, c.ki) << c.text;
        EXPECT_EQ(buffer, c.buffer) << c.text;
    }
}

TEST(SondeInputs, FamilyFromModelElseSerial)
{
    EXPECT_EQ(sondeFamily("6A", "Z1234"), SondeFamily::SixA);
    EXPECT_EQ(sondeFamily("4a", ""), SondeFamily::SixA);
    EXPECT_EQ(sondeFamily("2Z", "6A1"), SondeFamily::Z);
    EXPECT_EQ(sondeFamily("", "5A51252"), SondeFamily::SixA);
    EXPECT_EQ(sondeFamily("", "2Z40012"), SondeFamily::Z);
    EXPECT_EQ(sondeFamily("ECC", "X77"), SondeFamily::Unknown);
}

TEST(SondeInputs, ReadByReadConfig)
{
    test::TempDir dir;
    const std::string file = dir.write(
        "f.cfg", "[bkg_corr]\nn=1\n00=1000,1\n[pmp_eff]\nn=1\n00=1000,1\n"
                 "[ozonesonde#1]\nsn=Z30001\nbkg=0.03\nflow=28\nsolutionType=1.0% KI, full buffer\nkiPct=0.5\n"
                 "thermistor=Glued\nflowPressure=965.5\nib1Delay=600\n"
                 "[ozonesonde#2]\nsn=X2\nbkg=0.03\nflow=28\nmodel=6A\nbufferFraction=2\nthermistor=inside\n"
                 "flowPressure=abc\n");
    Q5 q;
    ASSERT_TRUE(q.ReadConfig(file));
    const O3SondeCfg& a = q.o3Sonde[0];
    EXPECT_EQ(a.family, SondeFamily::Z);
    EXPECT_EQ(a.kiPct, 0.5);          // the key before the text
    EXPECT_EQ(a.bufferFraction, 1.0); // from the text
    EXPECT_EQ(a.thermistor, Thermistor::Glued);
    EXPECT_EQ(a.flowPressure, 965.5);
    EXPECT_EQ(a.ib1Delay, 600.0);
    const O3SondeCfg& b = q.o3Sonde[1];
    EXPECT_EQ(b.family, SondeFamily::SixA);
    EXPECT_FALSE(b.kiPct);
    EXPECT_FALSE(b.bufferFraction); // 2 is no fraction
    EXPECT_EQ(b.thermistor, Thermistor::Unknown);
    EXPECT_FALSE(b.flowPressure);
    EXPECT_FALSE(b.ib1Delay);
}

} // namespace
} // namespace lumo
