#pragma once

#include <QPointF>

#include <vector>

class QMouseEvent;
class QWheelEvent;

namespace lumo {

class PlotAxis;
class XYPlot;

// Mouse control of an XYPlot's axes in the data area. A drag scrolls or
// zooms each axis depending on its mode (every X axis of the plot follows a
// horizontal drag, every Y axis a vertical one); the wheel zooms the Y axes
// about the pointer. Logarithmic axes move by equal factors, reversed ones
// follow the pointer all the same. The first move of a drag and every wheel
// step switch the touched axes' tracking off, so Resume can bring back the
// range they had.
class PlotMouse {
public:
    explicit PlotMouse(XYPlot& plot) : plot_(plot) {}

    void press(QMouseEvent* event);
    void move(QMouseEvent* event);
    void release(QMouseEvent* event);
    void wheel(QWheelEvent* event);

private:
    struct Start {
        PlotAxis* axis = nullptr;
        double min = 0, span = 0, anchor = 0;
    };
    // Starts of every X (or Y) axis at a widget position along the axis.
    std::vector<Start> starts(bool x, double pixel) const;
    // Scrolls by `pixels` of `length`, or zooms by `factor` about the anchor.
    static void moveAxis(const Start& start, double pixels, double length, double factor, bool zoom);

    XYPlot& plot_;
    bool pressed_ = false;
    bool dragging_ = false;
    QPointF pressPos_;
    std::vector<Start> x_, y_;
};

} // namespace lumo
