// The main window's share in the plot windows: creation, the import's
// steps on them, the Plot menu and "Show all data".
#include "mainfrm.h"

#include "flight/filepath.h"
#include "plots/fltplot.h"
#include "plots/plotaxis.h"
#include "plots/profileplot.h"
#include "plots/sfcplot.h"
#include "plots/windplot.h"
#include "plots/xyplot.h"

namespace lumo {

namespace {

// A plot window is a window of its own that lives as long as the main
// window and stays hidden until its menu command shows it.
template <typename Frm>
Frm* makePlotWindow(Q5& q5, QWidget* owner)
{
    auto* frm = new Frm(q5, owner);
    if (!frm->isWindow())
        frm->setWindowFlag(Qt::Window, true);
    frm->hide();
    return frm;
}

} // namespace

void TMainFrm::createPlotWindows()
{
    sfcPlotFrm = makePlotWindow<TsfcPlotFrm>(q5, this);
    fltPlotFrm = makePlotWindow<TfltPlotFrm>(q5, this);
    windPlotFrm = makePlotWindow<TwindPlotFrm>(q5, this);
    profilePlotFrm = makePlotWindow<TprofilePlotFrm>(q5, this);
    q5.plotSinks = {sfcPlotFrm, fltPlotFrm, windPlotFrm, profilePlotFrm};
}

void TMainFrm::clearPlotControls()
{
    if (sfcPlotFrm)
        sfcPlotFrm->clearForImport();
    if (fltPlotFrm)
        fltPlotFrm->clearForImport();
    if (profilePlotFrm)
        profilePlotFrm->clearForImport();
}

void TMainFrm::finishPlotsAfterImport()
{
    const QString flightName = QString::fromStdString(baseNamePart(srcFileName.toStdString()));
    if (sfcPlotFrm)
        sfcPlotFrm->finishImport(flightName);
    if (fltPlotFrm)
        fltPlotFrm->finishImport(flightName);
    if (windPlotFrm)
        windPlotFrm->finishImport(flightName);
    if (profilePlotFrm)
        profilePlotFrm->finishImport(flightName);
}

void TMainFrm::zoomPlotsAfterReCalc()
{
    if (sfcPlotFrm)
        sfcPlotFrm->sfcPlot->GetYAxis(0)->ZoomToFit();
    if (fltPlotFrm)
        fltPlotFrm->fltPlot->GetYAxis(0)->ZoomToFit();
}

void TMainFrm::applyShowAllToPlots()
{
    if (fltPlotFrm)
        fltPlotFrm->ApplyShowAll(q5.showAll);
    if (windPlotFrm)
        windPlotFrm->ApplyShowAll(q5.showAll);
}

void TMainFrm::mSurfaceClick()
{
    if (sfcPlotFrm)
        sfcPlotFrm->prepareAndShow();
}

void TMainFrm::mFlightClick()
{
    if (fltPlotFrm)
        fltPlotFrm->prepareAndShow();
}

void TMainFrm::mProfileClick()
{
    if (profilePlotFrm)
        profilePlotFrm->prepareAndShow();
}

void TMainFrm::mWindsClick()
{
    if (windPlotFrm)
        windPlotFrm->prepareAndShow();
}

} // namespace lumo
