// The plot's toolbar: its buttons, their actions and the axis operations
// they carry out.
#include "xyplot.h"

#include <QActionGroup>
#include <QToolBar>

#include <qcustomplot.h>

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

} // namespace

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
        connect(action, &QAction::triggered, this, [this, type] { performButton(type); });
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

bool XYPlot::buttonVisible(ToolBarButton button) const
{
    return actions_[static_cast<int>(button)]->isVisible();
}

void XYPlot::setButtonVisible(ToolBarButton button, bool visible)
{
    actions_[static_cast<int>(button)]->setVisible(visible);
}

void XYPlot::performButton(ToolBarButton button)
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
    for (const auto* axes : {&xAxes_, &yAxes_})
        for (const auto& axis : *axes)
            axis->SetTrackingEnabled(false);
}

void XYPlot::resumeAll()
{
    for (const auto* axes : {&xAxes_, &yAxes_})
        for (const auto& axis : *axes)
            axis->SetTrackingEnabled(true);
}

void XYPlot::setModeAll(AxisMode mode)
{
    for (const auto* axes : {&xAxes_, &yAxes_})
        for (const auto& axis : *axes)
            axis->SetMode(mode);
}

void XYPlot::zoomAll(double factor)
{
    for (const auto* axes : {&xAxes_, &yAxes_})
        for (const auto& axis : *axes)
            axis->zoomBy(factor);
}

void XYPlot::resetZoom()
{
    for (const auto* axes : {&xAxes_, &yAxes_})
        for (const auto& axis : *axes)
            axis->ZoomToFit();
}

} // namespace lumo
