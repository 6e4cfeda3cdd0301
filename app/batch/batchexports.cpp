#include "batchexports.h"

#include <algorithm>
#include <filesystem>

#include "flight/filepath.h"
#include "flight/q5.h"

namespace lumo {

std::optional<std::vector<ExportKind>> parseExportList(std::string_view list, std::string& error)
{
    std::vector<ExportKind> kinds;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view word = list.substr(start, comma - start);
        const std::optional<ExportKind> kind = parseExportKind(word);
        if (!kind) {
            error = "Unknown export kind \"" + std::string(word) + "\" (expected o3, winds or all).";
            return std::nullopt;
        }
        if (std::find(kinds.begin(), kinds.end(), *kind) == kinds.end())
            kinds.push_back(*kind);
        start = comma + 1;
    }
    return kinds;
}

std::string exportPath(const std::string& rawPath, const std::string& outDir, ExportKind kind)
{
    if (outDir.empty())
        return replaceExtension(rawPath, exportExtension(kind));
    return (std::filesystem::path(outDir) / replaceExtension(fileNamePart(rawPath), exportExtension(kind))).string();
}

BatchExports writeBatchExports(const Q5& q5, const std::string& rawPath, const std::string& cfgPath,
                               const std::vector<ExportKind>& kinds, const std::string& outDir)
{
    BatchExports result;
    for (ExportKind kind : kinds) {
        const std::string path = exportPath(rawPath, outDir, kind);
        if (writeExportFile(q5, kind, path, rawPath, cfgPath) != ExportResult::Ok) {
            result.ok = false;
            result.error = std::string(exportResultMessage(ExportResult::CannotCreate));
            return result;
        }
        result.paths.push_back(path);
    }
    return result;
}

} // namespace lumo
