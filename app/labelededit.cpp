#include "labelededit.h"

#include <QFocusEvent>

namespace lumo {

void ExitEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit exited();
}

LabeledEdit::LabeledEdit(const QString& caption, const QString& hint, QWidget* parent, const QString& unit)
    : ExitEdit(parent), EditLabel(new QLabel(caption, parent))
{
    EditLabel->setBuddy(this);
    setToolTip(hint);
    if (!unit.isEmpty())
        unitLabel = new QLabel(unit, parent);
}

} // namespace lumo
