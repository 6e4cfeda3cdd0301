#include "splashfrm.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <cmath>

namespace lumo {

TSplashFrm::TSplashFrm(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), picture_(drawPicture())
{
    setFixedSize(PictureWidth, PictureHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplashFrm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

QImage TSplashFrm::drawPicture()
{
    QImage img(PictureWidth, PictureHeight, QImage::Format_RGB888);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Sky from the dark stratosphere down to the pale horizon.
    QLinearGradient sky(0, 0, 0, PictureHeight);
    sky.setColorAt(0.0, QColor(10, 24, 66));
    sky.setColorAt(0.6, QColor(48, 104, 170));
    sky.setColorAt(1.0, QColor(170, 205, 230));
    p.fillRect(img.rect(), sky);

    // Ozone sounding: partial pressure against height, with its stratospheric
    // maximum near 22 km (the picture's height spans 0..35 km).
    const double left = 200, width = 140, bottom = 165, top = 15;
    p.setPen(QPen(QColor(255, 255, 255, 90), 1, Qt::DotLine));
    for (int km = 0; km <= 35; km += 5) {
        const double y = bottom - (bottom - top) * km / 35.0;
        p.drawLine(QPointF(left, y), QPointF(left + width, y));
    }
    QPainterPath profile;
    for (int i = 0; i <= 70; ++i) {
        const double km = i * 0.5;
        const double o3 = 30 + 120 * std::exp(-std::pow((km - 22.0) / 6.0, 2)) + 6 * std::sin(km * 1.3);
        const QPointF pt(left + width * o3 / 170.0, bottom - (bottom - top) * km / 35.0);
        if (i == 0)
            profile.moveTo(pt);
        else
            profile.lineTo(pt);
    }
    p.setPen(QPen(QColor(255, 196, 64), 2.2));
    p.drawPath(profile);

    // Balloon with its train.
    const QPointF balloon(178, 46);
    QRadialGradient shine(balloon + QPointF(-6, -8), 24);
    shine.setColorAt(0, QColor(255, 255, 255));
    shine.setColorAt(1, QColor(215, 220, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(balloon, 18, 22);
    p.setPen(QPen(QColor(230, 230, 230), 1));
    p.drawLine(balloon + QPointF(0, 22), balloon + QPointF(0, 58));
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRectF(balloon.x() - 5, balloon.y() + 58, 10, 8));

    // Name and purpose.
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(14, 26, 150, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("LUMO"));
    QFont sub(QStringLiteral("Sans Serif"));
    sub.setPixelSize(12);
    p.setFont(sub);
    p.drawText(QRectF(18, 92, 170, 40), Qt::AlignLeft | Qt::TextWordWrap,
        QStringLiteral("Ozonesonde flight\npost-processing"));

    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

} // namespace lumo
