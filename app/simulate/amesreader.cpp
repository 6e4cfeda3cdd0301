// NDACC NASA-Ames 2160 ozonesonde files (von der Gathen, Skrivankova,
// Deshler: "Recommended NDACC NASA Ames format 2160 for ozonesonde data"):
// the header is read by its counts, and variables and auxiliary values are
// found by their names, so files of other stations map the same way.

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sounding.h"

namespace lumo::sim {

namespace {

class Lines {
public:
    explicit Lines(std::istream& in)
    {
        for (std::string l; std::getline(in, l);) {
            if (!l.empty() && l.back() == '\r')
                l.pop_back();
            lines_.push_back(l);
        }
    }
    bool more() const { return at_ < lines_.size(); }
    std::string line() { return more() ? lines_[at_++] : std::string(); }
    // `count` numbers, over as many lines as they take.
    std::vector<double> numbers(std::size_t count)
    {
        std::vector<double> v;
        while (v.size() < count && more()) {
            std::istringstream s(line());
            for (double x; v.size() < count && s >> x;)
                v.push_back(x);
        }
        return v;
    }
    int integer() { return std::atoi(line().c_str()); }

private:
    std::vector<std::string> lines_;
    std::size_t at_ = 0;
};

bool has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string trimmed(const std::string& s)
{
    const auto a = s.find_first_not_of(" \t");
    const auto b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// A value is unknown when it is the variable's missing marker (or beyond it).
std::optional<double> value(double v, double missing)
{
    if (!std::isfinite(v) || v >= missing || v <= -missing)
        return std::nullopt;
    return v;
}

struct Columns {
    int p = -1, z = -1, t = -1, u = -1, pO3 = -1, gpsAlt = -1, lon = -1, lat = -1, tPump = -1, current = -1, battery = -1,
        pumpCurrent = -1;
};

Columns findColumns(const std::vector<std::string>& names)
{
    Columns c;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const std::string& n = names[static_cast<std::size_t>(i)];
        if (has(n, "Pressure [hPa]"))
            c.p = i;
        else if (has(n, "Geopotential height"))
            c.z = i;
        else if (has(n, "Temperature [K]") && !has(n, "nternal"))
            c.t = i;
        else if (has(n, "Relative humidity"))
            c.u = i;
        else if (has(n, "Ozone partial pressure [mPa]"))
            c.pO3 = i;
        else if (has(n, "GPS geometric height"))
            c.gpsAlt = i;
        else if (has(n, "GPS longitude"))
            c.lon = i;
        else if (has(n, "GPS latitude"))
            c.lat = i;
        else if (has(n, "Internal temperature"))
            c.tPump = i;
        else if (has(n, "Ozone raw current"))
            c.current = i;
        else if (has(n, "Battery voltage"))
            c.battery = i;
        else if (has(n, "Pump current"))
            c.pumpCurrent = i;
    }
    return c;
}

// Numeric auxiliary values by their names.
void readAuxiliary(const std::vector<std::string>& names, const std::vector<double>& v,
    const std::vector<double>& missing, Sounding& s)
{
    for (std::size_t i = 0; i < v.size() && i < names.size(); ++i) {
        const std::string& n = names[i];
        const std::optional<double> x = value(v[i], i < missing.size() ? missing[i] : 99999);
        if (!x)
            continue;
        if (has(n, "Station longitude"))
            s.lon = *x > 180 ? *x - 360 : *x;
        else if (has(n, "Station latitude"))
            s.lat = *x;
        else if (has(n, "Station height"))
            s.alt = *x;
        else if (has(n, "Launch time"))
            s.launchHourUt = *x;
        else if (has(n, "Inverse pump flow rate"))
            s.flow = *x;
        else if (has(n, "Temperature during flow rate"))
            s.flowTempC = *x - 273.15;
        else if (has(n, "Relative humidity during flow rate"))
            s.flowHumidity = *x;
        else if (has(n, "Humidity correction factor"))
            s.humidityFactor = *x; // negative: not applied
        else if (has(n, "Inverse of pump efficiency at"))
            s.pumpTable.push_back({std::atof(n.c_str() + n.find(" at") + 3), *x});
        else if (has(n, "Ib0"))
            s.ib0 = *x;
        else if (has(n, "Ib1"))
            s.ib1 = *x;
        else if (has(n, "Ib2"))
            s.ib2 = *x;
        else if (has(n, "Ozone background used"))
            s.background = *x;
        else if (has(n, "KI solution concentration"))
            s.kiPct = *x;
        else if (has(n, "Buffer amount"))
            s.buffer = *x;
        else if (has(n, "Solution amount"))
            s.solutionVolume = *x;
        else if (has(n, "Column ozone from sonde"))
            s.column = *x;
        else if (has(n, "Residual ozone"))
            s.residual = *x;
        else if (has(n, "Surface ozone partial pressure"))
            s.surfaceO3 = *x;
    }
}

void readStrings(const std::vector<std::string>& names, const std::vector<std::string>& v, Sounding& s)
{
    for (std::size_t i = 0; i < v.size() && i < names.size(); ++i) {
        const std::string x = trimmed(v[i]);
        if (x.empty() || x.find_first_not_of('z') == std::string::npos)
            continue;
        if (has(names[i], "Place of internal temperature"))
            s.thermistor = x == "pump" ? "internal" : x;
        else if (has(names[i], "Serial number of ozonesonde"))
            s.sonde = x;
        else if (has(names[i], "Serial number of radiosonde"))
            s.radiosonde = x;
    }
}

} // namespace

bool readAmesSounding(const std::string& path, Sounding& s, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    Lines l(in);
    // NOAA's files open with a title line before the Ames header.
    int nlhead = 0, ffi = 0;
    for (int i = 0; i < 2 && ffi != 2160; ++i) {
        std::istringstream first(l.line());
        first >> nlhead >> ffi;
    }
    if (ffi != 2160) {
        error = path + " is not a NASA-Ames 2160 file";
        return false;
    }
    for (int i = 0; i < 4; ++i)
        l.line(); // originator, organisation, source, mission
    l.line();     // volume
    const std::vector<double> dates = l.numbers(6);
    l.line();     // interval
    l.line();     // length of the string variable
    const std::string xName = l.line();
    l.line();     // the string variable: station name
    if (dates.size() < 3 || !has(xName, "Time")) {
        error = path + " does not run over time after launch";
        return false;
    }
    s.year = static_cast<int>(dates[0]);
    s.month = static_cast<int>(dates[1]);
    s.day = static_cast<int>(dates[2]);
    const std::size_t nv = static_cast<std::size_t>(l.integer());
    l.numbers(nv); // scale factors, all 1 in ozonesonde files
    const std::vector<double> missing = l.numbers(nv);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < nv; ++i)
        names.push_back(l.line());
    const std::size_t nAux = static_cast<std::size_t>(l.integer());
    const std::size_t nText = static_cast<std::size_t>(l.integer());
    const std::size_t nNumbers = nAux - nText;
    l.numbers(nNumbers); // scale factors
    const std::vector<double> auxMissing = l.numbers(nNumbers);
    l.numbers(nText); // lengths of the string values
    for (std::size_t i = 0; i < nText; ++i)
        l.line(); // their missing markers
    std::vector<std::string> auxNames;
    for (std::size_t i = 0; i < nAux; ++i)
        auxNames.push_back(l.line());
    for (int block = 0; block < 2; ++block) // special and normal comments
        for (int n = l.integer(); n > 0; --n)
            l.line();
    s.station = trimmed(l.line());
    readAuxiliary(auxNames, l.numbers(nNumbers), auxMissing, s);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < nText; ++i)
        texts.push_back(l.line());
    readStrings(std::vector<std::string>(auxNames.begin() + static_cast<long>(nNumbers), auxNames.end()), texts, s);

    const Columns c = findColumns(names);
    if (c.p < 0 || c.current < 0) {
        error = path + " has no pressure or no cell current";
        return false;
    }
    const auto column = [&](const std::vector<double>& row, int i) -> std::optional<double> {
        if (i < 0)
            return std::nullopt;
        return value(row[static_cast<std::size_t>(i) + 1], missing[static_cast<std::size_t>(i)]);
    };
    while (l.more()) {
        std::istringstream line(l.line());
        std::vector<double> row;
        for (double x; line >> x;)
            row.push_back(x);
        if (row.size() != nv + 1)
            continue; // blank lines at the end
        SoundingLevel v;
        v.timeSec = row[0];
        v.p = column(row, c.p);
        v.z = column(row, c.z);
        v.t = column(row, c.t);
        if (v.t)
            *v.t -= 273.15;
        v.u = column(row, c.u);
        v.pO3 = column(row, c.pO3);
        v.gpsAlt = column(row, c.gpsAlt);
        v.lon = column(row, c.lon);
        if (v.lon && *v.lon > 180)
            *v.lon -= 360;
        v.lat = column(row, c.lat);
        v.tPump = column(row, c.tPump);
        if (v.tPump)
            *v.tPump -= 273.15;
        v.current = column(row, c.current);
        v.battery = column(row, c.battery);
        v.pumpCurrent = column(row, c.pumpCurrent);
        s.levels.push_back(v);
    }
    if (s.levels.empty()) {
        error = path + " holds no data";
        return false;
    }
    return true;
}

} // namespace lumo::sim
