#include "plannedoutputs.h"

#include <filesystem>
#include <memory>

#include "fileproblems.h"
#include "flight/q5.h"
#include "output/ameswriter.h"
#include "output/archiveprofile.h"
#include "output/archivetext.h"
#include "output/netcdfwriter.h"
#include "output/woudcwriter.h"
#include "processing/preferences.h"

namespace lumo::batch {

namespace fs = std::filesystem;

namespace {

// The archive files of one flight as their writers will name them. The
// launch date (WOUDC) and hour (NASA Ames) are known only after processing:
// they stand as YYYYMMDD and HH, so that two files that could share a name
// are caught whatever the launches turn out to be.
std::vector<std::string> plannedArchiveFiles(const std::string& raw, const std::string& cfg, const PlannedCall& call,
                                             const ExportSelection& selection, const Preferences& prefs)
{
    std::vector<std::string> files;
    if (selection.archives.empty())
        return files;
    const fs::path folder = call.outDir.empty() ? fs::path(raw).parent_path() : fs::path(call.outDir);
    ArchiveMeta meta;
    meta.station = prefs.archive;
    meta.baseName = fs::path(raw).stem().string();
    auto q = std::make_unique<Q5>();
    std::error_code ec;
    if (fs::is_regular_file(cfg, ec))
        q->ReadConfig(cfg);
    for (ArchiveKind kind : selection.archives) {
        if (kind == ArchiveKind::Netcdf) {
            files.push_back((folder / netcdfFileName(meta)).string());
            continue;
        }
        for (int h = 0; h < MaxSondes; ++h) {
            if (!q->o3Sonde[h].sn[0])
                continue;
            ArchiveSonde sonde;
            sonde.slot = h;
            sonde.sn = q->o3Sonde[h].sn;
            std::string name;
            if (kind == ArchiveKind::Woudc)
                name = woudcFileName(*q, sonde, meta).replace(0, 8, "YYYYMMDD");
            else
                name = amesFileName(sonde, meta);
            // An NDACC name carries the launch day and no serial for the first
            // ozonesonde of the chain: it is planned by serial, so that only the
            // same ozonesonde in two flights of the call clashes.
            if (kind == ArchiveKind::Ames && name.rfind(meta.baseName + ".", 0) != 0)
                name = name.substr(0, 2) + "YYMMDD." + fileNamePiece(sonde.sn, true) + ".bHH";
            else if (kind == ArchiveKind::Ames)
                name.replace(name.size() - 2, 2, "HH");
            files.push_back((folder / name).string());
        }
    }
    return files;
}

} // namespace

std::string plannedClash(const PlannedCall& call, const ExportSelection& selection, const Preferences& prefs)
{
    std::vector<std::vector<std::string>> outputs;
    std::vector<std::string> inputs;
    if (!call.prefs.empty())
        inputs.push_back(call.prefs);
    if (prefs.resTable && !prefs.resTableFile.empty())
        inputs.push_back(prefs.resTableFile);
    for (std::size_t i = 0; i < call.rawFiles.size(); ++i) {
        const std::string& raw = call.rawFiles[i];
        inputs.push_back(raw);
        inputs.push_back(call.cfgFiles[i]);
        std::vector<std::string> files;
        for (ExportKind kind : selection.kinds)
            files.push_back(exportPath(raw, call.outDir, kind));
        for (std::string& file : plannedArchiveFiles(raw, call.cfgFiles[i], call, selection, prefs))
            files.push_back(std::move(file));
        if (!call.plotsDir.empty()) {
            const std::string stem = fs::path(raw).stem().string();
            for (const char* plot : {"-surface.png", "-flight.png", "-winds.png", "-profile.png"})
                files.push_back((fs::path(call.plotsDir) / (stem + plot)).string());
        }
        outputs.push_back(std::move(files));
    }
    if (std::string shared = sharedOutput(call.rawFiles, outputs); !shared.empty())
        return shared;
    std::vector<std::string> all;
    for (const std::vector<std::string>& files : outputs)
        all.insert(all.end(), files.begin(), files.end());
    if (std::string overwrite = outputIsInput(all, inputs); !overwrite.empty())
        return overwrite + ": an export never replaces an input";
    return nameTooLong(all);
}

std::string irregularInput(const PlannedCall& call)
{
    std::vector<std::string> inputs = call.rawFiles;
    inputs.insert(inputs.end(), call.cfgFiles.begin(), call.cfgFiles.end());
    if (!call.prefs.empty())
        inputs.push_back(call.prefs);
    for (const std::string& path : inputs)
        if (const std::string reason = unsafeInputReason(path); !reason.empty())
            return path + ": " + reason;
    return {};
}

} // namespace lumo::batch
