#include "plotrenderer.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPixmap>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "flight/atomicfile.h"
#include "flight/q5.h"
#include "fltplot.h"
#include "profileplot.h"
#include "sfcplot.h"
#include "windplot.h"
#include "xyplot.h"

namespace lumo {

namespace {

const QStringList RsNames = {"P", "T", "U", "Vb", "Ti", "Tp", "Tu", "ARate"};
const QStringList O3Names = {"O3pp", "Icell", "Tpmp", "Ipmp", "Vbat"};
const QStringList WindNames = {"Dir", "Spd"};
const QString MixRatioName = QStringLiteral("MR"); // the profile view's mixing ratio

// Ozonesonde n (1..4) of quantity name "O3pp" or "O3pp.n"; 0 for every one.
bool parseOzone(const QString& name, int& quantity, int& sonde)
{
    const QStringList parts = name.split(QLatin1Char('.'));
    quantity = O3Names.indexOf(parts[0]);
    if (quantity < 0 || parts.size() > 2)
        return false;
    sonde = 0;
    if (parts.size() == 2) {
        bool ok = false;
        sonde = parts[1].toInt(&ok);
        return ok && sonde >= 1 && sonde <= MaxSondes;
    }
    return true;
}

bool sondeHasData(const XYPlot& plot, int firstChannel, int step)
{
    for (int k = 0; k < 5; ++k)
        if (plot.GetChannel(firstChannel + k * step)->count() > 0)
            return true;
    return false;
}

// Checks the boxes of the listed quantities, ozone boxes once per ozonesonde,
// and leaves the selector on the first ozonesonde with data.
template <typename Frm>
void checkQuantities(Frm& frm, const QStringList& quantities, bool withAscentRate)
{
    QCheckBox* rs[] = {frm.cbxP, frm.cbxT, frm.cbxU, frm.cbxVb, frm.cbxTi, frm.cbxTp, frm.cbxTu, frm.cbxARate};
    QCheckBox* o3[] = {frm.cbxO3pp, frm.cbxIcell, frm.cbxTpmp, frm.cbxIpmp, frm.cbxVbat};
    for (const QString& name : quantities) {
        const int i = RsNames.indexOf(name);
        if (i >= 0 && (i < 7 || withAscentRate) && rs[i]->isEnabled())
            rs[i]->setChecked(true);
    }
    const int step = Frm::o3ChannelIndex(1, 1) - Frm::o3ChannelIndex(1, 0);
    int firstWithData = 0;
    for (int n = 1; n <= MaxSondes; ++n) {
        const bool hasData = sondeHasData(*frm.plot(), Frm::o3ChannelIndex(n, 0), step);
        if (hasData && firstWithData == 0)
            firstWithData = n;
        for (const QString& name : quantities) {
            int quantity = 0, sonde = 0;
            if (parseOzone(name, quantity, sonde) && (sonde == n || (sonde == 0 && hasData)))
                o3[quantity]->setChecked(true);
        }
        if (n < MaxSondes)
            frm.btnNextClick();
    }
    for (int n = MaxSondes; n > std::max(firstWithData, 1); --n)
        frm.btnPrevClick();
}

// The picture is encoded in memory and written through the atomic writer, so
// a failed write leaves no half-written file.
bool save(QWidget& window, const QString& path, QStringList& written, QString& error)
{
    QApplication::processEvents();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const bool encoded = window.grab().save(&buffer, "PNG");
    const std::string_view bytes(png.constData(), static_cast<std::size_t>(png.size()));
    if (!encoded || !writeFileAtomically(QFile::encodeName(path).toStdString(), bytes)) {
        error = QStringLiteral("Cannot write %1").arg(path);
        return false;
    }
    written << path;
    return true;
}

void showOffscreen(QWidget& window)
{
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
}

} // namespace

QStringList PlotRenderer::defaultQuantities()
{
    return {"O3pp", "T", "Dir", "Spd"};
}

QStringList PlotRenderer::unknownQuantities(const QStringList& quantities)
{
    QStringList unknown;
    for (const QString& name : quantities) {
        int quantity = 0, sonde = 0;
        if (!RsNames.contains(name) && !WindNames.contains(name) && name != MixRatioName
            && !parseOzone(name, quantity, sonde))
            unknown << name;
    }
    return unknown;
}

bool PlotRenderer::render(Q5& q5, const QString& dir, const QString& flightName, const QStringList& quantities,
    QStringList& written, QString& error)
{
    if (!QDir().mkpath(dir)) {
        error = QStringLiteral("Cannot create %1").arg(dir);
        return false;
    }
    const QDir out(dir);

    TsfcPlotFrm sfc(q5);
    sfc.clearForImport();
    sfc.LoadPlotData(q5);
    sfc.finishImport(flightName);
    checkQuantities(sfc, quantities, false);
    showOffscreen(sfc);
    if (!save(sfc, out.filePath(flightName + QStringLiteral("-surface.png")), written, error))
        return false;

    TfltPlotFrm flt(q5);
    flt.clearForImport();
    flt.LoadPlotData(q5);
    flt.finishImport(flightName);
    checkQuantities(flt, quantities, true);
    showOffscreen(flt);
    if (!save(flt, out.filePath(flightName + QStringLiteral("-flight.png")), written, error))
        return false;

    TprofilePlotFrm profile(q5);
    profile.LoadPlotData(q5);
    profile.finishImport(flightName);
    profile.cbxMixRatio->setChecked(quantities.contains(MixRatioName));
    // A standard-method run shows what the method changed: the classic
    // profile of each sonde it ran on beside the standard one.
    profile.cbxClassic->setChecked(std::any_of(std::begin(q5.o3MethodResult), std::end(q5.o3MethodResult),
        [](const O3MethodResult& r) { return r.method == O3Method::Standard; }));
    showOffscreen(profile);
    if (!save(profile, out.filePath(flightName + QStringLiteral("-profile.png")), written, error))
        return false;

    const bool dir_ = quantities.contains(QStringLiteral("Dir"));
    const bool spd = quantities.contains(QStringLiteral("Spd"));
    if (!q5.rsGpsInst || q5.windRecs.empty() || (!dir_ && !spd))
        return true;
    TwindPlotFrm wind(q5);
    wind.LoadPlotData(q5);
    if (!dir_)
        wind.windDirPlot->GetChannel(TwindPlotFrm::ChAscent)->SetVisible(false);
    if (!spd)
        wind.windSpdPlot->GetChannel(TwindPlotFrm::ChAscent)->SetVisible(false);
    wind.finishImport(flightName);
    showOffscreen(wind);
    return save(wind, out.filePath(flightName + QStringLiteral("-winds.png")), written, error);
}

} // namespace lumo
