// Handlers of the Station, Radiosonde, Ozonesonde(s) and Preferences pages:
// the numeric commit rule, the instrument rules, the end-of-flight limits
// and the ozonesonde navigation.
#include "mainfrm.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>

#include "labelededit.h"
#include "numtext.h"
#include "plots/mybutton.h"

namespace lumo {

void TMainFrm::edStnAltExit() { commitNumber(edStnAlt, q5.stnAlt, "%1.1f"); }
void TMainFrm::edEndFltPrExit() { commitNumber(edEndFltPr, q5.endFltPr, "%1.2f"); }
void TMainFrm::edEndFltAltExit() { commitNumber(edEndFltAlt, q5.endFltAlt, "%1.1f"); }
void TMainFrm::edLPFilterExit() { commitNumber(edLPFilter, q5.lpFilter, "%1.1f"); }
void TMainFrm::edlDetValExit() { commitNumber(edlDetVal, q5.lDetVal, "%1.2f"); }

// The two ozonesonde boxes write to the slot the number box names when the
// focus leaves them, in use or not.
void TMainFrm::edO3CellBkgExit()
{
    const int n = slotNumber(iEditO3Numb);
    if (n >= 1 && n <= MaxSondes)
        commitNumber(edO3CellBkg, q5.o3Sonde[n - 1].bkg, "%1.2f");
}

void TMainFrm::edO3PumpFlowExit()
{
    const int n = slotNumber(iEditO3Numb);
    if (n >= 1 && n <= MaxSondes)
        commitNumber(edO3PumpFlow, q5.o3Sonde[n - 1].flow, "%1.2f");
}

// At least one of pressure sensor and GPS stays installed; launch detection
// and the surface reference follow what is installed.
void TMainFrm::cbxRSPrInstClick()
{
    q5.rsPrInst = cbxRSPrInst->isChecked() ? 1 : 0;
    enableReCalc();
    edSfcRSP->setEnabled(q5.rsPrInst);
    edSfcDifP->setEnabled(q5.rsPrInst);
    if (q5.rsPrInst) {
        rbLaunchDetPTU->setEnabled(true);
        rbSfcUseRS->setEnabled(true);
        return;
    }
    q5.rsGpsInst = 1;
    cbxRSGPSInst->setChecked(true);
    rbLaunchDetPTU->setEnabled(false);
    rbLaunchDetGPS->setEnabled(true);
    rbLaunchDetGPS->setChecked(true); // unchecks the PTU button
    rbSfcUseRS->setEnabled(false);
    rbSfcUseStd->setChecked(true);
    q5.sfcUseStd = 1;
}

void TMainFrm::cbxRSGPSInstClick()
{
    q5.rsGpsInst = cbxRSGPSInst->isChecked() ? 1 : 0;
    enableReCalc();
    if (q5.rsGpsInst) {
        rbLaunchDetGPS->setEnabled(true);
    } else {
        q5.rsPrInst = 1;
        cbxRSPrInst->setChecked(true);
        rbLaunchDetPTU->setEnabled(true);
        rbLaunchDetPTU->setChecked(true); // unchecks the GPS button
        rbLaunchDetGPS->setEnabled(false);
        rbSfcUseRS->setEnabled(true);
    }
    edSfcRSP->setEnabled(q5.rsPrInst);
    edSfcDifP->setEnabled(q5.rsPrInst);
}

void TMainFrm::rbLaunchDetPTUClick()
{
    q5.lDetGps = 0;
    enableReCalc();
}

void TMainFrm::rbLaunchDetGPSClick()
{
    q5.lDetGps = 1;
    enableReCalc();
}

void TMainFrm::cbxEndFltPrClick()
{
    if (cbxEndFltPr->isChecked()) {
        edEndFltPr->setEnabled(true);
        double value = 0;
        if (parseNumber(edEndFltPr->text(), value))
            q5.endFltPr = value;
        return;
    }
    if (q5.endFltPr != 0)
        enableReCalc();
    edEndFltPr->setEnabled(false);
    edEndFltPr->setText(QStringLiteral("0.00"));
    q5.endFltPr = 0;
}

void TMainFrm::cbxEndFltAltClick()
{
    if (cbxEndFltAlt->isChecked()) {
        edEndFltAlt->setEnabled(true);
        double value = 0;
        if (parseNumber(edEndFltAlt->text(), value))
            q5.endFltAlt = value;
        return;
    }
    if (q5.endFltAlt != 0)
        enableReCalc();
    edEndFltAlt->setEnabled(false);
    edEndFltAlt->setText(QStringLiteral("0.0"));
    q5.endFltAlt = 0;
}

void TMainFrm::cbxShowAllClick()
{
    q5.showAll = cbxShowAll->isChecked() ? 1 : 0;
    applyShowAllToPlots();
}

void TMainFrm::showO3Slot(int n)
{
    const O3SondeCfg& sonde = q5.o3Sonde[n - 1];
    iEditO3Numb->setText(QString::number(n));
    edO3sn->setText(QString::fromLatin1(sonde.sn));
    if (sonde.sn[0] == '\0') {
        edO3CellBkg->clear();
        edO3PumpFlow->clear();
    } else {
        edO3CellBkg->setText(formatNumber("%1.2f", sonde.bkg));
        edO3PumpFlow->setText(formatNumber("%1.2f", sonde.flow));
    }
}

void TMainFrm::btnO3NextClick()
{
    const int n = slotNumber(iEditO3Numb) + 1;
    if (n == o3Slots)
        btnO3Next->setEnabled(false);
    if (n > 1)
        btnO3Prev->setEnabled(true);
    showO3Slot(n);
}

void TMainFrm::btnO3PrevClick()
{
    const int n = slotNumber(iEditO3Numb) - 1;
    if (n == 1)
        btnO3Prev->setEnabled(false);
    if (n < o3Slots)
        btnO3Next->setEnabled(true);
    showO3Slot(n);
}

void TMainFrm::connectHandlers()
{
    auto onExit = [this](ExitEdit* edit, void (TMainFrm::*handler)()) {
        connect(edit, &ExitEdit::exited, this, handler);
    };
    onExit(edStnAlt, &TMainFrm::edStnAltExit);
    onExit(edO3CellBkg, &TMainFrm::edO3CellBkgExit);
    onExit(edO3PumpFlow, &TMainFrm::edO3PumpFlowExit);
    onExit(edEndFltPr, &TMainFrm::edEndFltPrExit);
    onExit(edEndFltAlt, &TMainFrm::edEndFltAltExit);
    onExit(edLPFilter, &TMainFrm::edLPFilterExit);
    onExit(edlDetVal, &TMainFrm::edlDetValExit);
    onExit(edSfcStdP, &TMainFrm::edSfcStdPExit);
    onExit(edSfcStdT, &TMainFrm::edSfcStdTExit);
    onExit(edSfcStdU, &TMainFrm::edSfcStdUExit);
    onExit(edResO3TableFile, &TMainFrm::edResO3TableFileExit);

    // Check boxes run their handler on every change of state, by the user or
    // by code; radio buttons when they become checked.
    auto onToggle = [this](QCheckBox* box, void (TMainFrm::*handler)()) {
        connect(box, &QCheckBox::toggled, this, handler);
    };
    onToggle(cbxRSPrInst, &TMainFrm::cbxRSPrInstClick);
    onToggle(cbxRSGPSInst, &TMainFrm::cbxRSGPSInstClick);
    onToggle(cbxEndFltPr, &TMainFrm::cbxEndFltPrClick);
    onToggle(cbxEndFltAlt, &TMainFrm::cbxEndFltAltClick);
    onToggle(cbxShowAll, &TMainFrm::cbxShowAllClick);
    onToggle(cbxApplySfcCorr, &TMainFrm::cbxApplySfcCorrClick);
    auto onChecked = [this](QRadioButton* button, void (TMainFrm::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };
    onChecked(rbLaunchDetPTU, &TMainFrm::rbLaunchDetPTUClick);
    onChecked(rbLaunchDetGPS, &TMainFrm::rbLaunchDetGPSClick);
    onChecked(rbSfcUseStd, &TMainFrm::rbSfcUseStdClick);
    onChecked(rbSfcUseRS, &TMainFrm::rbSfcUseRSClick);
    onChecked(rbCMR, &TMainFrm::rbCMRClick);
    onChecked(rbTable, &TMainFrm::rbTableClick);

    auto onClick = [this](QPushButton* button, void (TMainFrm::*handler)()) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    onClick(btnO3Prev, &TMainFrm::btnO3PrevClick);
    onClick(btnO3Next, &TMainFrm::btnO3NextClick);
    onClick(btnO3EffLoad, &TMainFrm::btnO3EffLoadClick);
    onClick(btnO3EffSave, &TMainFrm::btnO3EffSaveClick);
    onClick(btnO3BkgLoad, &TMainFrm::btnO3BkgLoadClick);
    onClick(btnO3BkgSave, &TMainFrm::btnO3BkgSaveClick);
    onClick(btnTotalO3Prev, &TMainFrm::btnTotalO3PrevClick);
    onClick(btnTotalO3Next, &TMainFrm::btnTotalO3NextClick);
    onClick(btnBrowse, &TMainFrm::btnBrowseClick);
}

} // namespace lumo
