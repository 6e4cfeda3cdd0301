#include "xyplot.h"

#include <QAction>

#include <qcustomplot.h>

#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

#include "plotmouse.h"

namespace lumo {

namespace {

constexpr int LegendColumnSpacing = 12;
// A legend entry besides its text: the line sample, the gap and the entry's
// own margins, in pixels.
constexpr int LegendEntryExtra = 32 + 7 + 14;
constexpr int LabelEndPadding = 4;
constexpr int UsualLeftMargin = 70;


QString layerName(int layer)
{
    return QStringLiteral("channels%1").arg(layer);
}

} // namespace

XYPlot::XYPlot(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);

    plot_ = new QCustomPlot(this);
    plot_->setLocale(QLocale::c());
    plot_->setBackground(Qt::white);
    plot_->axisRect()->setBackground(Qt::white);
    plot_->setPlottingHint(QCP::phFastPolylines, true);
    plot_->setNoAntialiasingOnDrag(true);
    plot_->setInteractions(QCP::Interactions());
    plot_->axisRect()->setRangeZoomAxes(plot_->xAxis, plot_->yAxis);
    plot_->setMouseTracking(true);

    // Silver grid, the minor lines dotted.
    for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis}) {
        axis->grid()->setPen(QPen(QColor(192, 192, 192), 0, Qt::SolidLine));
        axis->grid()->setSubGridPen(QPen(QColor(192, 192, 192), 0, Qt::DotLine));
        axis->grid()->setSubGridVisible(true);
        axis->grid()->setZeroLinePen(Qt::NoPen);
    }

    title_ = new QCPTextElement(plot_, QString(), QFont(font().family(), 10, QFont::Bold));
    plot_->plotLayout()->insertRow(0);
    plot_->plotLayout()->addElement(0, 0, title_);

    // The legend lives below the data area, never over the data; it shares
    // the data area's left and right edges.
    QCPLegend* legend = plot_->legend;
    plot_->axisRect()->insetLayout()->take(legend);
    legend->setVisible(false);
    QFont legendFont = font();
    legendFont.setPointSizeF(legendFont.pointSizeF() * 0.9);
    legend->setFont(legendFont);
    legend->setRowSpacing(-3);
    legend->setColumnSpacing(LegendColumnSpacing);
    legend->setBrush(Qt::NoBrush);
    legend->setBorderPen(Qt::NoPen);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst, false);
    auto* edges = new QCPMarginGroup(plot_);
    plot_->axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, edges);
    legend->setAutoMargins(QCP::msLeft | QCP::msRight);
    legend->setMarginGroup(QCP::msLeft | QCP::msRight, edges);
    legend->setMinimumMargins(QMargins(0, 2, 0, 2));

    xAxes_.push_back(std::make_unique<PlotAxis>(*this, plot_->xAxis, PlotAxis::Direction::X, 0, QStringLiteral("X-Axis")));
    yAxes_.push_back(std::make_unique<PlotAxis>(*this, plot_->yAxis, PlotAxis::Direction::Y, 0, QStringLiteral("Y-Axis")));

    mouse_ = std::make_unique<PlotMouse>(*this);
    connect(plot_, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) { mouse_->press(e); });
    connect(plot_, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) { mouse_->move(e); });
    connect(plot_, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* e) { mouse_->release(e); });
    connect(plot_, &QCustomPlot::mouseWheel, this, [this](QWheelEvent* e) { mouse_->wheel(e); });
    connect(plot_, &QCustomPlot::beforeReplot, this, [this] { prepareDraw(); });

    buildToolBar();

    // The plot's context menu and the Home key give the full data range back.
    auto* reset = new QAction(tr("Reset zoom"), this);
    reset->setShortcut(QKeySequence(Qt::Key_Home));
    reset->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(reset, &QAction::triggered, this, &XYPlot::resetZoom);
    addAction(reset);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(plot_, 1);
}

XYPlot::~XYPlot() = default;


PlotChannel& XYPlot::AddChannel(const QString& name, const QColor& color, int layer, LineStyle style)
{
    auto* curve = new QCPCurve(plot_->xAxis, plot_->yAxis);
    channels_.push_back(std::make_unique<PlotChannel>(*this, curve, name));
    PlotChannel& channel = *channels_.back();
    channel.SetColor(color);
    channel.SetLayer(layer);
    channel.SetTraceLineStyle(style);
    channel.SetTraceLineWidth(2);
    channel.SetVisible(false);
    return channel;
}

PlotAxis& XYPlot::AddXAxis(const QString& name, bool top)
{
    QCPAxis* axis = nullptr;
    const bool topFree = top && !std::any_of(xAxes_.begin(), xAxes_.end(),
        [this](const auto& a) { return a->qcpAxis() == plot_->xAxis2; });
    if (topFree) {
        axis = plot_->xAxis2;
        axis->setVisible(true);
    } else {
        axis = plot_->axisRect()->addAxis(top ? QCPAxis::atTop : QCPAxis::atBottom);
    }
    axis->grid()->setVisible(false);
    const int index = static_cast<int>(xAxes_.size());
    xAxes_.push_back(std::make_unique<PlotAxis>(*this, axis, PlotAxis::Direction::X, index, name));
    for (auto& channel : channels_)
        channel->bindAxes();
    return *xAxes_.back();
}

void XYPlot::setMirrorYAxis(const QString& title, const QVector<double>& ticks, const QVector<QString>& labels)
{
    QCPAxis* mirror = plot_->yAxis2;
    QSharedPointer<QCPAxisTickerText> ticker = qSharedPointerDynamicCast<QCPAxisTickerText>(mirror->ticker());
    if (!ticker) {
        ticker = QSharedPointer<QCPAxisTickerText>::create();
        mirror->setTicker(ticker);
        mirror->grid()->setVisible(false);
    }
    ticker->setTicks(ticks, labels);
    ticker->setSubTickCount(0);
    mirror->setLabel(title);
    mirrorShown_ = !ticks.isEmpty();
    mirror->setVisible(mirrorShown_);
    replot();
}

void XYPlot::endDesign()
{
    designing_ = false;
}

PlotChannel* XYPlot::GetChannel(int index) const
{
    if (index < 0 || index >= channelCount())
        return nullptr;
    return channels_[static_cast<std::size_t>(index)].get();
}

PlotAxis* XYPlot::GetXAxis(int index) const
{
    if (index < 0 || index >= static_cast<int>(xAxes_.size()))
        return nullptr;
    return xAxes_[static_cast<std::size_t>(index)].get();
}

PlotAxis* XYPlot::GetYAxis(int index) const
{
    if (index < 0 || index >= static_cast<int>(yAxes_.size()))
        return nullptr;
    return yAxes_[static_cast<std::size_t>(index)].get();
}

void XYPlot::ClearAllData()
{
    for (auto& channel : channels_)
        channel->clear();
    replot();
}

QString XYPlot::TitleText() const
{
    return title_->text();
}

void XYPlot::SetTitleText(const QString& text)
{
    title_->setText(text);
    replot();
}


void XYPlot::axisRangeChanged(PlotAxis& axis, double oldMin, double oldSpan, double newMin, double newSpan)
{
    if (designing_)
        return;
    if (axis.direction() == PlotAxis::Direction::X)
        emit OnXAxisMinSpanChange(axis.index(), oldMin, oldSpan, newMin, newSpan);
    else
        emit OnYAxisMinSpanChange(axis.index(), oldMin, oldSpan, newMin, newSpan);
}

void XYPlot::layersChanged()
{
    layersDirty_ = true;
    replot();
}

void XYPlot::legendChanged()
{
    legendDirty_ = true;
    replot();
}

void XYPlot::flushTracking()
{
    for (const auto* axes : {&xAxes_, &yAxes_})
        for (const auto& axis : *axes)
            axis->flushTracking();
}

void XYPlot::prepareDraw()
{
    flushTracking();
    for (auto& channel : channels_)
        channel->syncCurve();

    if (layersDirty_) {
        layersDirty_ = false;
        // One drawing layer per channel layer number, stacked in ascending
        // order just above the main layer.
        std::map<int, QCPLayer*> layers;
        for (auto& channel : channels_)
            layers[channel->Layer()] = nullptr;
        QCPLayer* below = plot_->layer(QStringLiteral("main"));
        for (auto& [number, layer] : layers) {
            const QString name = layerName(number);
            if (!plot_->layer(name))
                plot_->addLayer(name, below, QCustomPlot::limAbove);
            layer = plot_->layer(name);
            plot_->moveLayer(layer, below, QCustomPlot::limAbove);
            below = layer;
        }
        for (auto& channel : channels_)
            channel->curve()->setLayer(layers[channel->Layer()]);
    }

    layOutLegend();
    reserveEndLabelRoom();

    if (mirrorShown_) {
        QCPAxis* mirror = plot_->yAxis2;
        mirror->setScaleType(plot_->yAxis->scaleType());
        mirror->setRangeReversed(plot_->yAxis->rangeReversed());
        mirror->setRange(plot_->yAxis->range());
    }
}

void XYPlot::layOutLegend()
{
    // The count of entries side by side depends on the width of the data
    // area (before the first layout: of the plot less a usual label column).
    const QMargins m = plot_->axisRect()->margins();
    const int room = plot_->width() - (m.left() > 0 ? m.left() + m.right() : UsualLeftMargin);
    // The legend lists what is drawn: a channel without points has no entry.
    std::vector<bool> entries;
    entries.reserve(channels_.size());
    for (auto& channel : channels_)
        entries.push_back(channel->VisibleInLegend() && channel->count() > 0);
    if (!legendDirty_ && room == legendRoom_ && entries == legendEntries_ && plot_->height() == legendHeight_)
        return;
    legendDirty_ = false;
    legendRoom_ = room;
    legendHeight_ = plot_->height();
    legendEntries_ = entries;
    QCPLegend* legend = plot_->legend;
    legend->clearItems();
    const QFontMetrics metrics(legend->font());
    int widest = 0;
    for (std::size_t i = 0; i < channels_.size(); ++i)
        if (entries[i])
            widest = std::max(widest, metrics.horizontalAdvance(channels_[i]->Name()) + LegendEntryExtra);
    int columns = widest > 0 ? std::max(1, (room + LegendColumnSpacing) / (widest + LegendColumnSpacing)) : 1;
    if (legendOneColumn_) {
        const int count = static_cast<int>(std::count(entries.begin(), entries.end(), true));
        const int rowsInQuarter = std::max(1, plot_->height() / 4 / std::max(1, metrics.height()));
        columns = std::min(columns, std::max(1, (count + rowsInQuarter - 1) / rowsInQuarter));
    }
    legend->setWrap(columns);
    for (std::size_t i = 0; i < channels_.size(); ++i) {
        auto& channel = channels_[i];
        if (!entries[i])
            continue;
        channel->curve()->addToLegend(legend);
        if (QCPAbstractLegendItem* item = legend->itemWithPlottable(channel->curve()))
            static_cast<QCPPlottableLegendItem*>(item)->setTextColor(channel->Color());
    }
    const bool shown = legend->itemCount() > 0;
    legend->setVisible(shown);
    QCPLayoutGrid* layout = plot_->plotLayout();
    const bool placed = layout->hasElement(2, 0) && layout->element(2, 0) == legend;
    if (shown && !placed) {
        layout->addElement(2, 0, legend);
        layout->setRowStretchFactor(2, 0.001);
    } else if (!shown && placed) {
        layout->take(legend);
        layout->simplify();
    }
}

void XYPlot::reserveEndLabelRoom()
{
    int room = 0;
    for (const auto& axis : xAxes_) {
        QCPAxis* a = axis->qcpAxis();
        if (!a->visible() || !a->tickLabels())
            continue;
        const QFontMetrics metrics(a->tickLabelFont());
        const QCPRange range = a->range();
        for (double end : {range.lower, range.upper})
            room = std::max(room, metrics.horizontalAdvance(axis->formatValue(end)) / 2 + LabelEndPadding);
    }
    QMargins margins = plot_->axisRect()->minimumMargins();
    margins.setRight(room);
    plot_->axisRect()->setMinimumMargins(margins);
}

void XYPlot::replot()
{
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void XYPlot::replotNow()
{
    plot_->replot(QCustomPlot::rpImmediateRefresh);
}

void XYPlot::setPrintDocument(const QString& name, QPageLayout::Orientation orientation)
{
    printName_ = name;
    orientation_ = orientation;
}

QString XYPlot::hintAt(const QPoint& pos, int radius) const
{
    const PlotChannel* best = nullptr;
    QPointF bestPoint;
    double bestDist = static_cast<double>(radius) * radius;
    const QPointF at = plot_->mapFrom(this, pos);
    for (const auto& channel : channels_) {
        if (!channel->Visible())
            continue;
        const QCPAxis* xAxis = channel->curve()->keyAxis();
        const QCPAxis* yAxis = channel->curve()->valueAxis();
        for (const QPointF& p : channel->Points()) {
            const double px = xAxis->coordToPixel(p.x());
            const double py = yAxis->coordToPixel(p.y());
            const double d = (px - at.x()) * (px - at.x()) + (py - at.y()) * (py - at.y());
            if (d <= bestDist) {
                bestDist = d;
                best = channel.get();
                bestPoint = p;
            }
        }
    }
    if (!best)
        return {};
    const PlotAxis* xAxis = best->boundXAxis() ? best->boundXAxis() : xAxes_.front().get();
    const PlotAxis* yAxis = best->boundYAxis() ? best->boundYAxis() : yAxes_.front().get();
    return QStringLiteral("%1\nX: %2\nY: %3")
        .arg(best->Name(), xAxis->formatValue(bestPoint.x()), yAxis->formatValue(bestPoint.y()));
}

void XYPlot::showHintAt(const QPoint& pos, const QPoint& global)
{
    if (!hintsEnabled_)
        return;
    const QString text = hintAt(plot_->mapTo(this, pos));
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(global, text, plot_);
}

} // namespace lumo
