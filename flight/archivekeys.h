#pragma once

#include <string>

#include "archivestation.h"

namespace lumo {

class IniFile;
struct FlightConfig;

// The archive keys of a flight configuration: per ozonesonde in use, model,
// solutionType, solutionVolume, ib0, ib1, ib2, flowTemp, flowHumidity,
// thermistor; and
// the "reference" section. They never make a configuration unusable: a
// number that does not read as one (or lies beyond 1e6 in magnitude) is
// unknown rather than 0.
void readArchiveKeys(FlightConfig& cfg, const IniFile& ini);

// The preferences section "archive"; missing keys keep their defaults.
ArchiveStation readArchiveStation(const std::string& prefsFile);

// Writes the section "archive": a key is written when its value is not the
// default or the file holds it already, so a file that never had the
// section does not gain empty keys. A value with blanks or quotes at its
// ends is written in double quotes, which the reader removes again. False
// when the file cannot be written.
bool writeArchiveStation(const std::string& prefsFile, const ArchiveStation& station);

} // namespace lumo
