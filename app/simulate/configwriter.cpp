#include <cstdio>

#include "flightsimulator.h"
#include "numberformat.h"

namespace lumo::sim {

namespace {

class IniText {
public:
    void section(const std::string& name) { text_ += (text_.empty() ? "[" : "\r\n[") + name + "]\r\n"; }
    void text(const std::string& key, const std::string& value) { text_ += key + "=" + value + "\r\n"; }
    void number(const std::string& key, double value, int decimals) { text(key, formatFixed(value, decimals)); }
    void table(const std::string& name, const std::string& file, const std::vector<TableRow>& rows)
    {
        section(name);
        text("file", file);
        text("n", std::to_string(rows.size()));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            char key[16];
            std::snprintf(key, sizeof key, "%02d", static_cast<int>(r));
            text(key, formatFixed(rows[r].p, 1) + "," + formatFixed(rows[r].factor, 3));
        }
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

std::string twoDigits(int v) { return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10); }

} // namespace

std::string formatConfig(const SimulatedFlight& f)
{
    const SimOptions& o = f.options;
    IniText ini;
    ini.section("station");
    ini.text("name", o.stationName.substr(0, 40));
    ini.number("lat", o.stnLat, 4);
    ini.number("long", o.stnLong, 4);
    ini.number("alt", o.stnAlt, 1);
    ini.text("date", std::to_string(o.year) + "/" + twoDigits(o.month) + "/" + twoDigits(o.day));

    ini.section("radiosonde");
    ini.text("sondeID", f.radiosondeId);
    ini.text("probeID", f.probeId);
    ini.text("P_inst", o.pressureSensor ? "1" : "0");
    ini.text("GPS_inst", o.gps ? "1" : "0");

    ini.table("bkg_corr", "standard.bkg", f.tables.background);
    ini.table("pmp_eff", "standard.eff", f.tables.efficiency);

    for (const auto& s : f.chain) {
        ini.section("ozonesonde#" + std::to_string(s.position));
        ini.text("sn", s.sn);
        ini.number("bkg", s.bkg, 3);
        ini.number("flow", s.flow, 2);
    }

    // The radiosonde's surface values and the reference instrument's agree
    // with the simulated surface, so the processing asks no questions.
    ini.section("surface");
    ini.number("p", f.surface.p, 2);
    ini.number("t", f.surface.t, 2);
    ini.number("u", f.surface.u, 2);
    for (int i = 0; i < ChainSize; ++i)
        ini.number("o3#" + std::to_string(i + 1), f.surface.o3[i], 2);
    ini.section("standard");
    ini.number("p", f.surface.p, 2);
    ini.number("t", f.surface.t, 2);
    ini.number("u", f.surface.u, 2);
    return ini.str();
}

} // namespace lumo::sim
