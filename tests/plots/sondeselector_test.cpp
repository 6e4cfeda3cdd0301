#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "plots/mybutton.h"
#include "plots/sondeselector.h"

using lumo::SondeSelector;

class SondeSelectorTest : public QObject {
    Q_OBJECT
private slots:
    void arrowsStopAtBothEnds()
    {
        QWidget owner;
        SondeSelector selector(&owner, SondeSelector::Look{}, 3);
        QSignalSpy stepped(&selector, &SondeSelector::stepped);
        QVERIFY(!selector.prev->isEnabled());
        selector.next->click();
        selector.next->click();
        QCOMPARE(selector.number->text(), QStringLiteral("3"));
        QVERIFY(!selector.next->isEnabled());
        QVERIFY(selector.prev->isEnabled());
        selector.next->click(); // disabled: nothing happens
        QCOMPARE(selector.current(), 3);
        selector.prev->click();
        QCOMPARE(stepped.count(), 3);
        QCOMPARE(stepped.last().at(0).toInt(), 2);
        QVERIFY(selector.next->isEnabled());

        selector.reset();
        QCOMPARE(selector.current(), 1);
        QVERIFY(!selector.prev->isEnabled());
        QVERIFY(selector.next->isEnabled());
    }

    // A step that leaves the range shows the number but reports no ozonesonde.
    void noReportOutsideTheRange()
    {
        QWidget owner;
        SondeSelector selector(&owner, SondeSelector::Look{}, 4);
        QSignalSpy stepped(&selector, &SondeSelector::stepped);
        selector.step(-1);
        QCOMPARE(selector.number->text(), QStringLiteral("0"));
        QCOMPARE(stepped.count(), 0);
    }

    void focusFollowsTheLook()
    {
        QWidget owner;
        SondeSelector::Look look;
        look.buttonsTakeFocus = true;
        look.nextTip = QStringLiteral("Next ozonesonde");
        SondeSelector selector(&owner, look, 4);
        QCOMPARE(selector.prev->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(selector.number->focusPolicy(), Qt::NoFocus);
        QVERIFY(selector.number->isReadOnly());
        QCOMPARE(selector.next->toolTip(), QStringLiteral("Next ozonesonde"));
    }
};

QTEST_MAIN(SondeSelectorTest)
#include "sondeselector_test.moc"
