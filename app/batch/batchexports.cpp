#include "batchexports.h"

#include <algorithm>
#include <filesystem>

#include "flight/filepath.h"
#include "flight/q5.h"

namespace lumo {

namespace {

template <typename T>
void addOnce(std::vector<T>& list, T value)
{
    if (std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

} // namespace

std::optional<ExportSelection> parseExportList(std::string_view list, std::string& error)
{
    ExportSelection selection;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view word = list.substr(start, comma - start);
        if (const std::optional<ExportKind> kind = parseExportKind(word)) {
            addOnce(selection.kinds, *kind);
        } else if (const std::optional<ArchiveKind> archive = parseArchiveKind(word)) {
            addOnce(selection.archives, *archive);
        } else {
            error = "Unknown export kind \"" + std::string(word) + "\" (expected o3, winds, all, woudc, ames or nc).";
            return std::nullopt;
        }
        start = comma + 1;
    }
    return selection;
}

std::string exportPath(const std::string& rawPath, const std::string& outDir, ExportKind kind)
{
    if (outDir.empty())
        return replaceExtension(rawPath, exportExtension(kind));
    return (std::filesystem::path(outDir) / replaceExtension(fileNamePart(rawPath), exportExtension(kind))).string();
}

BatchExports writeBatchExports(const Q5& q5, const std::string& rawPath, const std::string& cfgPath,
                               const ExportSelection& selection, const std::string& outDir, ArchiveMeta meta)
{
    BatchExports result;
    for (ExportKind kind : selection.kinds) {
        const std::string path = exportPath(rawPath, outDir, kind);
        if (writeExportFile(q5, kind, path, rawPath, cfgPath) != ExportResult::Ok) {
            result.ok = false;
            result.error = std::string(exportResultMessage(ExportResult::CannotCreate));
            return result;
        }
        result.paths.push_back(path);
    }
    if (selection.archives.empty())
        return result;
    namespace fs = std::filesystem;
    meta.baseName = fs::path(rawPath).stem().string();
    const std::string folder = outDir.empty() ? fs::path(rawPath).parent_path().string() : outDir;
    const ArchiveResult archives = writeArchiveFiles(q5, meta, selection.archives, folder.empty() ? "." : folder);
    result.paths.insert(result.paths.end(), archives.paths.begin(), archives.paths.end());
    result.warnings = archives.warnings;
    if (!archives.ok) {
        result.ok = false;
        result.error = archives.error;
    }
    return result;
}

} // namespace lumo
