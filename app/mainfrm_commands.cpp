// ReCalc, the three export commands and the archive files.
#include "mainfrm.h"

#include <QAction>

#include <filesystem>

#include "busycursor.h"
#include "flight/archivestation.h"
#include "flight/datetime.h"
#include "flight/filepath.h"
#include "flight/userdialogs.h"
#include "labelededit.h"
#include "numtext.h"
#include "output/archivefiles.h"
#include "plots/sondeselector.h"

namespace lumo {

bool TMainFrm::commitEdits()
{
    if (!checkEdits())
        return false;
    using Exit = void (TMainFrm::*)();
    const std::pair<QLineEdit*, Exit> boxes[] = {
        {edStnAlt, &TMainFrm::edStnAltExit},
        {edEndFltPr, &TMainFrm::edEndFltPrExit},
        {edEndFltAlt, &TMainFrm::edEndFltAltExit},
        {edO3CellBkg, &TMainFrm::edO3CellBkgExit},
        {edO3PumpFlow, &TMainFrm::edO3PumpFlowExit},
        {edLPFilter, &TMainFrm::edLPFilterExit},
        {edlDetVal, &TMainFrm::edlDetValExit},
        {edSfcStdP, &TMainFrm::edSfcStdPExit},
        {edSfcStdT, &TMainFrm::edSfcStdTExit},
        {edSfcStdU, &TMainFrm::edSfcStdUExit},
        {edResO3TableFile, &TMainFrm::edResO3TableFileExit},
    };
    // A disabled box cannot hold anything the user typed.
    for (const auto& [box, exit] : boxes)
        if (box->isEnabled())
            (this->*exit)();
    return true;
}

void TMainFrm::mReCalcClick()
{
    if (!commitEdits())
        return; // the refused box has the focus; nothing ran
    BusyCursor hourglass;
    if (q5.processFlight()) {
        // The totals of the ozonesonde the page names, fresh.
        const int n = totalO3Selector->current();
        showTotalO3Slot(n >= 1 && n <= MaxSondes ? n : 1);
        zoomPlotsAfterReCalc();
        mExportWinds->setEnabled(q5.rsGpsInst);
        mWinds->setEnabled(q5.rsGpsInst);
        showWarnings(false);
    } else {
        dialogs_.showError("Error", "Error calculating total ozone data.");
    }
    mReCalc->setEnabled(false);
}

void TMainFrm::mWarningsClick() { showWarnings(true); }

void TMainFrm::showWarnings(bool always)
{
    // Before the first run the warnings of the set-up (the preferences file).
    const FlightWarnings& warnings = q5.warnings.empty() && !isLoaded() ? q5.setupWarnings : q5.warnings;
    if (warnings.empty()) {
        if (always)
            dialogs_.showStatus("Warnings", "The last processing run raised no warning.");
        return;
    }
    std::string text = std::to_string(warnings.size()) + " warning" + (warnings.size() > 1 ? "s" : "")
        + (isLoaded() ? " from the last processing run:\n" : ":\n");
    for (const FlightWarning& w : warnings)
        text += "\n" + w.code + ": " + w.message;
    dialogs_.showStatus("Warnings", text);
}

void TMainFrm::mExportO3Click() { exportData(ExportKind::O3); }
void TMainFrm::mExportWindsClick() { exportData(ExportKind::Winds); }
void TMainFrm::mExportAllClick() { exportData(ExportKind::All); }

void TMainFrm::exportData(ExportKind kind)
{
    // The file always holds a fresh run with the settings as they are now;
    // a box holding an invalid number stops the command.
    if (!checkEdits())
        return;
    mReCalcClick();

    static const char* const filters[] = {
        "Ozone text files (*.o3csv)|*.o3csv|All files (*.*)|*.*",
        "Ozone text files (*.wcsv)|*.wcsv|All files (*.*)|*.*",
        "Data files (*.csv)|*.csv|All files (*.*)|*.*",
    };
    FileDialogRequest request;
    request.filter = filters[static_cast<int>(kind)];
    request.title = "Export";
    request.fileName = replaceExtension(srcFileName.toStdString(), exportExtension(kind));
    const auto path = dialogs_.saveFile(request);
    if (!path)
        return;

    ExportResult result;
    {
        BusyCursor hourglass;
        result = writeExportFile(q5, kind, *path, srcFileName.toStdString(), cfgFileName.toStdString());
    }
    if (result != ExportResult::Ok)
        dialogs_.showError("Error", std::string(exportResultMessage(result)));
    else
        showTransient(QStringLiteral("Exported %1").arg(QString::fromStdString(*path)));
}

namespace {

// The archive writers name the preferences file's keys; the desktop user
// fills the boxes of the Preferences page instead.
std::string onThePage(std::string text)
{
    for (const ArchiveField& f : ArchiveFields) {
        const std::string key = std::string(f.key) + " in the preferences section [archive]";
        const std::string box = std::string(f.caption) + " on the Preferences page, Archive group";
        for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + box.size()))
            text.replace(at, key.size(), box);
    }
    return text;
}

} // namespace

// WOUDC and NASA Ames files of every ozonesonde and the netCDF file of the
// flight, into a folder, named after the flight; the metadata of the station
// as the Preferences page shows it.
void TMainFrm::mExportArchiveClick()
{
    if (!checkEdits())
        return;
    mReCalcClick();
    const std::filesystem::path raw(srcFileName.toStdString());
    FileDialogRequest request;
    request.title = "Export archive files";
    request.fileName = raw.parent_path().string();
    const auto folder = dialogs_.chooseFolder(request);
    if (!folder)
        return;

    ArchiveMeta meta;
    meta.station = preferencesFromPages().archive;
    meta.generated = nowUtcDateTime();
    meta.baseName = raw.stem().string();
    ArchiveResult result;
    {
        BusyCursor hourglass;
        result = writeArchiveFiles(q5, meta, {ArchiveKind::Woudc, ArchiveKind::Ames, ArchiveKind::Netcdf}, *folder);
    }
    std::string written;
    for (const std::string& path : result.paths)
        written += "\n" + path;
    if (!result.ok) {
        dialogs_.showError("Error", result.error + (written.empty() ? "" : "\n\nWritten before:" + written));
        return;
    }
    std::string text = "Archive files written:" + written;
    if (!result.warnings.empty()) {
        text += "\n\nMissing for the archives:";
        for (const std::string& w : result.warnings) {
            text += '\n';
            text += onThePage(w);
        }
    }
    dialogs_.showStatus("Status", text);
    showTransient(QStringLiteral("Archive files written to %1").arg(QString::fromStdString(*folder)));
}

} // namespace lumo
