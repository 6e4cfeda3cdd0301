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
    }
    ReferenceOzone& ref = cfg.reference;
    ref.totalO3 = number(ini, "reference", "totalO3");
    ref.instrument = text(ini, "reference", "instrument");
    ref.model = text(ini, "reference", "model");
    ref.number = text(ini, "reference", "number");
    ref.wlCode = text(ini, "reference", "wlCode");
    ref.obsType = text(ini, "reference", "obsType");
    ref.utcMean = text(ini, "reference", "utcMean");
}

namespace {

// The keys of the section, in the order they are written.
template <typename Station, typename Fn>
void forEachKey(Station& a, Fn fn)
{
    fn("agency", a.agency);
    fn("scientificAuthority", a.scientificAuthority);
    fn("platformType", a.platformType);
    fn("platformId", a.platformId);
    fn("platformName", a.platformName);
    fn("country", a.country);
    fn("gawId", a.gawId);
    fn("radiosondeMaker", a.radiosondeMaker);
    fn("radiosondeModel", a.radiosondeModel);
    fn("interfaceMaker", a.interfaceMaker);
    fn("interfaceModel", a.interfaceModel);
    fn("groundEquipment", a.groundEquipment);
}

} // namespace

ArchiveStation readArchiveStation(const std::string& prefsFile)
{
    const IniFile ini(prefsFile);
    ArchiveStation a;
    forEachKey(a, [&ini](const char* key, std::string& member) {
        if (ini.find("archive", key))
            member = text(ini, "archive", key);
    });
    if (a.platformType.empty())
        a.platformType = ArchiveStation{}.platformType;
    return a;
}

bool writeArchiveStation(const std::string& prefsFile, const ArchiveStation& station)
{
    const ArchiveStation defaults;
    bool ok = true;
    forEachKey(station, [&](const char* key, const std::string& value) {
        if (!ok)
            return;
        std::string current;
        forEachKey(defaults, [&](const char* k, const std::string& v) {
            if (std::string_view(k) == key)
                current = v;
        });
        if (value == current && !IniFile(prefsFile).find("archive", key))
            return;
        std::string line = value; // one line: a line break would end the value early
        for (char& c : line)
            if (c == '\r' || c == '\n')
                c = ' ';
        const bool quote = !value.empty()
            && (value.front() == ' ' || value.back() == ' ' || value.front() == '"' || value.back() == '"'
                || value.front() == '\'' || value.back() == '\'' || value.front() == '\t' || value.back() == '\t');
        ok = IniWriteText("archive", key, quote ? "\"" + line + "\"" : line, prefsFile);
    });
    return ok;
}

} // namespace lumo
