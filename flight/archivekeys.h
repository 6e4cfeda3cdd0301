#pragma once

#include <string>

#include "archivestation.h"

namespace lumo {

class IniFile;
struct FlightConfig;

// The archive keys of a flight configuration: per ozonesonde in use, model,
// solutionType, solutionVolume, ib0, ib1, ib2, flowTemp, flowHumidity; and
// the "reference" section. They never make a configuration unusable: a
// number that does not read as one (or lies beyond 1e6 in magnitude) is
// unknown rather than 0.
void readArchiveKeys(FlightConfig& cfg, const IniFile& ini);

// The preferences section "archive"; missing keys keep their defaults.
ArchiveStation readArchiveStation(const std::string& prefsFile);

} // namespace lumo
