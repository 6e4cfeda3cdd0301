#pragma once

#include <cstdio>
#include <string>

namespace lumo {

class Q5;

// Version text in the first line of every export file.
inline constexpr const char* ExportVersion = "1.0.2.4";

// The export writers read the flight as the last processing run left it and
// change nothing. Each returns false, writing nothing, when no file is given,
// and false when writing to the file failed. The file is written in binary
// mode: the writers emit CR LF themselves.

// Header block of all three files: program version, source and configuration
// paths, station, radiosonde and the ozonesondes in use.
bool WriteExportHeader(const Q5& q5, std::FILE* file, const std::string& srcFileName,
                       const std::string& cfgFileName);

// Ozone data (*.o3csv): surface and flight ozone rows with the latest
// radiosonde and GPS data, then launch, burst and total ozone.
bool WriteO3Body(const Q5& q5, std::FILE* file);

// Winds (*.wcsv) inside the flight window, one row per distinct time.
bool WriteWindBody(const Q5& q5, std::FILE* file);

// All data (*.csv): every packet and every wind as its own row.
bool WriteAllBody(const Q5& q5, std::FILE* file);

} // namespace lumo
