#include "sondeselector.h"

#include <QLineEdit>

#include "mybutton.h"

namespace lumo {

namespace {

TmyButton* arrow(const QString& caption, const QString& tip, bool takesFocus, QWidget* parent)
{
    auto* b = new TmyButton(caption, parent);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    if (!takesFocus)
        b->setFocusPolicy(Qt::NoFocus);
    b->setFocusRect(false);
    return b;
}

QLineEdit* numberBox(const SondeSelector::Look& look, QWidget* parent)
{
    auto* box = new QLineEdit(QStringLiteral("1"), parent);
    box->setReadOnly(true);
    if (!look.numberTakesFocus)
        box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignCenter);
    box->setToolTip(look.numberTip);
    return box;
}

} // namespace

SondeSelector::SondeSelector(QWidget* parent, const Look& look, int count)
    : QObject(parent),
      prev(arrow(QStringLiteral("<"), look.prevTip, look.buttonsTakeFocus, parent)),
      number(numberBox(look, parent)),
      next(arrow(QStringLiteral(">"), look.nextTip, look.buttonsTakeFocus, parent)),
      count_(count)
{
    prev->setEnabled(false);
    connect(prev, &QPushButton::clicked, this, [this] { step(-1); });
    connect(next, &QPushButton::clicked, this, [this] { step(+1); });
}

int SondeSelector::current() const
{
    bool ok = false;
    const int n = number->text().trimmed().toInt(&ok);
    return ok ? n : 0;
}

void SondeSelector::reset()
{
    number->setText(QStringLiteral("1"));
    prev->setEnabled(false);
    next->setEnabled(true);
}

void SondeSelector::step(int delta)
{
    const int n = current() + delta;
    number->setText(QString::number(n));
    if (delta > 0) {
        next->setEnabled(n != count_);
        prev->setEnabled(true);
    } else {
        prev->setEnabled(n != 1);
        next->setEnabled(true);
    }
    if (n >= 1 && n <= count_)
        emit stepped(n);
}

} // namespace lumo
