#include "archivefiles.h"

#include <filesystem>

#include "ameswriter.h"
#include "flight/atomicfile.h"
#include "archiveprofile.h"
#include "netcdfwriter.h"
#include "woudcwriter.h"

namespace lumo {

std::optional<ArchiveKind> parseArchiveKind(std::string_view word)
{
    if (word == "woudc")
        return ArchiveKind::Woudc;
    if (word == "ames")
        return ArchiveKind::Ames;
    if (word == "nc")
        return ArchiveKind::Netcdf;
    return std::nullopt;
}

namespace {

bool writeText(ArchiveResult& result, const ArchiveText& file, const std::string& folder)
{
    const std::string path = (std::filesystem::path(folder) / file.name).string();
    result.warnings.insert(result.warnings.end(), file.warnings.begin(), file.warnings.end());
    if (!writeFileAtomically(path, file.text)) {
        result.ok = false;
        result.error = "Unable to open file to export data.";
        return false;
    }
    result.paths.push_back(path);
    return true;
}

} // namespace

ArchiveResult writeArchiveFiles(const Q5& q, const ArchiveMeta& meta, const std::vector<ArchiveKind>& kinds,
                                const std::string& folder)
{
    ArchiveResult result;
    const ArchiveProfile profile = buildArchiveProfile(q);
    if (!profile.error.empty() || profile.sondes.empty()) {
        result.ok = false;
        result.error = profile.error.empty() ? "No ozonesonde with a serial number: no archive files." : profile.error;
        return result;
    }
    for (ArchiveKind kind : kinds) {
        if (kind == ArchiveKind::Netcdf) {
            const std::string path = (std::filesystem::path(folder) / netcdfFileName(meta)).string();
            std::string error;
            if (!writeNetcdfFile(path, q, profile, meta, error)) {
                result.ok = false;
                result.error = error;
                return result;
            }
            result.paths.push_back(path);
            continue;
        }
        for (const ArchiveSonde& s : profile.sondes) {
            const ArchiveText file = kind == ArchiveKind::Woudc ? woudcFile(q, s, meta) : amesFile(q, s, meta);
            if (!writeText(result, file, folder))
                return result;
        }
    }
    return result;
}

} // namespace lumo
