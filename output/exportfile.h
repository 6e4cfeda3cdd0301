#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumo {

class Q5;

enum class ExportKind { O3, Winds, All };

// "o3", "winds" or "all"; nothing for any other word.
std::optional<ExportKind> parseExportKind(std::string_view word);
std::string_view exportKindName(ExportKind kind);
// ".o3csv", ".wcsv" or ".csv".
std::string_view exportExtension(ExportKind kind);

enum class ExportResult {
    Ok,
    CannotCreate, // the file could not be created or put in place
    WriteFailed,  // writing the content failed (for example a full disk)
};

// "Unable to open file to export data." or "Error exporting data."; empty for Ok.
std::string_view exportResultMessage(ExportResult result);

// Writes one whole export file (header and the kind's body) to `path`,
// replacing an existing file only once the new one is complete.
// `srcFileName` and `cfgFileName` are written into the header as given.
ExportResult writeExportFile(const Q5& q5, ExportKind kind, const std::string& path, const std::string& srcFileName,
                             const std::string& cfgFileName);

} // namespace lumo
