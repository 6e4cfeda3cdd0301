#pragma once

#include <string>

namespace lumo {

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
};

// Reads the preferences file; a missing file or key gives the defaults.
Preferences readPreferences(const std::string& file);

// The settings members of Q5 from the preferences.
void applyPreferences(Q5& q, const Preferences& prefs);

// What importing a flight does to Q5 once its configuration is read: the
// instrument rules (at least one of pressure sensor and GPS installed),
// launch detection and surface reference following the installed sensors,
// and offset corrections cleared.
void applyImportRules(Q5& q);

// The Surface Data page's offset correction: the radiosonde's difference
// from the standard when applied, else none.
void applySurfaceCorrection(Q5& q, bool apply);

} // namespace lumo
