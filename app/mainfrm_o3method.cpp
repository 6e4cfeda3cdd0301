// The processing method on the desktop: its settings on the Preferences page
// (section [o3] of the preferences file), what it did to each sonde beside
// the totals, and the sonde inputs it reads from the configuration.
#include "mainfrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <utility>

#include "flight/ini.h"
#include "flight/sondeinputs.h"
#include "numtext.h"
#include "processing/o3methodprefs.h"

namespace lumo {

namespace {

// Each choice with its text in the preferences file as item data.
template <typename T>
QComboBox* choiceBox(QWidget* parent, std::initializer_list<std::pair<const char*, T>> items, const QString& tip)
{
    auto* box = new QComboBox(parent);
    for (const auto& [caption, value] : items)
        box->addItem(QString::fromUtf8(caption), int(value));
    box->setToolTip(tip);
    return box;
}

template <typename T>
void selectChoice(QComboBox* box, T value) { box->setCurrentIndex(std::max(0, box->findData(int(value)))); }

template <typename T>
T choiceOf(const QComboBox* box) { return T(box->currentData().toInt()); }

QString optionalNumber(const std::optional<double>& v, const char* format, const QString& unit = QString())
{
    return v ? formatNumber(format, *v) + unit : QStringLiteral("unknown");
}

const char* familyText(SondeFamily f)
{
    switch (f) {
    case SondeFamily::SixA: return "6A family";
    case SondeFamily::Z: return "Z family";
    case SondeFamily::Unknown: break;
    }
    return "unknown";
}

} // namespace

QGroupBox* TMainFrm::buildO3MethodGroup(QWidget* page)
{
    gbxO3Method = new QGroupBox(QStringLiteral("Ozone processing method"), page);
    auto* grid = new QGridLayout(gbxO3Method);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    cbO3Method = choiceBox<O3Method>(gbxO3Method, {{"classic", O3Method::Classic}, {"standard", O3Method::Standard}},
        QStringLiteral("[o3] method: the classic equation or the field's current standard"));
    cbxResponseCorr = new QCheckBox(QStringLiteral("Response correction"), gbxO3Method);
    cbxResponseCorr->setToolTip(QStringLiteral("[o3] responseCorrection: correct the cell's slow time response (standard method)"));
    cbxPumpHeat = new QCheckBox(QStringLiteral("Pump-heat offset"), gbxO3Method);
    cbxPumpHeat->setToolTip(QStringLiteral("[o3] pumpHeatOffset: add the pump's own heat (3.9 - 0.8 log10 p K) to the "
                                           "measured pump temperature; leave it out only to reproduce older processing"));
    cbPumpTable = choiceBox<PumpTable>(gbxO3Method,
        {{"auto (by sonde type)", PumpTable::Auto}, {"Komhyr 1986", PumpTable::Komhyr1986},
         {"Komhyr 1995", PumpTable::Komhyr1995}, {"NOAA", PumpTable::Noaa}, {"JMA", PumpTable::Jma},
         {"configuration's table", PumpTable::File}},
        QStringLiteral("[o3] pumpTable: the pump-efficiency table of the standard method"));
    cbBackground = choiceBox<BackgroundChoice>(gbxO3Method,
        {{"auto", BackgroundChoice::Auto}, {"Ib0", BackgroundChoice::Ib0}, {"Ib1", BackgroundChoice::Ib1},
         {"Ib2", BackgroundChoice::Ib2}, {"configuration's background", BackgroundChoice::Bkg}},
        QStringLiteral("[o3] background: the constant background current subtracted"));
    cbTransferTo = choiceBox<TransferTo>(gbxO3Method,
        {{"none", TransferTo::None}, {"Z, 0.5 % half buffer", TransferTo::Z05}, {"6A, 1.0 % full buffer", TransferTo::SixA10}},
        QStringLiteral("[o3] transferTo: the sonde and solution the profile is homogenised to"));
    // One choice a row, so the group is no wider than the page.
    int row = 0;
    for (auto [caption, box] : {std::pair{"Method", cbO3Method}, std::pair{"", static_cast<QComboBox*>(nullptr)},
                                std::pair{"Pump table", cbPumpTable}, std::pair{"Background", cbBackground},
                                std::pair{"Transfer to", cbTransferTo}}) {
        if (!box) {
            grid->addWidget(cbxResponseCorr, row++, 1);
            continue;
        }
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(16);
        grid->addWidget(new QLabel(QString::fromLatin1(caption), gbxO3Method), row, 0);
        grid->addWidget(box, row++, 1);
    }
    grid->addWidget(cbxPumpHeat, row++, 1);
    grid->setColumnStretch(2, 1);

    for (QComboBox* box : {cbO3Method, cbPumpTable, cbBackground, cbTransferTo})
        connect(box, &QComboBox::activated, this, [this] { o3MethodChanged(); });
    for (QCheckBox* box : {cbxResponseCorr, cbxPumpHeat})
        connect(box, &QCheckBox::clicked, this, [this] { o3MethodChanged(); });
    return gbxO3Method;
}

void TMainFrm::fillO3MethodGroup(const O3MethodSettings& s)
{
    selectChoice(cbO3Method, s.method);
    cbxResponseCorr->setChecked(s.responseCorrection);
    selectChoice(cbPumpTable, s.pumpTable);
    selectChoice(cbBackground, s.background);
    selectChoice(cbTransferTo, s.transferTo);
    cbxPumpHeat->setChecked(s.pumpHeatOffset);
    enableO3MethodChoices();
}

// The choices beside the method are the standard method's own.
void TMainFrm::enableO3MethodChoices()
{
    const bool standard = choiceOf<O3Method>(cbO3Method) == O3Method::Standard;
    for (QWidget* w : std::initializer_list<QWidget*>{cbxResponseCorr, cbPumpTable, cbBackground, cbTransferTo, cbxPumpHeat})
        w->setEnabled(standard);
}

// The time constants have no box; they keep what the file said.
O3MethodSettings TMainFrm::o3MethodFromPage() const
{
    O3MethodSettings s = q5.o3Method;
    s.method = choiceOf<O3Method>(cbO3Method);
    s.responseCorrection = cbxResponseCorr->isChecked();
    s.pumpTable = choiceOf<PumpTable>(cbPumpTable);
    s.background = choiceOf<BackgroundChoice>(cbBackground);
    s.transferTo = choiceOf<TransferTo>(cbTransferTo);
    s.pumpHeatOffset = cbxPumpHeat->isChecked();
    return s;
}

void TMainFrm::o3MethodChanged()
{
    enableO3MethodChoices();
    const O3MethodSettings s = o3MethodFromPage();
    const bool changed = s != q5.o3Method;
    q5.o3Method = s;
    if (changed)
        enableReCalc();
}

bool TMainFrm::writeO3MethodPrefs(const std::string& file, const O3MethodSettings& s)
{
    return IniWriteText("o3", "method", methodName(s.method), file)
        && IniWriteText("o3", "responseCorrection", s.responseCorrection ? "yes" : "no", file)
        && IniWriteText("o3", "pumpTable", pumpTableName(s.pumpTable), file)
        && IniWriteText("o3", "background", backgroundName(s.background), file)
        && IniWriteText("o3", "transferTo", transferName(s.transferTo), file)
        && IniWriteText("o3", "pumpHeatOffset", s.pumpHeatOffset ? "yes" : "no", file);
}

// "Method: standard, response corrected; skipped: transfer", with each
// skipped step's reason as the tool tip; empty for a slot not run.
void TMainFrm::showO3MethodResult(int slot)
{
    if (slot < 0 || !isLoaded()) {
        lblTotalO3Method->clear();
        lblTotalO3Method->setToolTip(QString());
        return;
    }
    const O3MethodResult& r = q5.o3MethodResult[slot];
    QString text = QStringLiteral("Method: ") + QString::fromLatin1(methodName(r.method));
    if (r.responseCorrected)
        text += QStringLiteral(", response corrected");
    QString tip;
    if (!r.stepsApplied.empty()) {
        tip = QStringLiteral("Steps applied:");
        for (const std::string& s : r.stepsApplied)
            tip += QStringLiteral(" ") + QString::fromStdString(s);
    }
    if (!r.stepsSkipped.empty()) {
        text += QStringLiteral("; skipped:");
        for (const SkippedStep& s : r.stepsSkipped) {
            text += QStringLiteral(" ") + QString::fromStdString(s.name);
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(s.name)
                + QStringLiteral(": ") + QString::fromStdString(s.warning);
        }
    }
    if (r.method == O3Method::Standard && r.classicMeasured != Missing)
        text += QStringLiteral(" (classic measured ") + formatNumber("%1.2f", r.classicMeasured) + QStringLiteral(" DU)");
    lblTotalO3Method->setText(text);
    lblTotalO3Method->setToolTip(tip);
}

// The standard method's inputs of the sonde in the slot, as the
// configuration gives them; shown, not edited.
void TMainFrm::showO3SondeInputs(int slot)
{
    if (slot < 0 || q5.o3Sonde[slot].sn[0] == '\0') {
        lblO3Inputs->clear();
        return;
    }
    const O3SondeCfg& c = q5.o3Sonde[slot];
    lblO3Inputs->setText(QStringLiteral("KI ") + optionalNumber(c.kiPct, "%1.2f", QStringLiteral(" %"))
        + QStringLiteral(", buffer ") + optionalNumber(c.bufferFraction, "%1.2f") + QStringLiteral("\nthermistor ")
        + QString::fromLatin1(thermistorName(c.thermistor)) + QStringLiteral(", sonde ")
        + (c.model.empty() ? QString() : QString::fromStdString(c.model) + QStringLiteral(" "))
        + QStringLiteral("(") + QString::fromLatin1(familyText(c.family)) + QStringLiteral(")"));
}

} // namespace lumo
