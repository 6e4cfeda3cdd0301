// Ozonesonde(s) page: serial number, cell background and pump flow rate of
// the ozonesonde the selector names, and the correction tables' files with
// their Load and Save buttons.
#include "mainfrm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <tuple>

#include "flight/filepath.h"
#include "flight/textfield.h"
#include "flight/userdialogs.h"
#include "numtext.h"
#include "pagelayout.h"

namespace lumo {

namespace {

QPushButton* smallButton(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setToolTip(hint);
    b->setEnabled(false);
    b->setFixedWidth(56);
    return b;
}

} // namespace

QWidget* TMainFrm::buildOzonesondePage()
{
    auto* page = new QWidget;
    auto* grid = pageGrid(page);

    auto* numberLabel = new QLabel(QStringLiteral("Ozonesonde Number"), page);
    numberLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SondeSelector::Look look;
    look.numberTip = QStringLiteral("Ozonesonde position in the chain");
    look.buttonsTakeFocus = true;
    o3Selector = new SondeSelector(page, look, MaxSondes);
    btnO3Prev = o3Selector->prev;
    iEditO3Numb = o3Selector->number;
    btnO3Next = o3Selector->next;
    grid->addWidget(numberLabel, 0, 0);
    grid->addLayout(selectorRow(o3Selector), 0, 1, 1, 2);

    edO3sn = new LabeledEdit(QStringLiteral("Serial Number "), QStringLiteral("Ozonesonde serial number"), page);
    edO3CellBkg = new LabeledEdit(QStringLiteral("Cell Background "), QStringLiteral("Ozonesonde cell background current without ozone"),
        page, QStringLiteral("uA"));
    edO3PumpFlow = new LabeledEdit(QStringLiteral("Pump Flowrate "), QStringLiteral("Ozonesonde pump flowrate"), page,
        QStringLiteral("sec / 100ml"));
    edO3sn->setMaximumWidth(NumberWidth + 40);
    edO3CellBkg->setMaximumWidth(NumberWidth);
    edO3PumpFlow->setMaximumWidth(NumberWidth);
    addLabeledRow(grid, 1, edO3sn);
    addLabeledRow(grid, 2, edO3CellBkg);
    addLabeledRow(grid, 3, edO3PumpFlow);

    edO3EffFile = new LabeledEdit(QStringLiteral("Pump Efficiency "), QStringLiteral("Ozonesonde pump efficiency correction filename"), page);
    btnO3EffLoad = smallButton(QStringLiteral("Load"), QStringLiteral("Load pump efficiency data from a file"), page);
    btnO3EffSave = smallButton(QStringLiteral("Save"), QStringLiteral("Save pump efficiency data to a file"), page);
    edO3BkgFile = new LabeledEdit(QStringLiteral("Cell Bkg Ajdust "), QStringLiteral("Ozoneosnde cell background adjust filename"), page);
    btnO3BkgLoad = smallButton(QStringLiteral("Load"), QStringLiteral("Load cell background correction from a file"), page);
    btnO3BkgSave = smallButton(QStringLiteral("Save"), QStringLiteral("Save cell background correction to a file"), page);
    int row = 4;
    for (auto [edit, load, save] : {std::tuple{edO3EffFile, btnO3EffLoad, btnO3EffSave}, std::tuple{edO3BkgFile, btnO3BkgLoad, btnO3BkgSave}}) {
        addLabeledRow(grid, row, edit);
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(4);
        buttons->addWidget(load);
        buttons->addWidget(save);
        grid->addLayout(buttons, row, 2);
        ++row;
    }
    lblO3Inputs = new QLabel(page);
    lblO3Inputs->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // never widens the page
    lblO3Inputs->setToolTip(QStringLiteral("The standard method's inputs from the configuration (read-only)"));
    grid->addWidget(lblO3Inputs, row++, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    connect(o3Selector, &SondeSelector::stepped, this, &TMainFrm::showO3Slot);
    connect(edO3CellBkg, &ExitEdit::exited, this, &TMainFrm::edO3CellBkgExit);
    connect(edO3PumpFlow, &ExitEdit::exited, this, &TMainFrm::edO3PumpFlowExit);
    connect(btnO3EffLoad, &QPushButton::clicked, this, &TMainFrm::btnO3EffLoadClick);
    connect(btnO3EffSave, &QPushButton::clicked, this, &TMainFrm::btnO3EffSaveClick);
    connect(btnO3BkgLoad, &QPushButton::clicked, this, &TMainFrm::btnO3BkgLoadClick);
    connect(btnO3BkgSave, &QPushButton::clicked, this, &TMainFrm::btnO3BkgSaveClick);
    return page;
}

void TMainFrm::clearOzonesondePage()
{
    edO3EffFile->clear();
    edO3BkgFile->clear();
    o3Selector->reset();
    edO3sn->clear();
    edO3CellBkg->clear();
    edO3PumpFlow->clear();
    showO3SondeInputs(-1);
}

void TMainFrm::fillOzonesondePage()
{
    const O3SondeCfg& first = q5.o3Sonde[0];
    edO3EffFile->setText(QString::fromLocal8Bit(fileNamePart(q5.effFile)));
    edO3BkgFile->setText(QString::fromLocal8Bit(fileNamePart(q5.bkgFile)));
    edO3sn->setText(QString::fromLatin1(first.sn));
    showNumber(edO3CellBkg, "%1.2f", first.bkg);
    btnO3BkgLoad->setEnabled(true);
    btnO3BkgSave->setEnabled(true);
    showNumber(edO3PumpFlow, "%1.2f", first.flow);
    btnO3EffLoad->setEnabled(true);
    btnO3EffSave->setEnabled(true);
    o3Selector->reset();
    showO3SondeInputs(0);
}

void TMainFrm::showO3Slot(int n)
{
    const O3SondeCfg& sonde = q5.o3Sonde[n - 1];
    edO3sn->setText(QString::fromLatin1(sonde.sn));
    showO3SondeInputs(n - 1);
    if (sonde.sn[0] == '\0') {
        edO3CellBkg->clear();
        edO3PumpFlow->clear();
    } else {
        showNumber(edO3CellBkg, "%1.2f", sonde.bkg);
        showNumber(edO3PumpFlow, "%1.2f", sonde.flow);
    }
}

// The two ozonesonde boxes write to the slot the number box names when the
// focus leaves them, in use or not.
void TMainFrm::edO3CellBkgExit()
{
    const int n = o3Selector->current();
    if (n >= 1 && n <= MaxSondes && acceptEdit(edO3CellBkg))
        commitNumber(edO3CellBkg, q5.o3Sonde[n - 1].bkg, "%1.2f");
}

void TMainFrm::edO3PumpFlowExit()
{
    const int n = o3Selector->current();
    if (n >= 1 && n <= MaxSondes && acceptEdit(edO3PumpFlow))
        commitNumber(edO3PumpFlow, q5.o3Sonde[n - 1].flow, "%1.2f");
}

void TMainFrm::btnO3EffLoadClick() { loadTable(TableKind::PumpEfficiency); }
void TMainFrm::btnO3BkgLoadClick() { loadTable(TableKind::CellBackground); }
void TMainFrm::btnO3EffSaveClick() { saveTable(TableKind::PumpEfficiency); }
void TMainFrm::btnO3BkgSaveClick() { saveTable(TableKind::CellBackground); }

void TMainFrm::loadTable(TableKind kind)
{
    const bool eff = kind == TableKind::PumpEfficiency;
    LabeledEdit* box = eff ? edO3EffFile : edO3BkgFile;
    FileDialogRequest request;
    request.filter = eff ? "Pump efficiency files (*.eff)|*.eff|All files (*.*)|*.*"
                         : "Cell background correction files (*.bkg)|*.bkg|All files (*.*)|*.*";
    request.title = eff ? "Pump Efficiency" : "Cell Background";
    request.fileName = box->text().toStdString();
    const auto path = dialogs_.openFile(request);
    if (!path)
        return;

    const TableFileResult result = eff ? readCorrectionTable(*path, q5.effP, q5.effVal, q5.effCount)
                                       : readCorrectionTable(*path, q5.bkgP, q5.bkgVal, q5.bkgCount);
    if (result.status == TableFileResult::CannotOpen) {
        dialogs_.showError("Error", tableFileMessage(kind, result, *path));
        return;
    }
    box->setText(QString::fromStdString(*path));
    if (eff)
        copyText(q5.effFile, *path);
    else
        copyText(q5.bkgFile, *path);
    if (!result.ok())
        dialogs_.showError("Error", tableFileMessage(kind, result, *path));
    enableReCalc();
}

void TMainFrm::saveTable(TableKind kind)
{
    if (!commitEdits())
        return;
    const bool eff = kind == TableKind::PumpEfficiency;
    FileDialogRequest request;
    request.filter = eff ? "Pump efficiency files (*.eff)|*.eff|All files (*.*)|*.*"
                         : "Cell background correction files (*.bkg)|*.bkg|All files (*.*)|*.*";
    request.defaultExt = eff ? "eff" : "bkg";
    request.fileName = (eff ? edO3EffFile : edO3BkgFile)->text().toStdString();
    const auto path = dialogs_.saveFile(request);
    if (!path)
        return;
    const TableFileResult result = eff ? writeCorrectionTable(*path, q5.effP, q5.effVal, q5.effCount)
                                       : writeCorrectionTable(*path, q5.bkgP, q5.bkgVal, q5.bkgCount);
    if (!result.ok())
        dialogs_.showError("Error", tableFileMessage(kind, result, *path));
}

} // namespace lumo
