// Preferences page: end-of-flight limits, the ozone low-pass filter, "Show
// all data", launch detection and the station's archive metadata; the
// preferences file is read at start-up and written by Save Prefs.
#include "mainfrm.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cerrno>
#include <system_error>
#include <utility>

#include "flight/userdialogs.h"
#include "numtext.h"
#include "pagelayout.h"
#include "plots/sondeselector.h"

namespace lumo {

QWidget* TMainFrm::buildPrefsPage()
{
    // The archive group does not fit the page's fixed size: the page scrolls.
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QWidget;
    scroll->setWidget(page);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(4);

    gbxEndFlt = new QGroupBox(page);
    auto* endGrid = new QGridLayout(gbxEndFlt);
    endGrid->setContentsMargins(8, 4, 8, 4);
    endGrid->setVerticalSpacing(2);
    cbxEndFltPr = new QCheckBox(QStringLiteral("End flight at specified pressure"), gbxEndFlt);
    edEndFltPr = new LabeledEdit(QStringLiteral("  mbs"), QStringLiteral("Stop processing data when balloon reaches specified pressure"),
        gbxEndFlt);
    cbxEndFltAlt = new QCheckBox(QStringLiteral("End flight at specified altitude"), gbxEndFlt);
    edEndFltAlt = new LabeledEdit(QStringLiteral("  meters"), QStringLiteral("Stop processing data when balloon reaches specified altitude"),
        gbxEndFlt);
    int row = 0;
    for (auto [box, edit] : {std::pair{cbxEndFltPr, edEndFltPr}, std::pair{cbxEndFltAlt, edEndFltAlt}}) {
        edit->setEnabled(false);
        edit->setFixedWidth(NumberWidth);
        endGrid->addWidget(box, row, 0);
        endGrid->addWidget(edit, row, 1);
        endGrid->addWidget(edit->EditLabel, row, 2); // the label stands on the right
        ++row;
    }
    endGrid->setColumnStretch(3, 1);
    outer->addWidget(gbxEndFlt);

    auto* filterRow = new QHBoxLayout;
    edLPFilter = new LabeledEdit(QStringLiteral("Ozone low-pass filter "), QStringLiteral("Low-pass filter applied to ozone data"), page,
        QStringLiteral("sec"));
    edLPFilter->setFixedWidth(NumberWidth);
    cbxShowAll = new QCheckBox(QStringLiteral("Show all data"), page);
    cbxShowAll->setToolTip(QStringLiteral("Plot all data, include ascent and descent"));
    cbxShowAll->setChecked(true);
    filterRow->addSpacing(8);
    filterRow->addWidget(edLPFilter->EditLabel);
    filterRow->addWidget(edLPFilter);
    filterRow->addWidget(edLPFilter->unitLabel);
    filterRow->addStretch();
    filterRow->addWidget(cbxShowAll);
    filterRow->addSpacing(8);
    outer->addLayout(filterRow);

    gbxLaunchDet = new QGroupBox(page);
    auto* launchGrid = new QGridLayout(gbxLaunchDet);
    launchGrid->setContentsMargins(8, 4, 8, 4);
    launchGrid->setVerticalSpacing(2);
    rbLaunchDetPTU = new QRadioButton(QStringLiteral("Detect launch with PTU data"), gbxLaunchDet);
    rbLaunchDetPTU->setChecked(true);
    rbLaunchDetGPS = new QRadioButton(QStringLiteral("Detect launch with GPS data"), gbxLaunchDet);
    edlDetVal = new ExitEdit(gbxLaunchDet);
    edlDetVal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edlDetVal->setToolTip(QStringLiteral("ascent rate detection"));
    edlDetVal->setFixedWidth(NumberWidth - 20);
    launchGrid->addWidget(rbLaunchDetPTU, 0, 0);
    launchGrid->addWidget(rbLaunchDetGPS, 1, 0);
    launchGrid->addWidget(new QLabel(QStringLiteral("Ascent rate for launch detect"), gbxLaunchDet), 0, 1, 1, 2);
    launchGrid->addWidget(edlDetVal, 1, 1);
    launchGrid->addWidget(new QLabel(QStringLiteral("m/sec"), gbxLaunchDet), 1, 2);
    launchGrid->setColumnStretch(0, 1);
    outer->addWidget(gbxLaunchDet);
    outer->addWidget(buildO3MethodGroup(page));

    gbxArchive = new QGroupBox(QStringLiteral("Archive files (WOUDC, NDACC, netCDF)"), page);
    auto* archiveGrid = new QGridLayout(gbxArchive);
    archiveGrid->setContentsMargins(8, 4, 8, 4);
    archiveGrid->setVerticalSpacing(2);
    int field = 0;
    for (const ArchiveField& f : ArchiveFields) {
        auto* edit = new QLineEdit(gbxArchive);
        edit->setObjectName(QString::fromLatin1(f.key));
        edit->setToolTip(QStringLiteral("[archive] %1 in the preferences file").arg(QString::fromLatin1(f.key)));
        archiveGrid->addWidget(new QLabel(QString::fromLatin1(f.caption), gbxArchive), field, 0);
        archiveGrid->addWidget(edit, field, 1);
        edArchive.push_back(edit);
        ++field;
    }
    outer->addWidget(gbxArchive);
    outer->addStretch();

    connect(edEndFltPr, &ExitEdit::exited, this, &TMainFrm::edEndFltPrExit);
    connect(edEndFltAlt, &ExitEdit::exited, this, &TMainFrm::edEndFltAltExit);
    connect(edLPFilter, &ExitEdit::exited, this, &TMainFrm::edLPFilterExit);
    connect(edlDetVal, &ExitEdit::exited, this, &TMainFrm::edlDetValExit);
    connect(cbxEndFltPr, &QCheckBox::toggled, this, &TMainFrm::cbxEndFltPrClick);
    connect(cbxEndFltAlt, &QCheckBox::toggled, this, &TMainFrm::cbxEndFltAltClick);
    connect(cbxShowAll, &QCheckBox::toggled, this, &TMainFrm::cbxShowAllClick);
    whenChecked(rbLaunchDetPTU, this, [this] { rbLaunchDetPTUClick(); });
    whenChecked(rbLaunchDetGPS, this, [this] { rbLaunchDetGPSClick(); });
    return scroll;
}

// The preferences are read and written by the core (the command-line tool
// reads them the same way); here they are shown on the pages, copied into
// Q5, and taken back from the pages.
void TMainFrm::loadPreferences()
{
    Preferences prefs = readPreferences(prefsFileName.toStdString());
    // Defaults in force for want of a file are worth a word, as in lumo-batch.
    checkPreferencesFile(prefs, QDir::toNativeSeparators(prefsFileName).toStdString());
    fillPrefsPage(prefs);
    o3Selector->reset();
    totalO3Selector->reset();
    fillResidualMethod(prefs);
    // After the boxes, whose handlers store what they show in passing.
    applyPreferences(q5, prefs);
}

void TMainFrm::fillPrefsPage(const Preferences& prefs)
{
    if (prefs.lDetGps)
        rbLaunchDetGPS->setChecked(true);
    else
        rbLaunchDetPTU->setChecked(true);
    showNumber(edlDetVal, "%1.2f", prefs.lDetVal);

    cbxEndFltPr->setChecked(prefs.endFltPrOn);
    edEndFltPr->setEnabled(cbxEndFltPr->isChecked());
    cbxEndFltAlt->setChecked(prefs.endFltAltOn);
    edEndFltAlt->setEnabled(cbxEndFltAlt->isChecked());
    edEndFltPr->setText(formatNumber("%1.2f", prefs.endFltPr));
    edEndFltAlt->setText(formatNumber("%1.1f", prefs.endFltAlt));

    cbxShowAll->setChecked(prefs.showAll);
    edLPFilter->setText(formatNumber("%1.1f", prefs.lpFilter));
    for (std::size_t i = 0; i < edArchive.size(); ++i)
        edArchive[i]->setText(QString::fromStdString(prefs.archive.*ArchiveFields[i].member));
    fillO3MethodGroup(prefs.o3Method);
}

// Launch detection follows the installed sensors the import rules settled.
void TMainFrm::fillPrefsPageFromConfig()
{
    if (q5.rsPrInst) {
        rbLaunchDetPTU->setEnabled(true);
        rbLaunchDetPTU->setChecked(true);
    } else {
        rbLaunchDetPTU->setEnabled(false);
        rbLaunchDetGPS->setChecked(true);
    }
    rbLaunchDetGPS->setEnabled(q5.rsGpsInst);
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
    for (std::size_t i = 0; i < edArchive.size(); ++i)
        prefs.archive.*ArchiveFields[i].member = edArchive[i]->text().toStdString();
    prefs.o3Method = o3MethodFromPage();
    if (prefs.archive.platformType.empty())
        prefs.archive.platformType = ArchiveStation{}.platformType;
    return prefs;
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

    // The boxes that the save commits afterwards must hold valid numbers too.
    if (!checkEdits())
        return;

    // The file gets the texts as typed; then the boxes are committed as
    // leaving them would, so that the flight's settings match what was saved.
    errno = 0;
    const Preferences saved = preferencesFromPages();
    const bool written = writePreferences(prefsFileName.toStdString(), saved)
        && writeO3MethodPrefs(prefsFileName.toStdString(), saved.o3Method);
    const int error = errno;
    commitEdits();
    const std::string path = QDir::toNativeSeparators(prefsFileName).toStdString();
    if (written) {
        dialogs_.showStatus("Status", "Preferences have been saved.");
        showTransient(QStringLiteral("Preferences saved to %1").arg(QDir::toNativeSeparators(prefsFileName)));
    } else
        dialogs_.showError("Error", "Unable to save preferences file.\n\n" + path + ": " + writeFailureReason(prefsFileName, error));
}

// Why a file could not be written, in the system's words where it gave any.
std::string TMainFrm::writeFailureReason(const QString& path, int error)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists())
        return "the folder " + QDir::toNativeSeparators(folder.absoluteFilePath()).toStdString() + " does not exist";
    if (!folder.isWritable() || (file.exists() && !file.isWritable()))
        return std::generic_category().message(EACCES);
    if (error != 0)
        return std::generic_category().message(error);
    return "the file could not be written";
}

void TMainFrm::edEndFltPrExit()
{
    if (acceptEdit(edEndFltPr))
        commitNumber(edEndFltPr, q5.endFltPr, "%1.2f");
}

void TMainFrm::edEndFltAltExit()
{
    if (acceptEdit(edEndFltAlt))
        commitNumber(edEndFltAlt, q5.endFltAlt, "%1.1f");
}

void TMainFrm::edLPFilterExit()
{
    if (acceptEdit(edLPFilter))
        commitNumber(edLPFilter, q5.lpFilter, "%1.1f");
}

void TMainFrm::edlDetValExit()
{
    if (acceptEdit(edlDetVal))
        commitNumber(edlDetVal, q5.lDetVal, "%1.2f");
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

void TMainFrm::cbxEndFltPrClick() { endFlightBoxClick(cbxEndFltPr, edEndFltPr, q5.endFltPr, "0.00"); }
void TMainFrm::cbxEndFltAltClick() { endFlightBoxClick(cbxEndFltAlt, edEndFltAlt, q5.endFltAlt, "0.0"); }

// Checked: the limit as typed is taken. Unchecked: the limit goes to 0 (no
// limit), which asks for a re-calculation when one was in force.
void TMainFrm::endFlightBoxClick(const QCheckBox* box, QLineEdit* edit, double& limit, const char* zeroText)
{
    if (box->isChecked()) {
        edit->setEnabled(true);
        double value = 0;
        if (parseNumber(edit->text(), value))
            limit = value;
        return;
    }
    if (limit != 0)
        enableReCalc();
    edit->setEnabled(false);
    edit->setText(QString::fromLatin1(zeroText));
    limit = 0;
}

void TMainFrm::cbxShowAllClick()
{
    q5.showAll = cbxShowAll->isChecked() ? 1 : 0;
    applyShowAllToPlots();
}

} // namespace lumo
