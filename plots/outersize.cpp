#include "outersize.h"

#include <QEvent>
#include <QWidget>

namespace lumo {

OuterSize::OuterSize(QWidget& window, QSize outer) : QObject(&window), window_(window), outer_(outer) {}

void OuterSize::apply(QWidget& window, QSize outer)
{
    auto* keeper = new OuterSize(window, outer);
    window.installEventFilter(keeper);
    keeper->fit();
}

void OuterSize::fit()
{
    const QSize frame = window_.frameGeometry().size() - window_.geometry().size();
    if (window_.isVisible() && frame == frame_)
        return;
    // A client area other than the one set last is the user's choice.
    if (window_.size() != outer_ - frame_ && window_.isVisible())
        return;
    frame_ = frame;
    window_.resize(outer_ - frame);
}

bool OuterSize::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && (event->type() == QEvent::Show || event->type() == QEvent::Move))
        fit();
    return QObject::eventFilter(watched, event);
}

} // namespace lumo
