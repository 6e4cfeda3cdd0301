// Surface Data page: standard and radiosonde surface values, their
// difference, the choice of surface reference and the offset correction.
#include "mainfrm.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "labelededit.h"
#include "numtext.h"
#include "pagelayout.h"
#include "processing/flightimport.h"

namespace lumo {

QWidget* TMainFrm::buildSurfacePage()
{
    auto* page = new QWidget;
    auto* grid = pageGrid(page);
    grid->setVerticalSpacing(6);

    const char* columns[] = {"Pressure (mbs)", "Temp (C)", "Humidity (%)"};
    for (int c = 0; c < 3; ++c) {
        auto* caption = new QLabel(QString::fromLatin1(columns[c]), page);
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 0, c + 1);
    }
    const char* rows[] = {"Standard", "Radiosonde", "Difference"};
    for (int r = 0; r < 3; ++r)
        grid->addWidget(new QLabel(QString::fromLatin1(rows[r]), page), r + 1, 0);

    auto numberBox = [&](QLineEdit* box, const char* hint, int row, int column) {
        box->setToolTip(QString::fromLatin1(hint));
        box->setFixedWidth(82);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box, row, column);
    };
    numberBox(edSfcStdP = new ExitEdit(page), "Standard surface pressure", 1, 1);
    numberBox(edSfcStdT = new ExitEdit(page), "Standard surface temperature", 1, 2);
    numberBox(edSfcStdU = new ExitEdit(page), "Standard surface humidity", 1, 3);
    numberBox(edSfcRSP = new QLineEdit(page), "Radiosonde measured surface pressure", 2, 1);
    numberBox(edSfcRST = new QLineEdit(page), "Radiosonde measured surface temperature", 2, 2);
    numberBox(edSfcRSU = new QLineEdit(page), "Radiosonde measured surface humidity", 2, 3);
    numberBox(edSfcDifP = new QLineEdit(page), "Difference between measured pressure and the standard", 3, 1);
    numberBox(edSfcDifT = new QLineEdit(page), "Difference between measured temperature and the standard", 3, 2);
    numberBox(edSfcDifU = new QLineEdit(page), "Difference between measured humidity and the standard", 3, 3);
    for (QLineEdit* box : {edSfcRSP, edSfcRST, edSfcRSU, edSfcDifP, edSfcDifT, edSfcDifU})
        makeDisplayOnly(box);

    rbSfcUseStd = new QRadioButton(QStringLiteral("Select"), page);
    rbSfcUseStd->setToolTip(QStringLiteral("Use the standard surface data for calculations"));
    rbSfcUseRS = new QRadioButton(QStringLiteral("Select"), page);
    rbSfcUseRS->setToolTip(QStringLiteral("Use the radiosonde surface data for calculations"));
    rbSfcUseRS->setChecked(true);
    grid->addWidget(rbSfcUseStd, 1, 4);
    grid->addWidget(rbSfcUseRS, 2, 4);

    cbxApplySfcCorr = new QCheckBox(QStringLiteral("Apply offset correction to radiosonde data"), page);
    grid->addWidget(cbxApplySfcCorr, 4, 0, 1, 5);
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(5, 1);

    connect(edSfcStdP, &ExitEdit::exited, this, &TMainFrm::edSfcStdPExit);
    connect(edSfcStdT, &ExitEdit::exited, this, &TMainFrm::edSfcStdTExit);
    connect(edSfcStdU, &ExitEdit::exited, this, &TMainFrm::edSfcStdUExit);
    connect(cbxApplySfcCorr, &QCheckBox::toggled, this, &TMainFrm::cbxApplySfcCorrClick);
    whenChecked(rbSfcUseStd, this, [this] { rbSfcUseStdClick(); });
    whenChecked(rbSfcUseRS, this, [this] { rbSfcUseRSClick(); });
    return page;
}

// The standard and radiosonde values of the configuration, and the surface
// reference the import rules chose.
void TMainFrm::fillSurfacePage()
{
    if (q5.rsPrInst) {
        rbSfcUseRS->setEnabled(true);
        rbSfcUseRS->setChecked(true);
    } else {
        rbSfcUseRS->setEnabled(false);
        rbSfcUseStd->setChecked(true);
    }
    showNumber(edSfcStdP, "%1.2f", q5.stdP);
    showNumber(edSfcStdT, "%1.1f", q5.stdT);
    showNumber(edSfcStdU, "%1.1f", q5.stdU);
    edSfcRSP->setText(formatNumber("%1.2f", q5.sfcP));
    edSfcRST->setText(formatNumber("%1.1f", q5.sfcT));
    edSfcRSU->setText(formatNumber("%1.1f", q5.sfcU));
    edSfcDifP->setText(formatNumber("%1.2f", q5.sfcP - q5.stdP));
    edSfcDifT->setText(formatNumber("%1.1f", q5.sfcT - q5.stdT));
    edSfcDifU->setText(formatNumber("%1.1f", q5.sfcU - q5.stdU));
    showSurfacePressure();
}

// Without a pressure sensor the radiosonde measured no surface pressure:
// its box and the difference stay blank (and disabled), not a number from
// elsewhere.
void TMainFrm::showSurfacePressure()
{
    // The box, not q5: before the first configuration both say "installed"
    // only there.
    const bool sensor = cbxRSPrInst->isChecked();
    edSfcRSP->setEnabled(sensor);
    edSfcDifP->setEnabled(sensor);
    if (!sensor) {
        edSfcRSP->clear();
        edSfcDifP->clear();
    } else if (edSfcRSP->text().isEmpty() && !edSfcStdP->text().isEmpty()) {
        const double p = q5.sfcP - q5.sfcCorrP;
        edSfcRSP->setText(formatNumber("%1.2f", p));
        edSfcDifP->setText(formatNumber("%1.2f", p - q5.stdP));
    }
}

// Column 0 pressure, 1 temperature, 2 humidity: the radiosonde value with
// the correction in force, and its difference from the standard.
void TMainFrm::refreshSurfaceColumn(int column)
{
    struct Column {
        double sfc, std, corr;
        QLineEdit *rs, *dif;
        const char* format;
    };
    const Column c[] = {
        {q5.sfcP, q5.stdP, q5.sfcCorrP, edSfcRSP, edSfcDifP, "%1.2f"},
        {q5.sfcT, q5.stdT, q5.sfcCorrT, edSfcRST, edSfcDifT, "%1.1f"},
        {q5.sfcU, q5.stdU, q5.sfcCorrU, edSfcRSU, edSfcDifU, "%1.1f"},
    };
    const Column& col = c[column];
    col.rs->setText(formatNumber(col.format, col.sfc - col.corr));
    col.dif->setText(formatNumber(col.format, col.sfc - col.std - col.corr));
    if (column == 0)
        showSurfacePressure();
}

void TMainFrm::cbxApplySfcCorrClick()
{
    const bool apply = cbxApplySfcCorr->isChecked();
    rbSfcUseStd->setEnabled(!apply);
    rbSfcUseRS->setEnabled(!apply);
    applySurfaceCorrection(q5, apply);
    for (int column = 0; column < 3; ++column)
        refreshSurfaceColumn(column);
    enableReCalc();
}

namespace {

// A standard box that holds no number keeps its text and stores nothing;
// nor does one whose text the user left as shown. `changed`: the stored
// value is another one now.
bool readStandard(QLineEdit* box, double& member, const char* format, bool& changed)
{
    changed = false;
    double value = 0;
    if (!userChanged(box, formatNumber(format, member)) || !parseNumber(box->text(), value))
        return false;
    changed = value != member;
    member = value;
    showNumber(box, format, member);
    return true;
}

} // namespace

void TMainFrm::edSfcStdPExit() { commitStandard(edSfcStdP, q5.stdP, "%1.2f", 0); }
void TMainFrm::edSfcStdTExit() { commitStandard(edSfcStdT, q5.stdT, "%1.1f", 1); }
void TMainFrm::edSfcStdUExit() { commitStandard(edSfcStdU, q5.stdU, "%1.1f", 2); }

void TMainFrm::commitStandard(QLineEdit* box, double& member, const char* format, int column)
{
    if (!acceptEdit(box))
        return;
    bool changed = false;
    if (!readStandard(box, member, format, changed))
        return;
    refreshSurfaceColumn(column);
    // The standard values take part in the run (surface reference and the
    // questions): totals from the old value are stale.
    if (changed)
        enableReCalc();
}

void TMainFrm::rbSfcUseStdClick()
{
    q5.sfcUseStd = 1;
    enableReCalc();
}

void TMainFrm::rbSfcUseRSClick()
{
    q5.sfcUseStd = 0;
    enableReCalc();
}

} // namespace lumo
