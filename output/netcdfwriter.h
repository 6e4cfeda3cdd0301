#pragma once

#include <string>
#include <vector>

#include "archivemeta.h"
#include "archiveprofile.h"

namespace lumo {

class Q5;

// The CF netCDF file (CF-1.8, featureType trajectory) of the flight: one
// trajectory per ozonesonde with its ascent, padded with _FillValue to the
// longest one; written through a temporary file renamed into place.
// BASE.nc. False, with `error` set, when it cannot be written.
bool writeNetcdfFile(const std::string& path, const Q5& q, const ArchiveProfile& profile, const ArchiveMeta& meta,
                     std::string& error);

std::string netcdfFileName(const ArchiveMeta& meta);

// The value netCDF readers take as "no data" in every variable of the file.
inline constexpr double NetcdfFill = 9.9692099683868690e+36;

} // namespace lumo
