#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace lumo {

// Gives a top-level window its designed outer size, the frame the window
// system draws included. The frame is known only once the window is shown
// (and may arrive later still); until then the client area takes the whole
// size. Each time the frame turns out different, the client area is set to
// the outer size less the frame, unless the user has resized the window.
class OuterSize : public QObject {
public:
    // Resizes `window` and keeps its outer size as the frame becomes known.
    static void apply(QWidget& window, QSize outer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    OuterSize(QWidget& window, QSize outer);
    void fit();

    QWidget& window_;
    QSize outer_;
    QSize frame_{0, 0};
};

} // namespace lumo
