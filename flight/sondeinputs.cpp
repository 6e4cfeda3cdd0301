#include "sondeinputs.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "ini.h"
#include "numbertext.h"
#include "q5.h"

namespace lumo {

namespace {

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

SondeFamily familyOfName(const std::string& name)
{
    if (startsWith(name, "6a") || startsWith(name, "5a") || startsWith(name, "4a"))
        return SondeFamily::SixA;
    if (startsWith(name, "2z") || startsWith(name, "z"))
        return SondeFamily::Z;
    return SondeFamily::Unknown;
}

// The whole value as one number in [lo, hi]; anything else is unknown.
std::optional<double> number(const IniFile& ini, const char* section, const char* key, double lo, double hi)
{
    double v = 0;
    if (!parseNumber(IniReadText(section, key, "", ini), v) || !(v >= lo && v <= hi))
        return std::nullopt;
    return v;
}

// The number that ends just before position `end` of `s` (blanks between
// allowed), e.g. "1.0" in "1.0% KI".
std::optional<double> numberBefore(const std::string& s, std::size_t end)
{
    while (end > 0 && s[end - 1] == ' ')
        --end;
    std::size_t start = end;
    while (start > 0 && ((s[start - 1] >= '0' && s[start - 1] <= '9') || s[start - 1] == '.'))
        --start;
    double v = 0;
    if (start == end || !parseNumber(std::string_view(s).substr(start, end - start), v))
        return std::nullopt;
    return v;
}

} // namespace

SondeFamily sondeFamily(std::string_view model, std::string_view serial)
{
    const SondeFamily byModel = familyOfName(lowerCase(model));
    return byModel != SondeFamily::Unknown ? byModel : familyOfName(lowerCase(serial));
}

void parseSolutionType(std::string_view text, std::optional<double>& kiPct, std::optional<double>& bufferFraction)
{
    const std::string s = lowerCase(text);
    kiPct.reset();
    bufferFraction.reset();
    if (const std::size_t pct = s.find('%'); pct != std::string::npos && s.find("ki", pct) != std::string::npos)
        kiPct = numberBefore(s, pct);
    const std::size_t buffer = s.find("buffer");
    if (s.find("unbuffered") != std::string::npos || s.find("no buffer") != std::string::npos)
        bufferFraction = 0.0;
    else if (buffer == std::string::npos)
        return;
    else if (s.find("full buffer") != std::string::npos)
        bufferFraction = 1.0;
    else if (s.find("half buffer") != std::string::npos)
        bufferFraction = 0.5;
    else if (s.find("1/10 buffer") != std::string::npos || s.find("tenth buffer") != std::string::npos)
        bufferFraction = 0.1;
    else if (const auto v = numberBefore(s, buffer); v && *v >= 0 && *v <= 1)
        bufferFraction = v; // "0.1 buffer"
}

constexpr std::pair<const char*, Thermistor> ThermistorNames[] = {
    {"box", Thermistor::Box}, {"taped", Thermistor::Taped}, {"glued", Thermistor::Glued},
    {"internal", Thermistor::Internal}};

Thermistor thermistorPlace(std::string_view text)
{
    const std::string s = lowerCase(text);
    for (const auto& [name, place] : ThermistorNames)
        if (s == name)
            return place;
    return Thermistor::Unknown;
}

const char* thermistorName(Thermistor t)
{
    for (const auto& [name, place] : ThermistorNames)
        if (t == place)
            return name;
    return "unknown";
}

void readSondeInputs(FlightConfig& cfg, const IniFile& ini)
{
    for (int i = 0; i < MaxSondes; ++i) {
        O3SondeCfg& sonde = cfg.o3Sonde[i];
        if (!sonde.sn[0])
            continue;
        char section[24];
        std::snprintf(section, sizeof section, "ozonesonde#%d", i + 1);
        sonde.family = sondeFamily(sonde.model, sonde.sn);
        std::optional<double> ki, buffer;
        parseSolutionType(sonde.solutionType, ki, buffer);
        sonde.kiPct = number(ini, section, "kiPct", 0, 100);
        if (!sonde.kiPct)
            sonde.kiPct = ki;
        sonde.bufferFraction = number(ini, section, "bufferFraction", 0, 1);
        if (!sonde.bufferFraction)
            sonde.bufferFraction = buffer;
        sonde.thermistor = thermistorPlace(IniReadText(section, "thermistor", "", ini));
        sonde.flowPressure = number(ini, section, "flowPressure", 1, 1200);
        sonde.ib1Delay = number(ini, section, "ib1Delay", 0, 1e6);
    }
}

} // namespace lumo
