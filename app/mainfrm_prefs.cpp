// The preferences file: applied at start-up, written by Save Prefs.
#include "mainfrm.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>

#include "appdialogs.h"
#include "flight/ini.h"
#include "labelededit.h"
#include "numtext.h"
#include "plots/mybutton.h"
#include "processing/importsettings.h"

namespace lumo {

// The preferences are read by the core (the command-line tool reads them the
// same way); here they are shown on the pages and copied into Q5.
void TMainFrm::applyPreferences()
{
    const Preferences prefs = readPreferences(prefsFileName.toStdString());

    if (prefs.lDetGps)
        rbLaunchDetGPS->setChecked(true);
    else
        rbLaunchDetPTU->setChecked(true);
    q5.lDetGps = prefs.lDetGps ? 1 : 0;
    q5.lDetVal = prefs.lDetVal;
    edlDetVal->setText(formatNumber("%1.2f", q5.lDetVal));

    iEditO3Numb->setText(QStringLiteral("1"));
    iEditTotalO3Numb->setText(QStringLiteral("1"));
    btnO3Prev->setEnabled(false);
    btnTotalO3Prev->setEnabled(false);
    btnO3Next->setEnabled(true);
    btnTotalO3Next->setEnabled(true);

    cbxEndFltPr->setChecked(prefs.endFltPrOn);
    edEndFltPr->setEnabled(cbxEndFltPr->isChecked());
    cbxEndFltAlt->setChecked(prefs.endFltAltOn);
    edEndFltAlt->setEnabled(cbxEndFltAlt->isChecked());
    edEndFltPr->setText(formatNumber("%1.2f", prefs.endFltPr));
    edEndFltAlt->setText(formatNumber("%1.1f", prefs.endFltAlt));
    q5.endFltPr = prefs.endFltPrOn ? prefs.endFltPr : 0;
    q5.endFltAlt = prefs.endFltAltOn ? prefs.endFltAlt : 0;

    cbxShowAll->setChecked(prefs.showAll);
    q5.showAll = prefs.showAll ? 1 : 0;

    edLPFilter->setText(formatNumber("%1.1f", prefs.lpFilter));
    q5.lpFilter = prefs.lpFilter;

    if (prefs.resTable) {
        rbTable->setChecked(true); // unchecks the mixing-ratio button
        edResO3TableFile->setEnabled(true);
    } else {
        rbCMR->setChecked(true);
        rbTable->setChecked(false);
        edResO3TableFile->setEnabled(false);
    }
    edResO3TableFile->setText(QString::fromStdString(prefs.resTableFile));
    q5.resTable = prefs.resTable ? 1 : 0;
    if (prefs.resTable)
        q5.resTableFile = prefs.resTableFile;
}

void TMainFrm::mSavePrefsClick()
{
    auto fail = [this](QLineEdit* box, const char* message) {
        dialogs_.showError("Error", message);
        pageControl->setCurrentWidget(tabPrefs);
        box->setFocus(Qt::OtherFocusReason);
    };
    double value = 0;
    auto valid = [&value](const QLineEdit* box) { return parseSingle(box->text(), value) && value >= 0; };

    if (!valid(edEndFltPr)) {
        if (edEndFltPr->isEnabled())
            return fail(edEndFltPr, "Pressure value for ending flight is not valid.");
        edEndFltPr->setText(QStringLiteral("0.0"));
    }
    if (!valid(edEndFltAlt)) {
        if (edEndFltAlt->isEnabled())
            return fail(edEndFltAlt, "Altitude value for ending flight is not valid.");
        edEndFltAlt->setText(QStringLiteral("0"));
    }
    if (!valid(edlDetVal))
        return fail(edlDetVal, "Launch detect ascent rate is not valid.");
    if (!valid(edLPFilter))
        return fail(edLPFilter,
            "Low-pass filter time constant is not valid,\nthe time constant must be a positive number (0 for no filtering).");

    if (writePreferences())
        dialogs_.showStatus("Status", "Preferences have been saved.");
    else
        dialogs_.showError("Error", "Unable to save preferences file.");
}

bool TMainFrm::writePreferences()
{
    const std::string file = prefsFileName.toStdString();
    auto number = [](const QLineEdit* box) {
        double v = 0;
        parseSingle(box->text(), v);
        return static_cast<float>(v);
    };
    std::string endFlt;
    if (cbxEndFltPr->isChecked())
        endFlt.push_back('p');
    if (cbxEndFltAlt->isChecked())
        endFlt.push_back('a');
    const std::string table = QStringLiteral("\"%1\"").arg(edResO3TableFile->text()).toStdString();
    return IniWriteText("pref", "lDet", rbLaunchDetPTU->isChecked() ? "ptu" : "gps", file)
        && IniWriteNumber("pref", "lDetVal", "%1.2f", number(edlDetVal), file)
        && IniWriteText("pref", "endFlt", endFlt, file)
        && IniWriteNumber("pref", "endFltPr", "%1.2f", number(edEndFltPr), file)
        && IniWriteNumber("pref", "endFltAlt", "%1.1f", number(edEndFltAlt), file)
        && IniWriteText("pref", "showAll", cbxShowAll->isChecked() ? "yes" : "no", file)
        && IniWriteNumber("pref", "LPfilter", "%1.1f", number(edLPFilter), file)
        && IniWriteText("o3", "residual", rbCMR->isChecked() ? "cmr" : "table", file)
        && IniWriteText("o3", "residualTable", table, file);
}

} // namespace lumo
