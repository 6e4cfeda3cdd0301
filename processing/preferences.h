#pragma once

#include <string>

#include "flight/archivestation.h"
#include "flight/uncertaintysettings.h"
#include "flight/flightwarning.h"

namespace lumo {

class IniFile;
class Q5;

// The settings of the preferences file (sections "pref" and "o3") as the
// program holds them after start-up, with every fall-back applied: numbers
// are taken at single precision and only when not negative, and the
// end-of-flight limits and the filter constant are the values as shown in
// their edit boxes ("%1.2f", "%1.1f").
struct Preferences {
    bool lDetGps = false;
    double lDetVal = 2.0;   // m/s
    bool endFltPrOn = false;
    bool endFltAltOn = false;
    double endFltPr = 0;    // hPa, as shown (also when not in use)
    double endFltAlt = 0;   // m, as shown
    bool showAll = true;
    double lpFilter = 0;    // s
    bool resTable = false;
    std::string resTableFile;
    ArchiveStation archive; // section "archive": metadata of the archive files
    // Section [uncertainty]: each key a number at or above 0, else the
    // default; read at full precision.
    UncertaintySettings uncertainty;
    // What the user must know about these settings ("prefs-value",
    // "residual-method", "prefs-missing"); every processing run repeats them.
    FlightWarnings warnings;
};

// Reads the preferences file; a missing file or key gives the defaults. A
// key that holds no valid value keeps the fall-back with the "prefs-value"
// warning naming it (see prefsvalue.h). A residual method other than CMR or
// TABLE is taken as TABLE, with a warning.
Preferences readPreferences(const std::string& file);

// Writes every setting into the preferences file, as Save Prefs does: the
// numbers at single precision with the decimals their boxes show, the
// residual table's path in double quotes, the archive keys that are set. Other keys and sections keep
// their lines. False when the file cannot be written.
bool writePreferences(const std::string& file, const Preferences& prefs);

// The [uncertainty] section of the preferences file; a missing key keeps its
// default, and so does one that is not a number from 0 to 1e6, with the
// "prefs-value" warning.
UncertaintySettings readUncertaintySettings(const std::string& file);
UncertaintySettings readUncertaintySettings(const IniFile& ini, FlightWarnings& warnings);

// Adds the "prefs-missing" warning when a preferences file the user named
// does not exist or is a folder (the defaults are then in force).
void checkPreferencesFile(Preferences& prefs, const std::string& file);

// The settings members of Q5 from the preferences, and their warnings.
void applyPreferences(Q5& q, const Preferences& prefs);

} // namespace lumo
