#include "mybutton.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace lumo {

TmyButton::TmyButton(QWidget* parent) : TmyButton(QString(), parent) {}

TmyButton::TmyButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    color_ = palette().color(QPalette::Button);
    setAutoDefault(false);
}

void TmyButton::setFocusRect(bool on)
{
    if (focusRect_ == on)
        return;
    focusRect_ = on;
    update();
}

void TmyButton::setColor(const QColor& color)
{
    if (color_ == color)
        return;
    color_ = color;
    update();
}

void TmyButton::SetButtonStyle(bool isDefault)
{
    if (focused_ == isDefault)
        return;
    focused_ = isDefault;
    update();
}

QSize TmyButton::sizeHint() const
{
    // The arrows are tiny: the caption plus a few pixels of frame.
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 10, fm.height() + 8};
}

QSize TmyButton::minimumSizeHint() const
{
    return {8, 8};
}

int TmyButton::currentState() const
{
    int state = 0;
    if (isDown())
        state |= StatePressed;
    if (!isEnabled())
        state |= StateDisabled;
    if (hasFocus())
        state |= StateFocus;
    return state;
}

void TmyButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawButton(painter, rect(), currentState());
}

void TmyButton::DrawButton(QPainter& painter, const QRect& rect, int state)
{
    const bool pressed = state & StatePressed;
    const bool disabled = state & StateDisabled;
    const bool hasFocusBit = state & StateFocus;
    QRect r = rect;

    painter.save();
    if (hasFocusBit || focused_) {
        // One-pixel frame around a focused or default button.
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }

    if (pressed) {
        painter.setPen(QPen(palette().color(QPalette::Dark), 1));
        painter.setBrush(palette().color(QPalette::Button));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
        r.translate(1, 1);
    } else {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = r;
        option.state &= ~QStyle::State_HasFocus;
        option.state |= QStyle::State_Raised;
        if (disabled)
            option.state &= ~QStyle::State_Enabled;
        else
            option.state |= QStyle::State_Enabled;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
        // The face lies inside the frame the style drew.
        const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
        r.adjust(frame, frame, -frame, -frame);
    }

    painter.fillRect(r, color_);

    painter.setFont(font());
    painter.setBackgroundMode(Qt::TransparentMode);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (disabled) {
        // Embossed grey: a light copy one pixel down and right under the
        // shadow-coloured caption.
        const QRect textRect = r.translated(1, 1);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(textRect.translated(1, 1), flags, text());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(textRect, flags, text());
    } else {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(r.translated(-1, -1), flags, text());
    }
    painter.restore();

    if (OnDrawButton)
        OnDrawButton(*this, painter, r, state);

    if (focused_ && hasFocusBit && focusRect_) {
        // Dotted rectangle 4 pixels inside the edge of the whole button.
        painter.save();
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(4, 4, -5, -5));
        painter.restore();
    }
}

void TmyButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click is a press like any other. Some
    // platforms deliver it as a press followed by the double click; the
    // button is then already down and the press must not count twice.
    if (isDown()) {
        event->accept();
        return;
    }
    mousePressEvent(event);
}

void TmyButton::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

} // namespace lumo
