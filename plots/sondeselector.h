#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QWidget;

namespace lumo {

class TmyButton;

// The ozonesonde selector of the main window's pages and the plot windows:
// "<", a read-only box with the ozonesonde number and ">", stepping through
// ozonesondes 1 to `count`. "<" is disabled at the first and ">" at the last.
// The three controls are children of the given parent, created in the order
// "<", box, ">" (their Tab order); the owner places them.
class SondeSelector : public QObject {
    Q_OBJECT
public:
    struct Look {
        QString numberTip;
        QString prevTip;
        QString nextTip;
        bool buttonsTakeFocus = false;
        bool numberTakesFocus = false;
    };

    SondeSelector(QWidget* parent, const Look& look, int count);

    TmyButton* const prev;
    QLineEdit* const number;
    TmyButton* const next;

    // The number in the box; 0 when it holds none.
    int current() const;
    // Back at ozonesonde 1.
    void reset();
    // One step back (-1) or on (+1), as the arrows do.
    void step(int delta);

signals:
    // After a step to ozonesonde n (1..count).
    void stepped(int n);

private:
    int count_;
};

} // namespace lumo
