#include "archivekeys.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "ini.h"
#include "numbertext.h"
#include "q5.h"

namespace lumo {

namespace {

constexpr double MaxMagnitude = 1e6;

std::string text(const IniFile& ini, const char* section, const char* key)
{
    return IniReadText(section, key, "", ini);
}

// The whole value as one number; anything else is unknown.
std::optional<double> number(const IniFile& ini, const char* section, const char* key)
{
    double v = 0;
    if (!parseNumber(IniReadText(section, key, "", ini), v) || !(std::fabs(v) <= MaxMagnitude))
        return std::nullopt;
    return v;
}

} // namespace

void readArchiveKeys(FlightConfig& cfg, const IniFile& ini)
{
    for (int i = 0; i < MaxSondes; ++i) {
        O3SondeCfg& sonde = cfg.o3Sonde[i];
        if (!sonde.sn[0])
            continue;
        char section[24];
        std::snprintf(section, sizeof section, "ozonesonde#%d", i + 1);
        sonde.model = text(ini, section, "model");
        sonde.solutionType = text(ini, section, "solutionType");
        sonde.solutionVolume = number(ini, section, "solutionVolume");
        sonde.ib0 = number(ini, section, "ib0");
        sonde.ib1 = number(ini, section, "ib1");
        sonde.ib2 = number(ini, section, "ib2");
        sonde.flowTemp = number(ini, section, "flowTemp");
        sonde.flowHumidity = number(ini, section, "flowHumidity");
        sonde.thermistorText = text(ini, section, "thermistor");
    }
    ReferenceOzone& ref = cfg.reference;
    ref.totalO3 = number(ini, "reference", "totalO3");
    ref.totalO3Unused.clear();
    if (ref.totalO3 ? !(*ref.totalO3 >= MinReferenceTotalDu && *ref.totalO3 <= MaxReferenceTotalDu)
                    : !trimBlanks(text(ini, "reference", "totalO3")).empty()) {
        ref.totalO3.reset();
        ref.totalO3Unused = text(ini, "reference", "totalO3");
    }
    ref.instrument = text(ini, "reference", "instrument");
    ref.model = text(ini, "reference", "model");
    ref.number = text(ini, "reference", "number");
    ref.wlCode = text(ini, "reference", "wlCode");
    ref.obsType = text(ini, "reference", "obsType");
    ref.utcMean = text(ini, "reference", "utcMean");
}

ArchiveStation readArchiveStation(const std::string& prefsFile)
{
    const IniFile ini(prefsFile);
    ArchiveStation a;
    for (const ArchiveField& f : ArchiveFields)
        if (ini.find("archive", f.key))
            a.*f.member = text(ini, "archive", f.key);
    if (a.platformType.empty())
        a.platformType = ArchiveStation{}.platformType;
    if (a.dataVersion.empty())
        a.dataVersion = ArchiveStation{}.dataVersion;
    return a;
}

bool writeArchiveStation(const std::string& prefsFile, const ArchiveStation& station)
{
    const ArchiveStation defaults;
    for (const ArchiveField& f : ArchiveFields) {
        const std::string& value = station.*f.member;
        if (value == defaults.*f.member && !IniFile(prefsFile).find("archive", f.key))
            continue;
        std::string line = value; // one line: a line break would end the value early
        for (char& c : line)
            if (c == '\r' || c == '\n')
                c = ' ';
        const auto edge = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
        const bool quote = !line.empty() && (edge(line.front()) || edge(line.back()));
        if (!IniWriteText("archive", f.key, quote ? "\"" + line + "\"" : line, prefsFile))
            return false;
    }
    return true;
}

} // namespace lumo
