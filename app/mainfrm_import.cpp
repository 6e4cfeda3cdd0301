// File > Import: choose the raw file and its configuration, clear the pages,
// read both files, fill the pages, process the flight and show the totals.
#include "mainfrm.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QRadioButton>

#include "busycursor.h"
#include "flight/filepath.h"
#include "flight/userdialogs.h"
#include "labelededit.h"
#include "numtext.h"
#include "plots/mybutton.h"
#include "processing/flightimport.h"

namespace lumo {

void TMainFrm::mImportClick()
{
    if (isLoaded() && !dialogs_.askYesNo("Confirm", "Unload current flight and import new flight?"))
        return;
    FileDialogRequest request;
    request.filter = "Raw data files (*.raw)|*.raw|All files (*.*)|*.*";
    request.title = "Import Data";
    request.fileName = lastFlightFolder().toStdString();
    const auto raw = dialogs_.openFile(request);
    if (!raw)
        return;
    importFile(QString::fromStdString(*raw));
}

void TMainFrm::importFile(const QString& rawPath)
{
    // The names are taken only once both files are settled: an import that
    // ends at the configuration dialog leaves the loaded flight, and the names
    // its exports write, as they were.
    QString cfgPath = QString::fromStdString(replaceExtension(rawPath.toStdString(), ".cfg"));
    if (!QFileInfo(cfgPath).isFile()) {
        FileDialogRequest request;
        request.filter = "Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*";
        request.title = "Import Configuration";
        request.fileName = cfgPath.toStdString();
        const auto cfg = dialogs_.openFile(request);
        if (!cfg) {
            dialogs_.showError("Error", "Flight config not found, load aborted.");
            return;
        }
        cfgPath = QString::fromStdString(*cfg);
    }
    srcFileName = rawPath;
    cfgFileName = cfgPath;

    repaint();
    BusyCursor hourglass;
    clearPages();
    const ImportResult imported = importFlight(q5, srcFileName.toStdString(), cfgFileName.toStdString());
    if (imported.configRead)
        fillPagesFromConfig();
    if (!imported.ok()) {
        mReCalc->setEnabled(false);
        dialogs_.showError("Error", imported.error);
        return;
    }
    rememberFlight(srcFileName);
    runImportProcessing();
    finishImport();
}

void TMainFrm::runImportProcessing()
{
    setTitle(QStringLiteral("%1 - %2").arg(QStringLiteral("Lumo"), QString::fromStdString(baseNamePart(srcFileName.toStdString()))));
    cbxApplySfcCorr->setChecked(false);
    rbSfcUseStd->setEnabled(true);
    rbSfcUseRS->setEnabled(true);
    edTotalO3sn->setText(QString::fromLatin1(q5.o3Sonde[0].sn));
    if (!parseNumber(edLPFilter->text(), q5.lpFilter)) {
        q5.lpFilter = 0;
        edLPFilter->setText(QStringLiteral("0.0"));
    }
    if (q5.processFlight()) {
        showTotalO3Slot(1);
        showWarnings(false);
    } else
        dialogs_.showError("Error", "Error calculating total ozone data.");
}

void TMainFrm::finishImport()
{
    mExportO3->setEnabled(true);
    mExportAll->setEnabled(true);
    mExportArchive->setEnabled(true);
    mSurface->setEnabled(true);
    mFlight->setEnabled(true);
    mProfile->setEnabled(true);
    mReCalc->setEnabled(false);
    mExportWinds->setEnabled(q5.rsGpsInst);
    mWinds->setEnabled(q5.rsGpsInst);

    // The processing may have replaced the saved surface values.
    edSfcRSP->setText(formatNumber("%1.2f", q5.sfcP));
    edSfcDifP->setText(formatNumber("%1.2f", q5.sfcP - q5.stdP));
    edSfcRST->setText(formatNumber("%1.1f", q5.sfcT));
    edSfcDifT->setText(formatNumber("%1.1f", q5.sfcT - q5.stdT));
    showSurfacePressure();

    finishPlotsAfterImport();
}

} // namespace lumo
