#include "labelededit.h"

#include <QFocusEvent>

namespace lumo {

void ExitEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
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
