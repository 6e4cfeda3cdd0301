#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "plots/mybutton.h"

using lumo::TmyButton;

namespace {

// Paints the face with chosen state bits, whatever the window system says.
class FaceProbe : public TmyButton {
public:
    FaceProbe() : TmyButton(QStringLiteral(" ")) {}
    void paintFace(QPainter& painter, int state) { DrawButton(painter, rect(), state); }
};

} // namespace

class MyButtonTest : public QObject {
    Q_OBJECT
private slots:
    void doubleClickCountsAsSecondPress()
    {
        TmyButton button(QStringLiteral(">"));
        button.resize(16, 21);
        button.show();
        QSignalSpy clicks(&button, &QPushButton::clicked);
        // A fast double click arrives as press, release, double click,
        // release: both halves must count.
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseDClick(&button, Qt::LeftButton);
        QTest::mouseRelease(&button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 2);
    }

    void doubleClickAfterAPressDoesNotCountTwice()
    {
        TmyButton button(QStringLiteral("<"));
        button.resize(16, 21);
        button.show();
        QSignalSpy clicks(&button, &QPushButton::clicked);
        // Platforms that deliver the second press before the double click.
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mousePress(&button, Qt::LeftButton);
        QTest::mouseDClick(&button, Qt::LeftButton);
        QTest::mouseRelease(&button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 2);
    }

    void disabledButtonTakesNoClicks()
    {
        TmyButton button(QStringLiteral("<"));
        button.resize(16, 21);
        button.setEnabled(false);
        button.show();
        QSignalSpy clicks(&button, &QPushButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseDClick(&button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 0);
    }

    void drawHookReceivesStateBits()
    {
        TmyButton button(QStringLiteral(">"));
        button.resize(16, 21);
        int seen = -1;
        QRect face;
        button.OnDrawButton = [&](TmyButton&, QPainter&, const QRect& r, int state) {
            seen = state;
            face = r;
        };
        QImage image(16, 21, QImage::Format_ARGB32);
        button.render(&image);
        QCOMPARE(seen, 0);
        QVERIFY(face.width() < 16 && face.height() < 21);

        button.setDown(true);
        button.render(&image);
        QCOMPARE(seen & TmyButton::StatePressed, int(TmyButton::StatePressed));
        button.setDown(false);
        button.setEnabled(false);
        button.render(&image);
        QCOMPARE(seen, int(TmyButton::StateDisabled));
    }

    void faceIsFilledWithItsColour()
    {
        TmyButton button(QStringLiteral(" "));
        button.resize(30, 30);
        button.setColor(QColor(10, 200, 30));
        QImage image(30, 30, QImage::Format_ARGB32);
        image.fill(Qt::black);
        button.render(&image);
        QCOMPARE(image.pixelColor(15, 15), QColor(10, 200, 30));
        button.setColor(QColor(250, 0, 0));
        button.render(&image);
        QCOMPARE(image.pixelColor(15, 15), QColor(250, 0, 0));
    }

    void focusRectangleOnlyWhenAskedFor()
    {
        // The dotted rectangle lies 4 pixels inside the edge; it is drawn
        // for a default button that has the focus, and only with FocusRect.
        auto darkOnFocusRectLine = [](bool focusRect, bool isDefault, int state) {
            FaceProbe button;
            button.resize(40, 40);
            button.setColor(Qt::white);
            button.setFocusRect(focusRect);
            button.SetButtonStyle(isDefault);
            QImage image(40, 40, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            button.paintFace(painter, state);
            int dark = 0;
            for (int x = 6; x < 34; ++x)
                if (qGray(image.pixel(x, 4)) < 200)
                    ++dark;
            return dark;
        };
        QVERIFY(darkOnFocusRectLine(true, true, TmyButton::StateFocus) > 0);
        QCOMPARE(darkOnFocusRectLine(false, true, TmyButton::StateFocus), 0);
        QCOMPARE(darkOnFocusRectLine(true, false, TmyButton::StateFocus), 0);
        QCOMPARE(darkOnFocusRectLine(true, true, 0), 0);
    }

    void focusedButtonGetsAOnePixelFrame()
    {
        FaceProbe button;
        button.resize(40, 40);
        button.setFocusRect(false);
        button.setColor(Qt::white);
        QImage image(40, 40, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        button.paintFace(painter, TmyButton::StateFocus);
        QCOMPARE(image.pixelColor(20, 0), button.palette().color(QPalette::WindowText));
        QCOMPARE(image.pixelColor(0, 20), button.palette().color(QPalette::WindowText));
    }
};

QTEST_MAIN(MyButtonTest)
#include "mybutton_test.moc"
