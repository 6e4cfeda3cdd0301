// Station, Radiosonde, Ozonesonde(s) and Preferences pages: construction.
#include "mainfrm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <tuple>
#include <utility>

#include "pagelayout.h"
#include "plots/mybutton.h"

namespace lumo {

namespace {

constexpr int NumberWidth = 80;

TmyButton* arrowButton(const QString& caption, QWidget* parent)
{
    auto* b = new TmyButton(caption, parent);
    b->setFixedSize(16, 21);
    b->setFocusRect(false);
    return b;
}

QPushButton* smallButton(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setToolTip(hint);
    b->setEnabled(false);
    b->setFixedWidth(56);
    return b;
}

} // namespace

QWidget* TMainFrm::buildStationPage()
{
    auto* page = new QWidget;
    auto* grid = pageGrid(page);
    edStation = new LabeledEdit(QStringLiteral("Station Name "), QStringLiteral("Station name where balloon was launched from"), page);
    edStnLat = new LabeledEdit(QStringLiteral("Latitude "), QStringLiteral("Station latitude in decimal degrees (North +)"), page,
        QStringLiteral("+N / -S"));
    edStnLong = new LabeledEdit(QStringLiteral("Longitude "), QStringLiteral("Station longitude in decimal degrees (East +)"), page,
        QStringLiteral("+E / -W"));
    edStnAlt = new LabeledEdit(QStringLiteral("Altitude "), QStringLiteral("Station altitude in meters"), page, QStringLiteral("meters"));
    addLabeledRow(grid, 0, edStation);
    for (LabeledEdit* e : {edStnLat, edStnLong, edStnAlt}) {
        e->setMaximumWidth(NumberWidth + 20);
        addLabeledRow(grid, grid->rowCount(), e);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

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
    return page;
}

QWidget* TMainFrm::buildOzonesondePage()
{
    auto* page = new QWidget;
    auto* grid = pageGrid(page);

    auto* numberLabel = new QLabel(QStringLiteral("Ozonesonde Number"), page);
    numberLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnO3Prev = arrowButton(QStringLiteral("<"), page);
    btnO3Next = arrowButton(QStringLiteral(">"), page);
    iEditO3Numb = new QLineEdit(QStringLiteral("1"), page);
    iEditO3Numb->setToolTip(QStringLiteral("Ozonesonde position in the chain"));
    iEditO3Numb->setReadOnly(true);
    iEditO3Numb->setFocusPolicy(Qt::NoFocus);
    iEditO3Numb->setAlignment(Qt::AlignCenter);
    iEditO3Numb->setFixedWidth(28);
    auto* nav = new QHBoxLayout;
    nav->setSpacing(2);
    nav->addWidget(btnO3Prev);
    nav->addWidget(iEditO3Numb);
    nav->addWidget(btnO3Next);
    nav->addStretch();
    grid->addWidget(numberLabel, 0, 0);
    grid->addLayout(nav, 0, 1, 1, 2);

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
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* TMainFrm::buildPrefsPage()
{
    auto* page = new QWidget;
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
    outer->addStretch();
    return page;
}

} // namespace lumo
