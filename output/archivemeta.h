#pragma once

#include <string>
#include <vector>

#include "flight/archivestation.h"

namespace lumo {

// Program name and version written into every archive file.
inline constexpr const char* ProgramName = "Lumo";
inline constexpr const char* ProgramVersion = LUMO_VERSION;

// What the archive writers take besides the flight: the station's metadata
// and the moment the files are generated (the writers never read the clock,
// so the same flight gives the same bytes).
struct ArchiveMeta {
    ArchiveStation station;
    double generated = 0; // date-time, UTC
    std::string baseName; // name of the flight's files (the raw file's name without extension)
};

// One archive file's content, ready to be written, with what a data centre
// would miss in it.
struct ArchiveText {
    std::string name; // file name, without folder
    std::string text;
    std::vector<std::string> warnings;
};

} // namespace lumo
