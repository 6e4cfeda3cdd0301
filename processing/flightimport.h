#pragma once

#include <string>

namespace lumo {

class Q5;

// What importing a flight does to Q5 once its configuration is read: the
// instrument rules (at least one of pressure sensor and GPS installed),
// launch detection and surface reference following the installed sensors,
// and offset corrections cleared.
void applyImportRules(Q5& q);

// The Surface Data page's offset correction: the radiosonde's difference
// from the standard when applied, else none.
void applySurfaceCorrection(Q5& q, bool apply);

struct ImportResult {
    bool configRead = false; // the configuration was read, whatever came after
    std::string error;       // the message for the user; empty when the flight was imported
    bool ok() const { return error.empty(); }
};

// The import of one flight, as the desktop program and lumo-batch do it:
// the configuration group cleared, the configuration read, the import rules
// applied, then the raw file read. The processing settings (preferences)
// stay as they are; processing is the caller's next step.
ImportResult importFlight(Q5& q, const std::string& rawPath, const std::string& cfgPath);

} // namespace lumo
