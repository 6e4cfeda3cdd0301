#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/archivefiles.h"
#include "output/exportfile.h"

namespace lumo {

class Q5;

// Export files of one processed flight written by `lumo-batch process
// --export LIST [--out-dir DIR]`.

// What --export asks for: the export files and the archive formats.
struct ExportSelection {
    std::vector<ExportKind> kinds;
    std::vector<ArchiveKind> archives;
};

// "o3,winds,all,woudc,ames,nc" in any order and combination; a kind named
// twice is written once. Nothing, with `error` set, for an empty list or an
// unknown word.
std::optional<ExportSelection> parseExportList(std::string_view list, std::string& error);

// The file of one export: the raw file's base name with the kind's
// extension, in `outDir`, or beside the raw file when `outDir` is empty.
std::string exportPath(const std::string& rawPath, const std::string& outDir, ExportKind kind);

struct BatchExports {
    bool ok = true;
    std::string error;              // "Unable to open file to export data." when an export failed
    std::vector<std::string> paths; // the files written, in the order asked
    std::vector<std::string> warnings; // what the archive files lack (missing metadata)
};

// Writes the asked exports from the flight as its processing run left it,
// then the archive files (named after the raw file, in the same folder, with
// the station metadata of `meta`). `rawPath` and `cfgPath` go into the
// header as given. Stops at the first file that cannot be written; those
// written before it stay.
BatchExports writeBatchExports(const Q5& q5, const std::string& rawPath, const std::string& cfgPath,
                               const ExportSelection& selection, const std::string& outDir, ArchiveMeta meta);

} // namespace lumo
