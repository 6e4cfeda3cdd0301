// The preferences file: applied at start-up, written by Save Prefs.
#include "mainfrm.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>

#include "flight/userdialogs.h"
#include "labelededit.h"
#include "numtext.h"
#include "plots/mybutton.h"
#include "processing/preferences.h"

namespace lumo {

// The preferences are read and written by the core (the command-line tool
// reads them the same way); here they are shown on the pages and taken back
// from them.
void TMainFrm::loadPreferences()
{
    const Preferences prefs = readPreferences(prefsFileName.toStdString());

    if (prefs.lDetGps)
        rbLaunchDetGPS->setChecked(true);
    else
        rbLaunchDetPTU->setChecked(true);
    edlDetVal->setText(formatNumber("%1.2f", prefs.lDetVal));

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

    cbxShowAll->setChecked(prefs.showAll);

    edLPFilter->setText(formatNumber("%1.1f", prefs.lpFilter));

    if (prefs.resTable) {
        rbTable->setChecked(true); // unchecks the mixing-ratio button
        edResO3TableFile->setEnabled(true);
    } else {
        rbCMR->setChecked(true);
        rbTable->setChecked(false);
        edResO3TableFile->setEnabled(false);
    }
    edResO3TableFile->setText(QString::fromStdString(prefs.resTableFile));
    // After the boxes, whose handlers store what they show in passing.
    applyPreferences(q5, prefs);
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

    if (writePreferences(prefsFileName.toStdString(), preferencesFromPages()))
        dialogs_.showStatus("Status", "Preferences have been saved.");
    else
        dialogs_.showError("Error", "Unable to save preferences file.");
}

Preferences TMainFrm::preferencesFromPages() const
{
    auto number = [](const QLineEdit* box) {
        double v = 0;
        parseSingle(box->text(), v);
        return v;
    };
    Preferences prefs;
    prefs.lDetGps = !rbLaunchDetPTU->isChecked();
    prefs.lDetVal = number(edlDetVal);
    prefs.endFltPrOn = cbxEndFltPr->isChecked();
    prefs.endFltAltOn = cbxEndFltAlt->isChecked();
    prefs.endFltPr = number(edEndFltPr);
    prefs.endFltAlt = number(edEndFltAlt);
    prefs.showAll = cbxShowAll->isChecked();
    prefs.lpFilter = number(edLPFilter);
    prefs.resTable = !rbCMR->isChecked();
    prefs.resTableFile = edResO3TableFile->text().toStdString();
    return prefs;
}

} // namespace lumo
