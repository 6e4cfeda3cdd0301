// Radiosonde page: identifiers and the installed sensors. At least one of
// pressure sensor and GPS stays installed; launch detection and the surface
// reference follow what is installed.
#include "mainfrm.h"

#include <QCheckBox>
#include <QRadioButton>

#include "labelededit.h"
#include "pagelayout.h"

namespace lumo {

QWidget* TMainFrm::buildRadiosondePage()
{
    auto* page = new QWidget;
    auto* grid = pageGrid(page);
    edRSId = new LabeledEdit(QStringLiteral("Radiosonde ID "), QStringLiteral("Radiosonde serial number"), page);
    edRSProbeId = new LabeledEdit(QStringLiteral("Probe ID "), QStringLiteral("T/U Probe number (if visible)"), page);
    addLabeledRow(grid, 0, edRSId);
    addLabeledRow(grid, 1, edRSProbeId);
    cbxRSPrInst = new QCheckBox(QStringLiteral("Pressure Sensor Installed"), page);
    cbxRSPrInst->setToolTip(QStringLiteral("Check if there is a pressure sensor installed on the radiosonde"));
    cbxRSPrInst->setChecked(true);
    cbxRSGPSInst = new QCheckBox(QStringLiteral("GPS Installed"), page);
    cbxRSGPSInst->setToolTip(QStringLiteral("Check if there is a GPS installed on the radiosonde"));
    cbxRSGPSInst->setChecked(true);
    grid->addWidget(cbxRSPrInst, 2, 1);
    grid->addWidget(cbxRSGPSInst, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    // Check boxes run their handler on every change of state, by the user or
    // by code.
    connect(cbxRSPrInst, &QCheckBox::toggled, this, &TMainFrm::cbxRSPrInstClick);
    connect(cbxRSGPSInst, &QCheckBox::toggled, this, &TMainFrm::cbxRSGPSInstClick);
    return page;
}

void TMainFrm::clearRadiosondePage()
{
    edRSId->clear();
    edRSProbeId->clear();
    cbxRSPrInst->setChecked(true);
    cbxRSGPSInst->setChecked(true);
}

void TMainFrm::fillRadiosondePage()
{
    edRSId->setText(QString::fromLatin1(q5.rsSondeId));
    edRSProbeId->setText(QString::fromLatin1(q5.rsProbeId));
    // The import rules have run: the boxes show what they chose.
    cbxRSPrInst->setChecked(q5.rsPrInst);
    cbxRSGPSInst->setChecked(q5.rsGpsInst);
}

void TMainFrm::cbxRSPrInstClick()
{
    q5.rsPrInst = cbxRSPrInst->isChecked() ? 1 : 0;
    enableReCalc();
    showSurfacePressure();
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
    showSurfacePressure();
}

} // namespace lumo
