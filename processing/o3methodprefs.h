#pragma once

#include <string>

#include "flight/flightwarning.h"
#include "flight/o3method.h"

namespace lumo {

// The processing-method keys of the preferences section [o3]: method,
// responseCorrection, pumpTable, background, tauFast, tauSlow, transferTo,
// pumpHeatOffset.
// A missing key keeps its default; a value that is not one of the key's
// values keeps the default too and adds a "prefs-value" warning naming the
// key, the value and what was used instead.
class IniFile;
O3MethodSettings readO3MethodSettings(const IniFile& ini, FlightWarnings& warnings);

// The preference texts of the settings, as readO3MethodSettings takes them.
const char* methodName(O3Method m);
const char* pumpTableName(PumpTable t);
const char* backgroundName(BackgroundChoice b);
const char* transferName(TransferTo t);

} // namespace lumo
