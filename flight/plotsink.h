#pragma once

namespace lumo {

class Q5;

// A window that shows a flight and is refilled at the end of each
// processing run.
class PlotSink {
public:
    virtual ~PlotSink() = default;
    virtual void LoadPlotData(Q5& q5) = 0;
};

} // namespace lumo
