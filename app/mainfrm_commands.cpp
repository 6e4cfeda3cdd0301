// ReCalc and the three export commands.
#include "mainfrm.h"

#include <QAction>

#include "busycursor.h"
#include "flight/filepath.h"
#include "flight/userdialogs.h"
#include "labelededit.h"
#include "numtext.h"
#include "plots/sondeselector.h"

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
        totalO3Selector->reset();
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

} // namespace lumo
