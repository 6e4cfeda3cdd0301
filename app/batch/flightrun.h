#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"

namespace lumo {
struct Preferences;
}

namespace lumo::batch {

// The choices of `lumo-batch process` (and the Python module) that go over
// the import's own rules for one flight.
struct RunOptions {
    std::string cfg;          // configuration; empty: the raw file's with ".cfg"
    bool answerYes = false;   // answer to every surface question
    std::string surfaceRef;   // "std", "rs" or empty
    std::string launchDetect; // "ptu", "gps" or empty
    bool applySfcCorr = false;
};

// An option that does not fit the flight's configuration (launch detection
// by a sensor that is not installed): the caller's usage error.
class OverrideError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Everything reported about one flight. The flight object stays for the
// steps that follow processing (exports append to `exports`).
struct FlightRun {
    explicit FlightRun(bool answerYes) : dialogs(answerYes) {}

    std::string raw;
    std::string cfg;
    std::string error; // the application's message; empty when all went well
    std::unique_ptr<Q5> q5 = std::make_unique<Q5>();
    ScriptedDialogs dialogs;
    std::vector<std::string> exports;
    std::vector<std::string> plots; // pictures written for --plots
    std::vector<std::string> archiveWarnings; // what the archive files lack
    bool processed = false; // the processing run went through: its values stand

    bool ok() const { return error.empty(); }
};

// The configuration a raw file is imported with.
std::string configPathFor(const std::string& raw, const RunOptions& opt);

// The settings overrides, after the import's own rules. Throws OverrideError
// for launch detection by a sensor that the configuration does not install.
void applyOverrides(Q5& q, const RunOptions& opt, const std::string& cfg);

// Imports the raw file with its configuration as the desktop program's
// Import does it, with the preferences and then the overrides, and processes
// it, the surface questions answered as the options say. Failures are in
// `error`; an override that does not fit throws OverrideError.
FlightRun runFlight(const std::string& raw, const RunOptions& opt, const Preferences& prefs);

} // namespace lumo::batch
