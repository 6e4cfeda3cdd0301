// ReCalc, the three export commands and the correction-table Load/Save
// buttons.
#include "mainfrm.h"

#include <QAction>

#include "flight/userdialogs.h"
#include "busycursor.h"
#include "flight/filepath.h"
#include "flight/textfield.h"
#include "labelededit.h"
#include "numtext.h"
#include "plots/mybutton.h"

namespace lumo {

void TMainFrm::mReCalcClick()
{
    BusyCursor hourglass;
    // Commit what is still typed in the boxes, as if each lost the focus.
    edStnAltExit();
    edEndFltPrExit();
    edEndFltAltExit();
    edO3PumpFlowExit();
    edLPFilterExit();
    edlDetValExit();
    edResO3TableFileExit();
    if (q5.processFlight()) {
        // Slot 1 is shown, so the number box and arrows go back to it too.
        iEditTotalO3Numb->setText(QStringLiteral("1"));
        btnTotalO3Prev->setEnabled(false);
        btnTotalO3Next->setEnabled(true);
        showTotalO3Slot(1);
        zoomPlotsAfterReCalc();
        mExportWinds->setEnabled(q5.rsGpsInst);
        mWinds->setEnabled(q5.rsGpsInst);
    } else {
        dialogs_.showError("Error", "Error calculating total ozone data.");
    }
    mReCalc->setEnabled(false);
}

void TMainFrm::mExportO3Click() { exportData(ExportKind::O3); }
void TMainFrm::mExportWindsClick() { exportData(ExportKind::Winds); }
void TMainFrm::mExportAllClick() { exportData(ExportKind::All); }

void TMainFrm::exportData(ExportKind kind)
{
    // The file always holds a fresh run with the settings as they are now.
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
}

void TMainFrm::btnO3EffLoadClick() { loadTable(TableKind::PumpEfficiency); }
void TMainFrm::btnO3BkgLoadClick() { loadTable(TableKind::CellBackground); }
void TMainFrm::btnO3EffSaveClick() { saveTable(TableKind::PumpEfficiency); }
void TMainFrm::btnO3BkgSaveClick() { saveTable(TableKind::CellBackground); }

void TMainFrm::loadTable(TableKind kind)
{
    const bool eff = kind == TableKind::PumpEfficiency;
    LabeledEdit* box = eff ? edO3EffFile : edO3BkgFile;
    FileDialogRequest request;
    request.filter = eff ? "Pump efficiency files (*.eff)|*.eff|All files (*.*)|*.*"
                         : "Cell background correction files (*.bkg)|*.bkg|All files (*.*)|*.*";
    request.title = eff ? "Pump Efficiency" : "Cell Background";
    request.fileName = box->text().toStdString();
    const auto path = dialogs_.openFile(request);
    if (!path)
        return;

    const TableFileResult result = eff ? readCorrectionTable(*path, q5.effP, q5.effVal, q5.effCount)
                                       : readCorrectionTable(*path, q5.bkgP, q5.bkgVal, q5.bkgCount);
    if (result.status == TableFileResult::CannotOpen) {
        dialogs_.showError("Error", tableFileMessage(kind, result, *path));
        return;
    }
    box->setText(QString::fromStdString(*path));
    if (eff)
        copyText(q5.effFile, *path);
    else
        copyText(q5.bkgFile, *path);
    if (!result.ok())
        dialogs_.showError("Error", tableFileMessage(kind, result, *path));
    enableReCalc();
}

void TMainFrm::saveTable(TableKind kind)
{
    const bool eff = kind == TableKind::PumpEfficiency;
    FileDialogRequest request;
    request.filter = eff ? "Pump efficiency files (*.eff)|*.eff|All files (*.*)|*.*"
                         : "Cell background correction files (*.bkg)|*.bkg|All files (*.*)|*.*";
    request.defaultExt = eff ? "eff" : "bkg";
    request.fileName = (eff ? edO3EffFile : edO3BkgFile)->text().toStdString();
    const auto path = dialogs_.saveFile(request);
    if (!path)
        return;
    const TableFileResult result = eff ? writeCorrectionTable(*path, q5.effP, q5.effVal, q5.effCount)
                                       : writeCorrectionTable(*path, q5.bkgP, q5.bkgVal, q5.bkgCount);
    if (!result.ok())
        dialogs_.showError("Error", tableFileMessage(kind, result, *path));
}

} // namespace lumo
