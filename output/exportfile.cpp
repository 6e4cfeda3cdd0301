#include "exportfile.h"

#include "exportwriters.h"
#include "flight/atomicfile.h"
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
