// Published soundings of five stations (tests/realdata, see its README):
// the uncertainty of their partial pressures and columns and their
// tropopauses, computed from the published profiles.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "processing/tropopause.h"
#include "processing/uncertainty.h"

namespace lumo {
namespace {

struct Level {
    double p, z, t;     // hPa, m, degC
    double o3;          // mPa
    double ic = Missing; // uA as measured; Missing where the file has none
    double tp;          // pump temperature, degC
};

struct Sounding {
    std::vector<Level> levels;
    double ib;       // uA, the background the station applied (0: none)
    double flow;     // s per 100 ml
    double residual; // DU above the top: the published one, else constant mixing ratio
};

std::vector<std::string> lines(const std::string& name)
{
    std::ifstream in(std::string(LUMO_SOURCE_DIR) + "/tests/realdata/" + name);
    std::vector<std::string> v;
    for (std::string l; std::getline(in, l);)
        v.push_back(l.empty() || l.back() != '\r' ? l : l.substr(0, l.size() - 1));
    return v;
}

std::vector<double> fields(const std::string& line, char sep = ' ')
{
    std::vector<double> v;
    std::string f;
    std::istringstream in(line);
    while (std::getline(in, f, sep)) {
        if (sep == ' ' && f.empty())
            continue;
        v.push_back(f.empty() ? Missing : std::strtod(f.c_str(), nullptr));
    }
    return v;
}

// Rows of `v` from line `from` on, mapped by `make`; rows with a value out of
// its physical range (the files' missing markers) are dropped, as are levels
// that do not rise.
std::vector<Level> rows(const std::vector<std::string>& v, std::size_t from, char sep,
                        const std::function<Level(const std::vector<double>&)>& make, std::size_t width)
{
    std::vector<Level> out;
    for (std::size_t i = from; i < v.size(); ++i) {
        if (!v[i].empty() && v[i][0] == '#')
            break;
        const std::vector<double> f = fields(v[i], sep);
        if (f.size() < width)
            continue;
        const Level l = make(f);
        const bool icOk = l.ic == Missing || (l.ic > -1 && l.ic < 20);
        if (!(l.p > 0 && l.p < 1100 && l.t > -120 && l.t < 60 && l.o3 > -1 && l.o3 < 50 && l.tp > -60 && l.tp < 80
              && l.z < 60000 && icOk))
            continue;
        if (out.empty() || l.z > out.back().z)
            out.push_back(l);
    }
    return out;
}

std::size_t after(const std::vector<std::string>& v, const std::string& start)
{
    std::size_t at = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i].rfind(start, 0) == 0)
            at = i + 1;
    return at;
}

Sounding shadoz(const std::string& name, double ib, double flow, double residual)
{
    const auto v = lines(name);
    const std::size_t header = static_cast<std::size_t>(std::stoi(v[0]));
    return {rows(v, header, ' ', [](const auto& f) { return Level{f[1], f[2] * 1000, f[3], f[5], f[11], f[10]}; }, 12),
            ib, flow, residual};
}

Sounding boulder()
{
    const auto v = lines("boulder_2017-06-09_noaa_ndacc_ames.b18");
    return {rows(v, after(v, "      s     hPa"), ' ',
                 [](const auto& f) { return Level{f[1], f[2], f[3] - 273.15, f[5], f[12], f[11] - 273.15}; }, 17),
            0.036, 29.30, 35.3};
}

Sounding ushuaia()
{
    const auto v = lines("ushuaia_2015-10-21_woudc_extcsv.csv");
    return {rows(v, after(v, "#PROFILE") + 1, ',',
                 [](const auto& f) { return Level{f[0], f[7], f[2], f[1], Missing, f[9]}; }, 10),
            0.025, 28.1, 323.75 - 290.45};
}

Sounding lerwick()
{
    const auto v = lines("lerwick_2014-01-01_ndacc_ames.b11");
    return {rows(v, after(v, "ECC6A"), ' ', [](const auto& f) { return Level{f[0], f[2], f[3], f[6], Missing, f[5]}; }, 9),
            0.005, 28.57, 334.0 - 320.78};
}

struct Named {
    const char* name;
    Sounding s;
};

std::vector<Named> soundings()
{
    auto ascension = shadoz("ascension_2022-01-05_shadoz_v06.dat", 0.040, 28.53, 0);
    ascension.residual = 7.89 * ascension.levels.back().o3; // constant mixing ratio (no published residual)
    return {{"reunion", shadoz("reunion_2014-12-10_shadoz_v05.dat", 0.0, 26.9, 47.35)},
            {"ascension", ascension},
            {"boulder", boulder()},
            {"ushuaia", ushuaia()},
            {"lerwick", lerwick()}};
}

constexpr double MpaPerUaKs = 4.307e-4; // mPa per (uA x K x s/100 ml)

TEST(RealSoundings, PartialPressureAndColumnUncertaintiesInTheRecordsRange)
{
    const UncertaintySettings s;
    for (const Named& n : soundings()) {
        const Sounding& x = n.s;
        ASSERT_GT(x.levels.size(), 500u) << n.name;
        double lo = 1, hi = 0, measured = 0, dMeasured = 0;
        const Level* prev = nullptr;
        double prevDp = 0;
        for (const Level& l : x.levels) {
            const double slope = MpaPerUaKs * (l.tp + 273.15) * x.flow; // mPa per uA, without pump efficiency
            // Without a published current, the one the equation gives back.
            const double ic = l.ic != Missing ? l.ic : x.ib + l.o3 / slope;
            if (ic - x.ib > 0.2) {
                const double rel = relativeO3ppUncertainty(s, l.p, ic, x.ib, l.tp);
                lo = std::min(lo, rel);
                hi = std::max(hi, rel);
            }
            const double dp = absoluteO3ppUncertainty(s, l.p, ic, l.tp, l.o3, slope);
            if (prev && l.p < prev->p) {
                measured += 3.9449 * (prev->o3 + l.o3) * std::log(prev->p / l.p);
                dMeasured += 3.9449 * (prevDp + dp) * std::log(prev->p / l.p);
            }
            prev = &l;
            prevDp = dp;
        }
        const double total = measured + x.residual;
        const double dTotal = std::hypot(dMeasured, CmrResidualUncertainty * x.residual);
        std::printf("%-9s dP/P %.1f-%.1f %% (I-Ib > 0.2 uA); measured %.1f +/- %.1f DU, total %.1f +/- %.1f DU (%.1f %%)\n",
                    n.name, 100 * lo, 100 * hi, measured, dMeasured, total, dTotal, 100 * dTotal / total);
        EXPECT_GE(lo, 0.02) << n.name;
        EXPECT_LE(hi, 0.20) << n.name;
        EXPECT_GE(dTotal / total, 0.02) << n.name;
        EXPECT_LE(dTotal / total, 0.10) << n.name;
    }
}

TEST(RealSoundings, UncertaintyNearNoaasOwnAtBoulder)
{
    // NOAA's 1-sigma column: 0.18 mPa at 4.78 mPa near the ground, 0.26 mPa
    // at 5.98 mPa near 7.4 hPa (3.8 % and 4.3 %).
    const Sounding b = boulder();
    const UncertaintySettings s;
    for (const Level* l : {&b.levels.front(), &b.levels.back()}) {
        const double rel = relativeO3ppUncertainty(s, l->p, l->ic, b.ib, l->tp);
        std::printf("boulder %.2f hPa: %.2f mPa +/- %.3f mPa (%.1f %%)\n", l->p, l->o3, rel * l->o3, 100 * rel);
        EXPECT_GT(rel, 0.03);
        EXPECT_LT(rel, 0.065);
    }
}

TEST(RealSoundings, Tropopauses)
{
    // Climatological bands: tropical near 100 hPa, mid-latitude summer
    // 120-300 hPa, sub-polar spring and high-latitude winter lower still.
    struct Band {
        double pLow, pHigh;
    };
    const Band bands[] = {{80, 130}, {80, 130}, {120, 300}, {200, 400}, {200, 400}};
    const auto all = soundings();
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::vector<TropopauseLevel> lv;
        for (const Level& l : all[i].s.levels)
            lv.push_back({l.p, l.z, l.t});
        const Tropopauses t = findTropopauses(lv);
        std::printf("%-9s tropopause %.1f hPa %.0f m %.1f degC%s", all[i].name, t.first.p, t.first.height, t.first.t,
                    t.first.confirmed ? "" : " not confirmed");
        if (t.second.found())
            std::printf("; second %.1f hPa %.0f m %.1f degC", t.second.p, t.second.height, t.second.t);
        std::printf("\n");
        ASSERT_TRUE(t.first.found()) << all[i].name;
        EXPECT_TRUE(t.first.confirmed) << all[i].name;
        EXPECT_GE(t.first.p, bands[i].pLow) << all[i].name;
        EXPECT_LE(t.first.p, bands[i].pHigh) << all[i].name;
    }
}

} // namespace
} // namespace lumo
