// Total Ozone page: column totals per ozonesonde slot and the choice of the
// residual-ozone method.
#include "mainfrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "flight/userdialogs.h"
#include "flight/q5.h"
#include "numtext.h"
#include "processing/columnwarnings.h"
#include "pagelayout.h"

namespace lumo {

QWidget* TMainFrm::buildTotalO3Page()
{
    auto* page = new QWidget;
    auto* grid = pageGrid(page);

    auto* numberLabel = new QLabel(QStringLiteral("Ozonesonde Number"), page);
    numberLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totalO3Selector = new SondeSelector(page, SondeSelector::Look{}, MaxSondes);
    btnTotalO3Prev = totalO3Selector->prev;
    iEditTotalO3Numb = totalO3Selector->number;
    btnTotalO3Next = totalO3Selector->next;
    grid->addWidget(numberLabel, 0, 0);
    QHBoxLayout* selector = selectorRow(totalO3Selector);
    lblCorrFactor = new QLabel(page);
    lblCorrFactor->setToolTip(QStringLiteral("Reference total ozone over the sonde's total (reported, not applied)"));
    selector->addWidget(lblCorrFactor);
    lblWarnings = new QLabel(page);
    lblWarnings->setTextFormat(Qt::RichText);
    lblWarnings->setToolTip(QStringLiteral("Quality warnings of the last processing run"));
    connect(lblWarnings, &QLabel::linkActivated, this, [this] { showWarnings(true); });
    selector->addSpacing(8);
    selector->addWidget(lblWarnings);
    grid->addLayout(selector, 0, 1);

    edTotalO3sn = new LabeledEdit(QStringLiteral("  Serial Number"), QStringLiteral("Ozonesonde serial number"), page);
    edTotalO3Measured = new LabeledEdit(QStringLiteral("Measured Ozone  "), QStringLiteral("Total measured ozone"), page, QStringLiteral("DU"));
    edTotalO3Residual = new LabeledEdit(QStringLiteral("Residual Ozone  "),
        QStringLiteral("Residual ozone from where the flight ended to the top of the atmosphere"), page, QStringLiteral("DU"));
    edTotalO3 = new LabeledEdit(QStringLiteral("Total Ozone  "), QStringLiteral("Total column of ozone"), page, QStringLiteral("DU"));
    int row = 1;
    for (LabeledEdit* e : {edTotalO3sn, edTotalO3Measured, edTotalO3Residual, edTotalO3}) {
        makeDisplayOnly(e);
        e->setMaximumWidth(e == edTotalO3sn ? 110 : 80);
        if (e != edTotalO3sn)
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        addLabeledRow(grid, row, e);
        // Right of the box and its unit: the uncertainty, or on the serial
        // number's row the tropopause.
        auto* line = static_cast<QHBoxLayout*>(grid->itemAtPosition(row++, 1)->layout());
        auto* extra = new QLabel(page);
        if (e == edTotalO3sn) {
            lblTropopause = extra;
            extra->setToolTip(QStringLiteral("WMO lapse-rate tropopause of the ascent"));
            line->addWidget(extra);
            continue;
        }
        extra->setToolTip(QStringLiteral("One-sigma uncertainty"));
        line->insertWidget(line->count() - 1, extra);
        (e == edTotalO3Measured ? lblTotalO3MeasuredUnc : e == edTotalO3Residual ? lblTotalO3ResidualUnc : lblTotalO3Unc) = extra;
        if (e == edTotalO3) {
            lblTotalO3Doubtful = new QLabel(page);
            line->insertWidget(line->count() - 1, lblTotalO3Doubtful);
        }
    }

    lblTotalO3Method = new QLabel(page);
    lblTotalO3Method->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // never widens the page
    grid->addWidget(lblTotalO3Method, row++, 1);

    rbCMR = new QRadioButton(QStringLiteral("Constant Mixing Ratio"), page);
    rbCMR->setChecked(true);
    rbTable = new QRadioButton(QStringLiteral("Table Look-up"), page);
    edResO3TableFile = new ExitEdit(page);
    edResO3TableFile->setToolTip(QStringLiteral("File containing data for calculating residual ozone"));
    btnBrowse = new QPushButton(QStringLiteral(".."), page);
    btnBrowse->setToolTip(QStringLiteral("Browse for table look-up file"));
    btnBrowse->setFixedWidth(24);
    auto* method = new QHBoxLayout;
    method->addWidget(rbCMR);
    method->addWidget(rbTable);
    grid->addLayout(method, row++, 0, 1, 2);
    auto* file = new QHBoxLayout;
    file->addWidget(edResO3TableFile, 1);
    file->addWidget(btnBrowse);
    grid->addLayout(file, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    connect(totalO3Selector, &SondeSelector::stepped, this, &TMainFrm::showTotalO3Slot);
    connect(edResO3TableFile, &ExitEdit::exited, this, &TMainFrm::edResO3TableFileExit);
    connect(btnBrowse, &QPushButton::clicked, this, &TMainFrm::btnBrowseClick);
    whenChecked(rbCMR, this, [this] { rbCMRClick(); });
    whenChecked(rbTable, this, [this] { rbTableClick(); });
    return page;
}

namespace {

const QColor DoubtfulColour(0xb0, 0x40, 0x00);

// "± 11.50 DU", or empty when unknown.
QString plusMinus(double du) { return du == Missing ? QString() : QStringLiteral("\u00b1 ") + formatNumber("%1.2f", du); }

} // namespace

void TMainFrm::clearTotalO3Page()
{
    totalO3Selector->reset();
    for (QLineEdit* e : {edTotalO3sn, edTotalO3Measured, edTotalO3Residual, edTotalO3})
        e->clear();
    for (QLabel* l : {lblTotalO3MeasuredUnc, lblTotalO3ResidualUnc, lblTotalO3Unc, lblCorrFactor, lblTropopause})
        l->clear();
    showTotalO3Doubt(-1);
    showO3MethodResult(-1);
}

// Slot 0..3, or -1 for none shown.
void TMainFrm::showTotalO3Doubt(int slot)
{
    const auto concerning = slot >= 0 && isLoaded() ? columnWarnings(q5, slot) : std::vector<const FlightWarning*>{};
    QPalette palette = edTotalO3->palette();
    palette.setColor(QPalette::Text, concerning.empty() ? this->palette().color(QPalette::Text) : DoubtfulColour);
    edTotalO3->setPalette(palette);
    if (concerning.empty()) {
        lblTotalO3Doubtful->clear();
        lblTotalO3Doubtful->setToolTip(QString());
    } else {
        lblTotalO3Doubtful->setText(QStringLiteral("<b><font color=\"%1\">\u26a0 doubtful</font></b>").arg(DoubtfulColour.name()));
        QString tip;
        for (const FlightWarning* w : concerning)
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(w->message);
        lblTotalO3Doubtful->setToolTip(tip);
    }
    if (!isLoaded()) {
        lblWarnings->clear();
        return;
    }
    const std::size_t n = q5.warnings.size();
    lblWarnings->setText(n == 0 ? QStringLiteral("No warnings")
                                : QStringLiteral("<a href=\"warnings\">%1 warning%2</a>").arg(n).arg(n > 1 ? "s" : ""));
}


void TMainFrm::showTropopause()
{
    const Tropopause& t = q5.tropopause;
    if (!q5.isLoaded()) {
        lblTropopause->clear();
        return;
    }
    if (!t.found()) {
        lblTropopause->setText(QStringLiteral("Tropopause: none"));
        return;
    }
    QString text = QStringLiteral("Tropopause ") + formatNumber("%1.1f", t.p) + QStringLiteral(" hPa, ")
        + formatNumber("%1.1f", t.height / 1000) + QStringLiteral(" km");
    if (!t.confirmed)
        text += QStringLiteral("?");
    lblTropopause->setText(text);
    QString tip = QStringLiteral("WMO lapse-rate tropopause of the ascent: ") + formatNumber("%1.1f", t.p)
        + QStringLiteral(" hPa, ") + formatNumber("%1.0f", t.height) + QStringLiteral(" m, ")
        + formatNumber("%1.1f", t.t) + QStringLiteral(" \u00b0C")
        + (t.confirmed ? QString() : QStringLiteral(" (not confirmed: the sounding ends less than 2 km above it)"));
    const Tropopause& t2 = q5.tropopause2;
    if (t2.found())
        tip += QStringLiteral("; second tropopause ") + formatNumber("%1.1f", t2.p) + QStringLiteral(" hPa, ")
            + formatNumber("%1.0f", t2.height) + QStringLiteral(" m, ") + formatNumber("%1.1f", t2.t)
            + QStringLiteral(" \u00b0C");
    lblTropopause->setToolTip(tip);
}

void TMainFrm::fillTotalO3Page() { edTotalO3sn->setText(QString::fromLatin1(q5.o3Sonde[0].sn)); }

void TMainFrm::fillResidualMethod(const Preferences& prefs)
{
    if (prefs.resTable) {
        rbTable->setChecked(true); // unchecks the mixing-ratio button
        edResO3TableFile->setEnabled(true);
    } else {
        rbCMR->setChecked(true);
        rbTable->setChecked(false);
        edResO3TableFile->setEnabled(false);
    }
    edResO3TableFile->setText(QString::fromStdString(prefs.resTableFile));
}

void TMainFrm::showTotalO3Slot(int n)
{
    const int i = n - 1;
    edTotalO3sn->setText(QString::fromLatin1(q5.o3Sonde[i].sn));
    if (!edTotalO3sn->text().isEmpty()) {
        // A column the run could not determine is left empty.
        const auto known = [](double du) { return du == Missing ? QString() : formatNumber("%1.2f", du); };
        edTotalO3Measured->setText(known(q5.o3Measured[i]));
        edTotalO3Residual->setText(known(q5.o3Residual[i]));
        edTotalO3->setText(known(q5.o3Total(i)));
        lblTotalO3MeasuredUnc->setText(plusMinus(q5.o3MeasuredUnc[i]));
        lblTotalO3ResidualUnc->setText(plusMinus(q5.o3ResidualUnc[i]));
        lblTotalO3Unc->setText(plusMinus(q5.o3TotalUnc[i]));
        const std::optional<double>& ref = q5.reference.totalO3;
        if (!ref)
            lblCorrFactor->clear();
        else if (q5.o3CorrFactor[i] == Missing)
            lblCorrFactor->setText(QStringLiteral("CF unknown (ref. ") + formatNumber("%1.1f", *ref) + QStringLiteral(" DU)"));
        else
            lblCorrFactor->setText(QStringLiteral("CF ") + formatNumber("%1.3f", q5.o3CorrFactor[i])
                                   + QStringLiteral(" (ref. ") + formatNumber("%1.1f", *ref) + QStringLiteral(" DU)"));
    } else {
        edTotalO3Measured->clear();
        edTotalO3Residual->clear();
        edTotalO3->clear();
        for (QLabel* l : {lblTotalO3MeasuredUnc, lblTotalO3ResidualUnc, lblTotalO3Unc, lblCorrFactor})
            l->clear();
    }
    showTotalO3Doubt(edTotalO3sn->text().isEmpty() ? -1 : i);
    showO3MethodResult(edTotalO3sn->text().isEmpty() ? -1 : i);
    showTropopause();
}

void TMainFrm::rbCMRClick()
{
    q5.resTable = 0;
    edResO3TableFile->setEnabled(false);
    enableReCalc();
}

void TMainFrm::rbTableClick()
{
    q5.resTable = 1;
    edResO3TableFile->setEnabled(true);
    q5.resTableFile = edResO3TableFile->text().toStdString();
    enableReCalc();
}

void TMainFrm::edResO3TableFileExit()
{
    const std::string file = edResO3TableFile->text().toStdString();
    // Totals looked up in another table than the one named now are stale.
    if (file != q5.resTableFile && q5.resTable)
        enableReCalc();
    q5.resTableFile = file;
}

void TMainFrm::btnBrowseClick()
{
    FileDialogRequest request;
    request.filter = "Residual ozone table data (*.toz)|*.toz|All files (*.*)|*.*";
    request.title = "Residual Ozone Table";
    request.fileName = edResO3TableFile->text().toStdString();
    if (const auto path = dialogs_.openFile(request)) {
        edResO3TableFile->setText(QString::fromStdString(*path));
        edResO3TableFileExit();
    }
}

} // namespace lumo
