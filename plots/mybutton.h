#pragma once

#include <QColor>
#include <QPushButton>

#include <functional>

namespace lumo {

// Small push button that paints its own flat, colourable face: used for the
// "<" and ">" arrows stepping through the ozonesondes. A double click counts
// as a second press, so fast repeated clicks on an arrow all register.
//
// The face is drawn with the style's own primitives: a one-pixel frame when
// the button has the focus or is the default button, a sunken frame when
// pressed, the style's raised bevel otherwise, the caption embossed grey
// when disabled, and optionally the dotted focus rectangle.
class TmyButton : public QPushButton {
    Q_OBJECT
public:
    // State bits passed to DrawButton and OnDrawButton.
    enum DrawState : int {
        StatePressed = 1,
        StateDisabled = 4,
        StateFocus = 16,
    };

    // Called after the standard painting so that an owner can add to it:
    // the button, the painter, the face rectangle and the state bits.
    using DrawButtonEvent = std::function<void(TmyButton&, QPainter&, const QRect&, int)>;

    explicit TmyButton(QWidget* parent = nullptr);
    explicit TmyButton(const QString& caption, QWidget* parent = nullptr);

    // Whether the dotted focus rectangle is drawn (true after construction;
    // every arrow of the program switches it off).
    bool focusRect() const { return focusRect_; }
    void setFocusRect(bool on);

    // Fill colour of the face; the palette's button colour until set.
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    // Whether the button is the active/default button; repaints on change.
    bool isFocusedFlag() const { return focused_; }
    void SetButtonStyle(bool isDefault);

    DrawButtonEvent OnDrawButton;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

    // Paints the face into rect; state holds the DrawState bits.
    virtual void DrawButton(QPainter& painter, const QRect& rect, int state);

private:
    int currentState() const;

    bool focusRect_ = true;
    bool focused_ = false;
    QColor color_;
};

} // namespace lumo
