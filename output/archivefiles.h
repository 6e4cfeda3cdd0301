#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archivemeta.h"

namespace lumo {

class Q5;

// The archive formats: WOUDC extended CSV and NDACC NASA Ames, one file per
// ozonesonde with a serial number, and CF netCDF, one file per flight.
enum class ArchiveKind { Woudc, Ames, Netcdf };

// "woudc", "ames" or "nc"; nothing for any other word.
std::optional<ArchiveKind> parseArchiveKind(std::string_view word);

struct ArchiveResult {
    bool ok = true;
    std::string error;                 // why a file could not be written (the first failure)
    std::vector<std::string> paths;    // files written, in order
    std::vector<std::string> warnings; // what a data centre would miss in them
};

// Writes the asked formats into `folder` from the flight as its last
// processing run left it. Each file is written atomically; a failure stops
// the writing and the files already written stay.
ArchiveResult writeArchiveFiles(const Q5& q, const ArchiveMeta& meta, const std::vector<ArchiveKind>& kinds,
                                const std::string& folder);

} // namespace lumo
