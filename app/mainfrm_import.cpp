// File > Import: choose the raw file and its configuration, clear the pages,
// read both files, fill the pages, process the flight and show the totals.
#include "mainfrm.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QRadioButton>

#include "flight/userdialogs.h"
#include "busycursor.h"
#include "flight/filepath.h"
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
    const auto raw = dialogs_.openFile(request);
    if (!raw)
        return;
    importFile(QString::fromStdString(*raw));
}

void TMainFrm::importFile(const QString& rawPath)
{
    srcFileName = rawPath;
    cfgFileName = QString::fromStdString(replaceExtension(rawPath.toStdString(), ".cfg"));
    if (!QFileInfo(cfgFileName).isFile()) {
        FileDialogRequest request;
        request.filter = "Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*";
        request.title = "Import Configuration";
        request.fileName = cfgFileName.toStdString();
        const auto cfg = dialogs_.openFile(request);
        if (!cfg) {
            dialogs_.showError("Error", "Flight config not found, load aborted.");
            return;
        }
        cfgFileName = QString::fromStdString(*cfg);
    }

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
    runImportProcessing();
    finishImport();
}

void TMainFrm::clearPages()
{
    setTitle(QStringLiteral("Lumo"));
    for (QAction* a : {mExportO3, mExportWinds, mExportAll, mReCalc, mSurface, mFlight, mWinds})
        a->setEnabled(false);
    for (QLineEdit* e : {edStation, edStnLat, edStnLong, edStnAlt, edRSId, edRSProbeId})
        e->clear();
    cbxRSPrInst->setChecked(true);
    cbxRSGPSInst->setChecked(true);

    edO3EffFile->clear();
    edO3BkgFile->clear();
    iEditO3Numb->setText(QStringLiteral("1"));
    btnO3Prev->setEnabled(false);
    btnO3Next->setEnabled(true);
    edO3sn->clear();
    edO3CellBkg->clear();
    edO3PumpFlow->clear();

    iEditTotalO3Numb->setText(QStringLiteral("1"));
    btnTotalO3Prev->setEnabled(false);
    btnTotalO3Next->setEnabled(true);
    for (QLineEdit* e : {edTotalO3sn, edTotalO3Measured, edTotalO3Residual, edTotalO3})
        e->clear();

    clearPlotControls();
}

void TMainFrm::fillPagesFromConfig()
{
    edStation->setText(QString::fromLatin1(q5.stnName));
    edStnLat->setText(formatNumber("%1.4f", q5.stnLat));
    edStnLong->setText(formatNumber("%1.4f", q5.stnLong));
    edStnAlt->setText(formatNumber("%1.1f", q5.stnAlt));

    edRSId->setText(QString::fromLatin1(q5.rsSondeId));
    edRSProbeId->setText(QString::fromLatin1(q5.rsProbeId));
    // The import rules have run: the boxes and buttons show what they chose.
    cbxRSPrInst->setChecked(q5.rsPrInst);
    cbxRSGPSInst->setChecked(q5.rsGpsInst);

    edSfcRSP->setEnabled(q5.rsPrInst);
    edSfcDifP->setEnabled(q5.rsPrInst);
    if (q5.rsPrInst) {
        rbLaunchDetPTU->setEnabled(true);
        rbLaunchDetPTU->setChecked(true);
        rbSfcUseRS->setEnabled(true);
        rbSfcUseRS->setChecked(true);
    } else {
        rbLaunchDetPTU->setEnabled(false);
        rbLaunchDetGPS->setChecked(true);
        rbSfcUseRS->setEnabled(false);
        rbSfcUseStd->setChecked(true);
    }
    rbLaunchDetGPS->setEnabled(q5.rsGpsInst);

    const O3SondeCfg& first = q5.o3Sonde[0];
    edO3EffFile->setText(QString::fromLocal8Bit(fileNamePart(q5.effFile)));
    edO3BkgFile->setText(QString::fromLocal8Bit(fileNamePart(q5.bkgFile)));
    edO3sn->setText(QString::fromLatin1(first.sn));
    edTotalO3sn->setText(QString::fromLatin1(first.sn));
    edO3CellBkg->setText(formatNumber("%1.2f", first.bkg));
    btnO3BkgLoad->setEnabled(true);
    btnO3BkgSave->setEnabled(true);
    edO3PumpFlow->setText(formatNumber("%1.2f", first.flow));
    btnO3EffLoad->setEnabled(true);
    btnO3EffSave->setEnabled(true);
    btnO3Prev->setEnabled(false);
    btnO3Next->setEnabled(true);

    edSfcStdP->setText(formatNumber("%1.2f", q5.stdP));
    edSfcStdT->setText(formatNumber("%1.1f", q5.stdT));
    edSfcStdU->setText(formatNumber("%1.1f", q5.stdU));
    edSfcRSP->setText(formatNumber("%1.2f", q5.sfcP));
    edSfcRST->setText(formatNumber("%1.1f", q5.sfcT));
    edSfcRSU->setText(formatNumber("%1.1f", q5.sfcU));
    edSfcDifP->setText(formatNumber("%1.2f", q5.sfcP - q5.stdP));
    edSfcDifT->setText(formatNumber("%1.1f", q5.sfcT - q5.stdT));
    edSfcDifU->setText(formatNumber("%1.1f", q5.sfcU - q5.stdU));
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
    if (q5.processFlight())
        showTotalO3Slot(1);
    else
        dialogs_.showError("Error", "Error calculating total ozone data.");
}

void TMainFrm::finishImport()
{
    mExportO3->setEnabled(true);
    mExportAll->setEnabled(true);
    mSurface->setEnabled(true);
    mFlight->setEnabled(true);
    mReCalc->setEnabled(false);
    mExportWinds->setEnabled(q5.rsGpsInst);
    mWinds->setEnabled(q5.rsGpsInst);

    // The processing may have replaced the saved surface values.
    edSfcRSP->setText(formatNumber("%1.2f", q5.sfcP));
    edSfcDifP->setText(formatNumber("%1.2f", q5.sfcP - q5.stdP));
    edSfcRST->setText(formatNumber("%1.1f", q5.sfcT));
    edSfcDifT->setText(formatNumber("%1.1f", q5.sfcT - q5.stdT));

    finishPlotsAfterImport();
}

} // namespace lumo
