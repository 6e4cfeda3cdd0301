#include "exportfile.h"

#include "atomicfile.h"
#include "exportwriters.h"
#include "flight/q5.h"

namespace lumo {

std::optional<ExportKind> parseExportKind(std::string_view word)
{
    if (word == "o3")
        return ExportKind::O3;
    if (word == "winds")
        return ExportKind::Winds;
    if (word == "all")
        return ExportKind::All;
    return std::nullopt;
}

std::string_view exportKindName(ExportKind kind)
{
    switch (kind) {
    case ExportKind::O3:
        return "o3";
    case ExportKind::Winds:
        return "winds";
    case ExportKind::All:
        return "all";
    }
    return "";
}

std::string_view exportExtension(ExportKind kind)
{
    switch (kind) {
    case ExportKind::O3:
        return ".o3csv";
    case ExportKind::Winds:
        return ".wcsv";
    case ExportKind::All:
        return ".csv";
    }
    return "";
}

std::string replaceExtension(std::string_view path, std::string_view extension)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    std::string result(path.substr(0, dot != std::string_view::npos && dot >= nameStart ? dot : path.size()));
    result += extension;
    return result;
}

std::string_view exportResultMessage(ExportResult result)
{
    switch (result) {
    case ExportResult::Ok:
        return "";
    case ExportResult::CannotCreate:
        return "Unable to open file to export data.";
    case ExportResult::WriteFailed:
        return "Error exporting data.";
    }
    return "";
}

ExportResult writeExportFile(const Q5& q5, ExportKind kind, const std::string& path, const std::string& srcFileName,
                             const std::string& cfgFileName)
{
    AtomicFile out(path);
    if (!out.open())
        return ExportResult::CannotCreate;
    bool ok = WriteExportHeader(q5, out.file(), srcFileName, cfgFileName);
    switch (kind) {
    case ExportKind::O3:
        ok = ok && WriteO3Body(q5, out.file());
        break;
    case ExportKind::Winds:
        ok = ok && WriteWindBody(q5, out.file());
        break;
    case ExportKind::All:
        ok = ok && WriteAllBody(q5, out.file());
        break;
    }
    if (!ok) {
        out.discard();
        return ExportResult::WriteFailed;
    }
    return out.commit() ? ExportResult::Ok : ExportResult::CannotCreate;
}

} // namespace lumo
