// Station page: name, position and altitude of the launch site.
#include "mainfrm.h"

#include "labelededit.h"
#include "numtext.h"
#include "pagelayout.h"

namespace lumo {

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
    connect(edStnAlt, &ExitEdit::exited, this, &TMainFrm::edStnAltExit);
    return page;
}

void TMainFrm::clearStationPage()
{
    for (QLineEdit* e : {edStation, edStnLat, edStnLong, edStnAlt})
        e->clear();
}

void TMainFrm::fillStationPage()
{
    edStation->setText(QString::fromLatin1(q5.stnName));
    edStnLat->setText(formatNumber("%1.4f", q5.stnLat));
    edStnLong->setText(formatNumber("%1.4f", q5.stnLong));
    edStnAlt->setText(formatNumber("%1.1f", q5.stnAlt));
}

void TMainFrm::edStnAltExit()
{
    if (acceptEdit(edStnAlt))
        commitNumber(edStnAlt, q5.stnAlt, "%1.1f");
}

} // namespace lumo
