#include <cstdio>

#include "flightsimulator.h"
#include "initext.h"
#include "numberformat.h"

namespace lumo::sim {

namespace {

std::string twoDigits(int v) { return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10); }

// What the preparation of a cell records: its type and solution, the three
// backgrounds, when Ib1 was read, the laboratory flow measurement and where
// the thermistor sits.
void writeCell(IniText& ini, const CellSetup& c)
{
    ini.text("model", familyModel(c.family));
    ini.text("solutionType", c.solutionText());
    ini.number("kiPct", c.kiPct, 1);
    ini.number("bufferFraction", c.buffer, 2);
    ini.number("solutionVolume", c.solutionVolume, 1);
    ini.text("thermistor", thermistorName(c.thermistor));
    ini.number("ib0", c.ib0, 3);
    ini.number("ib1", c.ib1, 3);
    ini.number("ib2", c.ib2, 3);
    ini.number("ib1Delay", c.ib1Delay, 0);
    ini.number("flowTemp", c.flowTempC, 1);
    ini.number("flowHumidity", c.flowHumidity, 1);
    ini.number("flowPressure", c.flowPressure, 1);
}

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
        if (s.hasCell)
            writeCell(ini, s.cell);
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
