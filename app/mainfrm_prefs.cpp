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

namespace lumo {

namespace {

// A preferences number: read like a typed one, at single precision, and
// only taken when it is not negative.
bool readPrefNumber(const std::string& text, double& value)
{
    double v = 0;
    if (!parseSingle(QString::fromStdString(text), v) || v < 0)
        return false;
    value = v;
    return true;
}

} // namespace

void TMainFrm::applyPreferences()
{
    const std::string file = prefsFileName.toStdString();
    auto read = [&](const char* section, const char* key, const char* def) {
        return QString::fromStdString(IniReadText(section, key, def, file));
    };

    if (read("pref", "lDet", "ptu").compare(QStringLiteral("gps"), Qt::CaseInsensitive) == 0) {
        rbLaunchDetGPS->setChecked(true);
        q5.lDetGps = 1;
    } else {
        rbLaunchDetPTU->setChecked(true);
        q5.lDetGps = 0;
    }

    double value = 0;
    q5.lDetVal = readPrefNumber(IniReadText("pref", "lDetVal", "-1.0", file), value) ? value : 2.0;
    edlDetVal->setText(formatNumber("%1.2f", q5.lDetVal));

    iEditO3Numb->setText(QStringLiteral("1"));
    iEditTotalO3Numb->setText(QStringLiteral("1"));
    btnO3Prev->setEnabled(false);
    btnTotalO3Prev->setEnabled(false);
    btnO3Next->setEnabled(true);
    btnTotalO3Next->setEnabled(true);

    const QString endFlt = read("pref", "endFlt", "");
    cbxEndFltPr->setChecked(endFlt.contains(QLatin1Char('p')));
    edEndFltPr->setEnabled(cbxEndFltPr->isChecked());
    cbxEndFltAlt->setChecked(endFlt.contains(QLatin1Char('a')));
    edEndFltAlt->setEnabled(cbxEndFltAlt->isChecked());

    edEndFltPr->setText(readPrefNumber(IniReadText("pref", "endFltPr", "0.0", file), value) ? formatNumber("%1.2f", value)
                                                                                            : QStringLiteral("0.00"));
    edEndFltAlt->setText(readPrefNumber(IniReadText("pref", "endFltAlt", "0.0", file), value) ? formatNumber("%1.1f", value)
                                                                                              : QStringLiteral("0.0"));
    q5.endFltPr = 0;
    q5.endFltAlt = 0;
    if (cbxEndFltPr->isChecked())
        parseNumber(edEndFltPr->text(), q5.endFltPr);
    if (cbxEndFltAlt->isChecked())
        parseNumber(edEndFltAlt->text(), q5.endFltAlt);

    const bool showAll = read("pref", "showAll", "yes").compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0;
    cbxShowAll->setChecked(showAll);
    q5.showAll = showAll ? 1 : 0;

    edLPFilter->setText(readPrefNumber(IniReadText("pref", "LPfilter", "0.0", file), value) ? formatNumber("%1.1f", value)
                                                                                            : QStringLiteral("0.0"));
    q5.lpFilter = 0;
    parseNumber(edLPFilter->text(), q5.lpFilter);

    if (read("o3", "residual", "cmr").compare(QStringLiteral("cmr"), Qt::CaseInsensitive) == 0) {
        rbCMR->setChecked(true);
        rbTable->setChecked(false);
        edResO3TableFile->setEnabled(false);
    } else {
        rbTable->setChecked(true); // unchecks the mixing-ratio button
        edResO3TableFile->setEnabled(true);
    }
    edResO3TableFile->setText(read("o3", "residualTable", ""));
    if (rbCMR->isChecked()) {
        q5.resTable = 0;
    } else {
        q5.resTable = 1;
        q5.resTableFile = edResO3TableFile->text().toStdString();
    }
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
