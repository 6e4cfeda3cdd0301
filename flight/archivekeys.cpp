#include "archivekeys.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "ini.h"
#include "numbertext.h"
#include "q5.h"

namespace lumo {

namespace {

constexpr double MaxMagnitude = 1e6;

std::string text(const IniFile& ini, const char* section, const char* key)
{
    return std::string(trimBlanks(IniReadText(section, key, "", ini)));
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

ArchiveStation readArchiveStation(const std::string& prefsFile)
{
    const IniFile ini(prefsFile);
    ArchiveStation a;
    const auto read = [&ini](const char* key, std::string& member) {
        if (ini.find("archive", key))
            member = text(ini, "archive", key);
    };
    read("agency", a.agency);
    read("scientificAuthority", a.scientificAuthority);
    read("platformType", a.platformType);
    if (a.platformType.empty())
        a.platformType = ArchiveStation{}.platformType;
    read("platformId", a.platformId);
    read("platformName", a.platformName);
    read("country", a.country);
    read("gawId", a.gawId);
    read("radiosondeMaker", a.radiosondeMaker);
    read("radiosondeModel", a.radiosondeModel);
    read("interfaceMaker", a.interfaceMaker);
    read("interfaceModel", a.interfaceModel);
    read("groundEquipment", a.groundEquipment);
    return a;
}

} // namespace lumo
