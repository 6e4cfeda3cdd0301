#pragma once

#include <QPointF>

class QMouseEvent;
class QWheelEvent;

namespace lumo {

class PlotAxis;
class XYPlot;

// Mouse control of an XYPlot's axes in the data area. A drag scrolls or
// zooms each axis depending on its mode; the wheel zooms the Y axis about
// the pointer. The first move of a drag and every wheel step switch the
// touched axes' tracking off, so Resume can bring back the range they had.
class PlotMouse {
public:
    explicit PlotMouse(XYPlot& plot) : plot_(plot) {}

    void press(QMouseEvent* event);
    void move(QMouseEvent* event);
    void release(QMouseEvent* event);
    void wheel(QWheelEvent* event);

private:
    struct Start {
        double min = 0, span = 0, anchor = 0;
    };
    void dragAxis(PlotAxis& axis, const Start& start, double pixels, double length);
    static void limit(const PlotAxis& axis, double& min, double& span);

    XYPlot& plot_;
    bool pressed_ = false;
    bool dragging_ = false;
    QPointF pressPos_;
    Start x_, y_;
};

} // namespace lumo
