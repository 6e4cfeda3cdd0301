// WOUDC extended CSV files of the OzoneSonde category: tables opened by a
// "#NAME" line, then a line of field names and the rows, comma separated.

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "sounding.h"

namespace lumo::sim {

namespace {

using Table = std::vector<std::map<std::string, std::string>>;

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> v;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ',');) {
        while (!f.empty() && (f.back() == '\r' || f.back() == ' '))
            f.pop_back();
        v.push_back(f);
    }
    if (!line.empty() && line.back() == ',')
        v.emplace_back();
    return v;
}

std::map<std::string, Table> readTables(std::istream& in)
{
    std::map<std::string, Table> tables;
    Table* current = nullptr;
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '*')
            continue;
        if (line[0] == '#') {
            current = &tables[line.substr(1)];
            names.clear();
        } else if (current && names.empty()) {
            names = fields(line);
        } else if (current) {
            const std::vector<std::string> v = fields(line);
            std::map<std::string, std::string> row;
            for (std::size_t i = 0; i < names.size() && i < v.size(); ++i)
                row[names[i]] = v[i];
            current->push_back(row);
        }
    }
    return tables;
}

std::string field(const std::map<std::string, Table>& t, const char* table, const char* name)
{
    const auto it = t.find(table);
    if (it == t.end() || it->second.empty())
        return {};
    const auto f = it->second.front().find(name);
    return f == it->second.front().end() ? std::string() : f->second;
}

std::optional<double> number(const std::string& s)
{
    if (s.empty())
        return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    return end && *end == '\0' ? std::optional<double>(v) : std::nullopt;
}

} // namespace

bool readWoudcSounding(const std::string& path, Sounding& s, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    const std::map<std::string, Table> t = readTables(in);
    if (field(t, "CONTENT", "Category") != "OzoneSonde" || !t.count("PROFILE")) {
        error = path + " is not a WOUDC ozonesonde file";
        return false;
    }
    s.station = field(t, "PLATFORM", "Name");
    s.sonde = field(t, "INSTRUMENT", "Number");
    s.lat = number(field(t, "LOCATION", "Latitude")).value_or(0);
    s.lon = number(field(t, "LOCATION", "Longitude")).value_or(0);
    s.alt = number(field(t, "LOCATION", "Height")).value_or(0);
    const std::string date = field(t, "TIMESTAMP", "Date");
    int h = 0, m = 0, sec = 0;
    if (std::sscanf(date.c_str(), "%d-%d-%d", &s.year, &s.month, &s.day) != 3 ||
        std::sscanf(field(t, "TIMESTAMP", "Time").c_str(), "%d:%d:%d", &h, &m, &sec) < 2) {
        error = path + " has no launch date and time";
        return false;
    }
    s.launchHourUt = h + m / 60.0 + sec / 3600.0;
    s.ib1 = number(field(t, "AUXILIARY_DATA", "ib1"));
    s.ib2 = number(field(t, "AUXILIARY_DATA", "ib2"));
    s.flow = number(field(t, "AUXILIARY_DATA", "PumpRate"));
    const auto integrated = number(field(t, "FLIGHT_SUMMARY", "IntegratedO3"));
    s.column = number(field(t, "FLIGHT_SUMMARY", "SondeTotalO3"));
    if (integrated && s.column)
        s.residual = *s.column - *integrated;
    for (const auto& row : t.at("PROFILE")) {
        const auto get = [&row](const char* name) {
            const auto it = row.find(name);
            return it == row.end() ? std::nullopt : number(it->second);
        };
        SoundingLevel v;
        const auto duration = get("Duration");
        if (!duration)
            continue;
        v.timeSec = *duration;
        v.p = get("Pressure");
        v.pO3 = get("O3PartialPressure");
        v.t = get("Temperature");
        v.u = get("RelativeHumidity");
        v.z = get("GPHeight");
        v.tPump = get("SampleTemperature");
        s.levels.push_back(v);
    }
    if (s.levels.empty()) {
        error = path + " holds no data";
        return false;
    }
    return true;
}

} // namespace lumo::sim
