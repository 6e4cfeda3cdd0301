// SHADOZ ozonesonde files (versions 5 and 6): a count of header lines,
// "key : value" lines, a line of column names and one of units, then one
// level per line with 9000 for a missing value.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sounding.h"

namespace lumo::sim {

namespace {

constexpr double ShadozMissing = 9000;

bool has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string trimmed(const std::string& s)
{
    const auto a = s.find_first_not_of(" \t\r");
    const auto b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> v;
    for (std::string w; in >> w;)
        v.push_back(w);
    return v;
}

// The part after the last comma: "DMT,Z24501" gives "Z24501".
std::string afterComma(const std::string& s) { return trimmed(s.substr(s.rfind(',') + 1)); }

// "0.5% Half Buffer", "0.5%, half buffered", "1% KI, 1/10 buffer".
void solution(const std::string& text, Sounding& s)
{
    std::string t = text;
    for (char& c : t)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (const auto pct = t.find('%'); pct != std::string::npos) {
        std::size_t start = pct;
        while (start > 0 && (std::isdigit(static_cast<unsigned char>(t[start - 1])) || t[start - 1] == '.'))
            --start;
        if (start < pct)
            s.kiPct = std::atof(t.c_str() + start);
    }
    if (has(t, "half"))
        s.buffer = 0.5;
    else if (has(t, "1/10") || has(t, "0.1 buffer") || has(t, "tenth"))
        s.buffer = 0.1;
    else if (has(t, "no buffer") || has(t, "unbuffered"))
        s.buffer = 0.0;
    else if (has(t, "full") || has(t, "buffer"))
        s.buffer = 1.0;
}

// Komhyr's tables of science.md, named in the file but not given in it.
std::vector<TableRow> namedPumpTable(const std::string& name)
{
    const double p[] = {100, 50, 30, 20, 10, 7, 5, 3};
    const double k1986[] = {1.007, 1.018, 1.022, 1.032, 1.055, 1.070, 1.092, 1.124};
    const double k1995[] = {1.007, 1.018, 1.029, 1.041, 1.066, 1.087, 1.124, 1.241};
    const double* v = has(name, "1986") ? k1986 : has(name, "Komhyr") ? k1995 : nullptr;
    std::vector<TableRow> rows;
    for (int i = 0; v && i < 8; ++i)
        rows.push_back({p[i], v[i]});
    return rows;
}

void readHeader(const std::string& key, const std::string& value, Sounding& s)
{
    const auto number = [&value] { return std::atof(value.c_str()); };
    if (has(key, "STATION"))
        s.station = value;
    else if (has(key, "Latitude"))
        s.lat = number();
    else if (has(key, "Longitude"))
        s.lon = number();
    else if (has(key, "Elevation"))
        s.alt = number();
    else if (has(key, "Launch Date") && value.size() >= 8) {
        s.year = std::atoi(value.substr(0, 4).c_str());
        s.month = std::atoi(value.substr(4, 2).c_str());
        s.day = std::atoi(value.substr(6, 2).c_str());
    } else if (has(key, "Launch Time")) {
        int h = 0, m = 0, sec = 0;
        std::sscanf(value.c_str(), "%d:%d:%d", &h, &m, &sec);
        s.launchHourUt = h + m / 60.0 + sec / 3600.0;
    } else if (has(key, "Sonde Instrument") || has(key, "Ozonesonde Instrument"))
        s.sonde = afterComma(value);
    else if (has(key, "Radiosonde Serial") || has(key, "Radiosonde, SN"))
        s.radiosonde = afterComma(value);
    else if (has(key, "KI Solution"))
        solution(value, s);
    else if (has(key, "Cathode Soln Volume") && !has(key, "Correction"))
        s.solutionVolume = number();
    else if (has(key, "Pump flow"))
        s.flow = number();
    else if (has(key, "Flowrate Correction"))
        s.humidityFactor = 1 + number() / 100; // applied to the ozone, so to the flow time
    else if (has(key, "ackground current"))
        s.background = has(value, "Not") ? 0.0 : number();
    else if (has(key, "pump efficiency") || has(key, "pump corrections"))
        s.pumpTable = namedPumpTable(value);
    else if (has(key, "Integrated O3"))
        s.column = number();
}

std::optional<double> known(double v)
{
    return std::isfinite(v) && std::fabs(v) < ShadozMissing - 0.5 ? std::optional<double>(v) : std::nullopt;
}

} // namespace

bool readShadozSounding(const std::string& path, Sounding& s, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) {
        error = "cannot read " + path;
        return false;
    }
    const int headerLines = std::atoi(line.c_str());
    std::vector<std::string> header;
    for (int i = 1; i < headerLines - 2 && std::getline(in, line); ++i) // the count holds the two column lines
        header.push_back(trimmed(line));
    if (header.empty() || !has(header[0], "SHADOZ")) {
        error = path + " is not a SHADOZ file";
        return false;
    }
    for (const std::string& h : header)
        if (const auto colon = h.find(':'); colon != std::string::npos)
            readHeader(h.substr(0, colon), trimmed(h.substr(colon + 1)), s);
    std::string namesLine, unitsLine;
    std::getline(in, namesLine);
    std::getline(in, unitsLine);
    // Names may hold blanks ("I O3"): the units give the columns.
    const std::vector<std::string> units = words(unitsLine);
    int p = -1, z = -1, t = -1, u = -1, o3 = -1, tPump = -1, current = -1, gpsAlt = -1;
    std::vector<int> degrees;
    for (int i = 0; i < static_cast<int>(units.size()); ++i) {
        const std::string& un = units[static_cast<std::size_t>(i)];
        if (un == "hPa" && p < 0)
            p = i;
        else if (un == "km")
            (z < 0 ? z : gpsAlt) = i;
        else if (un == "C")
            (t < 0 ? t : tPump) = i;
        else if (un == "%")
            u = i;
        else if (un == "mPa" && o3 < 0)
            o3 = i;
        else if (un == "uA")
            current = i;
        else if (un == "deg")
            degrees.push_back(i);
    }
    if (p < 0 || current < 0) {
        error = path + " has no pressure or no cell current";
        return false;
    }
    std::vector<std::vector<double>> rows;
    for (std::string l; std::getline(in, l);) {
        std::istringstream ls(l);
        std::vector<double> row;
        for (double x; ls >> x;)
            row.push_back(x);
        if (row.size() == units.size())
            rows.push_back(row);
    }
    // The last two angle columns are the GPS position; which is the
    // latitude tells the value nearer the station's (some files swap them).
    int lat = -1, lon = -1;
    if (degrees.size() >= 3) {
        lat = degrees[degrees.size() - 2];
        lon = degrees.back();
        for (const auto& row : rows)
            if (known(row[static_cast<std::size_t>(lat)]) && known(row[static_cast<std::size_t>(lon)])) {
                if (std::fabs(row[static_cast<std::size_t>(lat)] - s.lat) > std::fabs(row[static_cast<std::size_t>(lon)] - s.lat))
                    std::swap(lat, lon);
                break;
            }
    }
    const auto at = [](const std::vector<double>& row, int i) {
        return i < 0 ? std::nullopt : known(row[static_cast<std::size_t>(i)]);
    };
    for (const auto& row : rows) {
        SoundingLevel v;
        v.timeSec = row[0];
        v.p = at(row, p);
        v.z = at(row, z);
        if (v.z)
            *v.z *= 1000;
        v.t = at(row, t);
        v.u = at(row, u);
        v.pO3 = at(row, o3);
        v.tPump = at(row, tPump);
        v.current = at(row, current);
        v.lat = at(row, lat);
        v.lon = at(row, lon);
        v.gpsAlt = at(row, gpsAlt);
        if (v.gpsAlt)
            *v.gpsAlt *= 1000;
        s.levels.push_back(v);
    }
    if (s.levels.empty()) {
        error = path + " holds no data";
        return false;
    }
    return true;
}

bool readSounding(const std::string& path, Sounding& s, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    if (has(first, "#CONTENT") || has(second, "#CONTENT"))
        return readWoudcSounding(path, s, error);
    if (has(second, "SHADOZ"))
        return readShadozSounding(path, s, error);
    return readAmesSounding(path, s, error);
}

} // namespace lumo::sim
