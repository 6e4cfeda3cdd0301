// Whole imports of damaged flights: streams missing, times running
// backwards, odd chain numbers, extreme configuration values and odd tables.
// A run may refuse the flight; when it completes, every result and every
// exported number is finite.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hardflight.h"

namespace lumo {
namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& l : lines)
        s += l + "\r\n";
    return s;
}

// The packet field of a raw line and its type byte ("01" PTU ... "05").
std::string packetOf(const std::string& line) { return line.substr(line.find_last_of(' ') + 1); }
std::string typeOf(const std::string& line)
{
    const std::string p = packetOf(line);
    return p.size() >= 4 ? p.substr(2, 2) : "";
}

std::string withoutTypes(const std::string& raw, std::initializer_list<const char*> types)
{
    std::vector<std::string> kept;
    for (const std::string& l : splitLines(raw)) {
        bool drop = false;
        for (const char* t : types)
            drop = drop || typeOf(l) == t;
        if (!drop)
            kept.push_back(l);
    }
    return joinLines(kept);
}

// Imports, processes and exports; returns whether the run completed.
bool runFlight(const std::string& raw, const std::string& cfg, const char* name, Q5& q)
{
    const test::TempDir dir;
    ScriptedDialogs dialogs(true);
    const bool ok = test::importAndProcess(q, dialogs, dir.write("f.raw", raw), dir.write("f.cfg", cfg));
    if (ok) {
        test::expectFiniteResults(q);
        test::exportAll(q, dir, name);
    }
    return ok;
}

class DamagedFlight : public ::testing::Test {
protected:
    static void SetUpTestSuite() { flight_ = new sim::SimulatedFlight(test::shortFlight(21, true, true, 2)); }
    static void TearDownTestSuite()
    {
        delete flight_;
        flight_ = nullptr;
    }
    static const std::string& raw() { return flight_->raw; }
    static std::string cfg() { return sim::formatConfig(*flight_); }
    static sim::SimulatedFlight* flight_;
};
sim::SimulatedFlight* DamagedFlight::flight_ = nullptr;

TEST_F(DamagedFlight, WithoutPtuRecordsIsRefusedOrFinite)
{
    // Ozone samples get their pressure from the PTU stream: without it no
    // sample has a pressure and no column is integrated.
    Q5 q;
    if (runFlight(withoutTypes(raw(), {"01", "04"}), cfg(), "noptu", q)) {
        EXPECT_EQ(q.o3Measured[0], 0);
    }
    EXPECT_EQ(q.hasPtuExt, 0);
}

TEST_F(DamagedFlight, WithoutGpsRecordsHasNoWinds)
{
    Q5 q;
    ASSERT_TRUE(runFlight(withoutTypes(raw(), {"02", "05"}), cfg(), "nogps", q));
    EXPECT_TRUE(q.windRecs.empty());
    EXPECT_GT(q.o3Measured[0], 0);
}

TEST_F(DamagedFlight, WithoutOzoneRecordsHasNoColumn)
{
    Q5 q;
    ASSERT_TRUE(runFlight(withoutTypes(raw(), {"03"}), cfg(), "noo3", q));
    EXPECT_EQ(q.o3Measured[0], Missing);
    EXPECT_EQ(q.o3Measured[1], Missing);
    EXPECT_FALSE(q.windRecs.empty());
}

TEST_F(DamagedFlight, ChainNumbersZeroAnd255TouchNoSlot)
{
    for (const char* chain : {"00", "FF"}) {
        SCOPED_TRACE(chain);
        std::vector<std::string> lines = splitLines(raw());
        int changed = 0;
        for (std::string& l : lines) {
            // Every second ozone packet of chain position 2 moves to the odd number.
            if (typeOf(l) == "03" && packetOf(l).substr(8, 2) == "02" && changed++ % 2 == 0)
                l.replace(l.size() - packetOf(l).size() + 8, 2, chain);
        }
        ASSERT_GT(changed, 100);
        Q5 q;
        ASSERT_TRUE(runFlight(joinLines(lines), cfg(), chain, q));
        EXPECT_EQ(q.o3Count, chain[0] == 'F' ? 255u : 2u);
        EXPECT_GT(q.o3Measured[0], 0);
        EXPECT_GT(q.o3Measured[1], 0);
        EXPECT_EQ(q.o3Measured[2], Missing);
        EXPECT_EQ(q.o3Measured[3], Missing);
    }
}

TEST_F(DamagedFlight, TimesGoingBackwardsStayFinite)
{
    std::vector<std::string> lines = splitLines(raw());
    // The clock jumps back by an hour in the middle of the ascent, and a block
    // of lines is logged in reverse order.
    const std::size_t mid = lines.size() / 2;
    for (std::size_t i = mid; i < lines.size(); ++i) {
        std::string& l = lines[i];
        const int hour = std::stoi(l.substr(11, 2));
        char hh[12];
        std::snprintf(hh, sizeof hh, "%02d", hour - 1);
        l.replace(11, 2, hh);
    }
    std::reverse(lines.begin() + static_cast<long>(mid / 2), lines.begin() + static_cast<long>(mid / 2 + 300));
    Q5 q;
    runFlight(joinLines(lines), cfg(), "backwards", q);
    EXPECT_FALSE(q.fltRecs.empty());
}

// One key of the configuration replaced by an extreme value.
std::string withValue(std::string cfg, const std::string& section, const std::string& key, const std::string& value)
{
    const std::size_t s = cfg.find("[" + section + "]");
    const std::size_t k = cfg.find("\n" + key + "=", s);
    if (s == std::string::npos || k == std::string::npos)
        return cfg;
    const std::size_t end = cfg.find_first_of("\r\n", k + 1);
    return cfg.replace(k + 1, end - k - 1, key + "=" + value);
}

TEST_F(DamagedFlight, ExtremeConfigurationNumbersGiveNoNanOrInf)
{
    const std::vector<std::vector<std::string>> cases = {
        {"station", "lat", "1e308"}, {"station", "lat", "-1e999"}, {"station", "lat", "-0"},
        {"station", "alt", "1e308"}, {"station", "alt", "nan"}, {"station", "long", "inf"},
        {"surface", "p", "1e308"}, {"surface", "t", "-1e308"}, {"surface", "u", "1e999"},
        {"surface", "o3#1", "1e308"}, {"standard", "p", "1e-320"}, {"ozonesonde#1", "bkg", "1e308"},
        {"ozonesonde#1", "flow", "1e-308"}, {"ozonesonde#2", "flow", "1e308"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0] + "/" + c[1] + "=" + c[2]);
        const std::string changed = withValue(cfg(), c[0], c[1], c[2]);
        ASSERT_NE(changed, cfg());
        Q5 q;
        const bool ran = runFlight(raw(), changed, "extreme", q);
        // Beyond a million the configuration is refused; "nan" and "inf" are
        // no numbers and read as 0, tiny values and -0 run.
        const bool huge = c[2].find("e3") != std::string::npos || c[2].find("e9") != std::string::npos;
        if (huge) {
            EXPECT_FALSE(ran);
        }
    }
}

TEST_F(DamagedFlight, OddConfigurationTablesGiveFiniteResults)
{
    // A row count of 1000 with 1000 rows, and a table whose pressures rise.
    std::string big = "[pmp_eff]\r\nfile=big.eff\r\nn=1000\r\n";
    for (int i = 0; i < 1000; ++i) {
        big += i < 10 ? "0" : "";
        big += std::to_string(i);
        big += "=";
        big += std::to_string(1050 - i);
        big += ".0,1.0";
        big += std::to_string(i % 10);
        big += "\r\n";
    }
    std::string rising = "[bkg_corr]\r\nfile=rising.bkg\r\nn=4\r\n00=5.0,0.2\r\n01=100.0,0.5\r\n02=500.0,0.9\r\n03=1050.0,1.0\r\n";
    // Sections first in the file win over the simulator's own.
    Q5 q;
    ASSERT_TRUE(runFlight(raw(), big + rising + cfg(), "tables", q));
    EXPECT_EQ(q.effCount, MaxTableRows);
    EXPECT_EQ(q.bkgP[0], 5.0);
    EXPECT_GT(q.o3Measured[0], 0);
}

} // namespace
} // namespace lumo
