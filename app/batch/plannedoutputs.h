#pragma once

#include <string>
#include <vector>

#include "batchexports.h"

namespace lumo {
struct Preferences;
}

namespace lumo::batch {

// The files one `lumo-batch process` call reads and writes, known before any
// flight is read.
struct PlannedCall {
    std::vector<std::string> rawFiles;
    std::vector<std::string> cfgFiles; // the configuration of each raw file
    std::string prefs;                 // empty: no preferences file
    std::string outDir;                // exports beside the raw files when empty
    std::string plotsDir;              // no pictures when empty
};

// Why the call must not start: two outputs of one name (across all flights
// and kinds, archive files named as their writers name them) or an output
// that is one of the inputs, after resolving links. Empty when every output
// is written once and replaces no input.
std::string plannedClash(const PlannedCall& call, const ExportSelection& selection, const Preferences& prefs);

// "PATH: reason" for the first input that exists but is no regular file nor
// a folder (a FIFO would block the read, a device never ends); empty when
// there is none. Folders are reported per flight, as missing files are.
std::string irregularInput(const PlannedCall& call);

} // namespace lumo::batch
