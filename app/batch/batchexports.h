#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/exportfile.h"

namespace lumo {

class Q5;

// Export files of one processed flight written by `lumo-batch process
// --export LIST [--out-dir DIR]`.

// "o3,winds,all" in any order and combination; a kind named twice is written
// once. Nothing, with `error` set, for an empty list or an unknown word.
std::optional<std::vector<ExportKind>> parseExportList(std::string_view list, std::string& error);

// The file of one export: the raw file's base name with the kind's
// extension, in `outDir`, or beside the raw file when `outDir` is empty.
std::string exportPath(const std::string& rawPath, const std::string& outDir, ExportKind kind);

struct BatchExports {
    bool ok = true;
    std::string error;              // "Unable to open file to export data." when an export failed
    std::vector<std::string> paths; // the files written, in the order asked
};

// Writes the asked exports from the flight as its processing run left it.
// `rawPath` and `cfgPath` go into the header as given. Stops at the first
// export that cannot be written; those written before it stay.
BatchExports writeBatchExports(const Q5& q5, const std::string& rawPath, const std::string& cfgPath,
                               const std::vector<ExportKind>& kinds, const std::string& outDir);

} // namespace lumo
