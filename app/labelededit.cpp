#include "labelededit.h"

#include <QFocusEvent>
#include <QVariant>

#include "numtext.h"

namespace lumo {

void ExitEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
        emit exited();
}

void showNumber(QLineEdit* box, const char* format, double value)
{
    // The box's own hint, kept the first time.
    static const char* const HintKey = "lumoHint";
    if (!box->property(HintKey).isValid())
        box->setProperty(HintKey, box->toolTip());
    const QString hint = box->property(HintKey).toString();
    const QString shown = formatNumber(format, value);
    box->setText(shown);
    const QString full = QString::number(value, 'g', 12); // always "."
    double back = 0;
    const bool rounded = !parseNumber(shown, back) || back != value;
    box->setToolTip(rounded ? hint + QStringLiteral(" (stored value ") + full + QStringLiteral(")") : hint);
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
