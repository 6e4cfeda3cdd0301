#include "xyplot.h"

#include <qcustomplot.h>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

#include "ploteditor.h"
#include "plotmouse.h"

namespace lumo {

namespace {

constexpr double ZoomFactor = 2.0;
constexpr int ToolBarHeight = 24;

struct ButtonDesign {
    const char* text;
    const char* tip;
    bool shown;
};

// Toolbar order; Select and Preview start hidden.
constexpr ButtonDesign Buttons[ToolBarButtonCount] = {
    {"Resume", "Resume automatic ranges", true},
    {"Pause", "Pause automatic ranges", true},
    {"Scroll", "Mouse drag scrolls the axes", true},
    {"Zoom", "Mouse drag zooms the axes", true},
    {"Select", "Pointer selects", false},
    {"Box", "Zoom to a box drawn with the mouse", true},
    {"Out", "Zoom out", true},
    {"In", "Zoom in", true},
    {"Cursor", "Data cursor", true},
    {"Edit", "Edit the plot's properties", true},
    {"Copy", "Copy a picture to the clipboard", true},
    {"Save", "Save a picture to a file", true},
    {"Print", "Print", true},
    {"Preview", "Print preview", false},
};

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

    plot_->legend->setVisible(false);
    QFont legendFont = font();
    legendFont.setPointSizeF(legendFont.pointSizeF() * 0.9);
    plot_->legend->setFont(legendFont);
    plot_->legend->setRowSpacing(-3);
    plot_->legend->setBrush(QColor(255, 255, 255, 230));
    plot_->legend->setBorderPen(QPen(QColor(160, 160, 160)));
    plot_->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);

    xAxis_ = std::make_unique<PlotAxis>(*this, plot_->xAxis, PlotAxis::Direction::X, 0, QStringLiteral("X-Axis"));
    yAxis_ = std::make_unique<PlotAxis>(*this, plot_->yAxis, PlotAxis::Direction::Y, 0, QStringLiteral("Y-Axis"));

    mouse_ = std::make_unique<PlotMouse>(*this);
    connect(plot_, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) { mouse_->press(e); });
    connect(plot_, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) { mouse_->move(e); });
    connect(plot_, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* e) { mouse_->release(e); });
    connect(plot_, &QCustomPlot::mouseWheel, this, [this](QWheelEvent* e) { mouse_->wheel(e); });
    connect(plot_, &QCustomPlot::beforeReplot, this, [this] { prepareDraw(); });

    buildToolBar();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(plot_, 1);
}

XYPlot::~XYPlot() = default;

void XYPlot::buildToolBar()
{
    toolBar_ = new QToolBar(this);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar_->setFixedHeight(ToolBarHeight);
    toolBar_->setStyleSheet(QStringLiteral("QToolButton { padding: 0px 1px; font-size: 7pt; }"));

    auto* modes = new QActionGroup(this);
    auto* pointer = new QActionGroup(this);
    for (int i = 0; i < ToolBarButtonCount; ++i) {
        const auto type = static_cast<ToolBarButton>(i);
        QAction* action = toolBar_->addAction(QString::fromLatin1(Buttons[i].text));
        action->setToolTip(QString::fromLatin1(Buttons[i].tip));
        action->setVisible(Buttons[i].shown);
        connect(action, &QAction::triggered, this, [this, type] { PerformButton(type); });
        actions_[i] = action;
    }
    for (ToolBarButton b : {ToolBarButton::ScrollAxesMode, ToolBarButton::ZoomAxesMode}) {
        actions_[static_cast<int>(b)]->setCheckable(true);
        modes->addAction(actions_[static_cast<int>(b)]);
    }
    for (ToolBarButton b : {ToolBarButton::Select, ToolBarButton::ZoomBox}) {
        actions_[static_cast<int>(b)]->setCheckable(true);
        pointer->addAction(actions_[static_cast<int>(b)]);
    }
    actions_[static_cast<int>(ToolBarButton::ScrollAxesMode)]->setChecked(true);
    actions_[static_cast<int>(ToolBarButton::Select)]->setChecked(true);
}

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

void XYPlot::EndDesign()
{
    designing_ = false;
}

PlotChannel* XYPlot::GetChannel(int index) const
{
    if (index < 0 || index >= ChannelCount())
        return nullptr;
    return channels_[static_cast<std::size_t>(index)].get();
}

PlotAxis* XYPlot::GetXAxis(int index) const
{
    return index == 0 ? xAxis_.get() : nullptr;
}

PlotAxis* XYPlot::GetYAxis(int index) const
{
    return index == 0 ? yAxis_.get() : nullptr;
}

void XYPlot::ClearAllData()
{
    for (auto& channel : channels_)
        channel->Clear();
    Replot();
}

QString XYPlot::TitleText() const
{
    return title_->text();
}

void XYPlot::SetTitleText(const QString& text)
{
    title_->setText(text);
    Replot();
}

bool XYPlot::ButtonVisible(ToolBarButton button) const
{
    return actions_[static_cast<int>(button)]->isVisible();
}

void XYPlot::SetButtonVisible(ToolBarButton button, bool visible)
{
    actions_[static_cast<int>(button)]->setVisible(visible);
}

void XYPlot::PerformButton(ToolBarButton button)
{
    switch (button) {
    case ToolBarButton::Resume:
        resumeAll();
        break;
    case ToolBarButton::Pause:
        pauseAll();
        break;
    case ToolBarButton::ScrollAxesMode:
        actions_[static_cast<int>(button)]->setChecked(true);
        setModeAll(AxisMode::Scroll);
        break;
    case ToolBarButton::ZoomAxesMode:
        actions_[static_cast<int>(button)]->setChecked(true);
        setModeAll(AxisMode::Zoom);
        break;
    case ToolBarButton::Select:
        actions_[static_cast<int>(button)]->setChecked(true);
        plot_->setSelectionRectMode(QCP::srmNone);
        break;
    case ToolBarButton::ZoomBox:
        actions_[static_cast<int>(button)]->setChecked(true);
        pauseAll();
        plot_->setSelectionRectMode(QCP::srmZoom);
        break;
    case ToolBarButton::ZoomOut:
        pauseAll();
        zoomAll(ZoomFactor);
        break;
    case ToolBarButton::ZoomIn:
        pauseAll();
        zoomAll(1.0 / ZoomFactor);
        break;
    case ToolBarButton::Cursor:
        break;
    case ToolBarButton::Edit:
        editProperties();
        break;
    case ToolBarButton::Copy:
        copyPicture();
        break;
    case ToolBarButton::Save:
        savePicture();
        break;
    case ToolBarButton::Print:
        printPlot();
        break;
    case ToolBarButton::Preview:
        previewPlot();
        break;
    }
    emit OnToolBarButtonClick(0, button);
}

void XYPlot::pauseAll()
{
    xAxis_->SetTrackingEnabled(false);
    yAxis_->SetTrackingEnabled(false);
}

void XYPlot::resumeAll()
{
    xAxis_->SetTrackingEnabled(true);
    yAxis_->SetTrackingEnabled(true);
}

void XYPlot::setModeAll(AxisMode mode)
{
    xAxis_->SetMode(mode);
    yAxis_->SetMode(mode);
}

void XYPlot::zoomAll(double factor)
{
    // Narrow or widen about the middle of each range.
    for (PlotAxis* axis : {xAxis_.get(), yAxis_.get()}) {
        const double span = axis->Span();
        const double centre = axis->Min() + span / 2;
        axis->SetRange(centre - span * factor / 2, span * factor);
    }
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
    Replot();
}

void XYPlot::legendChanged()
{
    legendDirty_ = true;
    Replot();
}

void XYPlot::flushTracking()
{
    xAxis_->flushTracking();
    yAxis_->flushTracking();
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

    if (legendDirty_) {
        legendDirty_ = false;
        QCPLegend* legend = plot_->legend;
        legend->clearItems();
        for (auto& channel : channels_) {
            if (!channel->VisibleInLegend())
                continue;
            channel->curve()->addToLegend(legend);
            if (QCPAbstractLegendItem* item = legend->itemWithPlottable(channel->curve()))
                static_cast<QCPPlottableLegendItem*>(item)->setTextColor(channel->Color());
        }
        legend->setVisible(legend->itemCount() > 0);
    }
}

void XYPlot::Replot()
{
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void XYPlot::ReplotNow()
{
    plot_->replot(QCustomPlot::rpImmediateRefresh);
}

void XYPlot::SetPrintDocument(const QString& name, QPageLayout::Orientation orientation)
{
    printName_ = name;
    orientation_ = orientation;
}

QString XYPlot::HintAt(const QPoint& pos, int radius) const
{
    const PlotChannel* best = nullptr;
    QPointF bestPoint;
    double bestDist = static_cast<double>(radius) * radius;
    const QPointF at = plot_->mapFrom(this, pos);
    for (const auto& channel : channels_) {
        if (!channel->Visible())
            continue;
        for (const QPointF& p : channel->Points()) {
            const double px = plot_->xAxis->coordToPixel(p.x());
            const double py = plot_->yAxis->coordToPixel(p.y());
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
    return QStringLiteral("%1\nX: %2\nY: %3")
        .arg(best->Name(), xAxis_->formatValue(bestPoint.x()), yAxis_->formatValue(bestPoint.y()));
}

void XYPlot::showHintAt(const QPoint& pos, const QPoint& global)
{
    if (!hintsEnabled_)
        return;
    const QString text = HintAt(plot_->mapTo(this, pos));
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(global, text, plot_);
}

QPixmap XYPlot::Picture(int width, int height)
{
    prepareDraw();
    return plot_->toPixmap(width, height);
}

bool XYPlot::SaveToFile(const QString& path, int width, int height)
{
    prepareDraw();
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("png"))
        return plot_->savePng(path, width, height);
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return plot_->saveJpg(path, width, height, 1.0, 95);
    if (ext == QLatin1String("bmp"))
        return plot_->saveBmp(path, width, height);
    if (ext == QLatin1String("pdf"))
        return plot_->savePdf(path, width, height, QCP::epAllowCosmetic, QString(), printName_);
    return false;
}

void XYPlot::copyPicture()
{
    QApplication::clipboard()->setPixmap(Picture());
}

void XYPlot::savePicture()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Picture"), QString(),
        tr("PNG picture (*.png);;JPEG picture (*.jpg *.jpeg);;Bitmap (*.bmp);;PDF document (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!SaveToFile(path))
        QMessageBox::warning(this, tr("Error"),
            tr("Could not write %1.\nThe name must end in .png, .jpg, .jpeg, .bmp or .pdf.").arg(path));
}

void XYPlot::PrintTo(QPrinter& printer)
{
    prepareDraw();
    QCPPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int w = std::max(plot_->width(), 400);
    const int h = std::max(plot_->height(), 300);
    const double scale = std::min(page.width() / w, page.height() / h);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.scale(scale, scale);
    plot_->toPainter(&painter, w, h);
}

void XYPlot::printPlot()
{
    QPrinter printer;
    printer.setDocName(printName_);
    printer.setPageOrientation(orientation_);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

void XYPlot::previewPlot()
{
    QPrinter printer;
    printer.setDocName(printName_);
    printer.setPageOrientation(orientation_);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintTo(*p); });
    dialog.exec();
}

void XYPlot::editProperties()
{
    PlotEditor editor(*this, this);
    editor.exec();
}

} // namespace lumo
