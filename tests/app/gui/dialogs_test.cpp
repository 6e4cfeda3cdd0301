// The Qt implementation of the window's dialogs: each box is modal, on top,
// with the caption, icon and buttons asked for, and gives back the answer or
// the chosen path. A timer answers the box once it is up.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "support/mainwindow.h"
#include "qtdialogs.h"

using namespace lumo;
using namespace lumo::test;

class DialogsTest : public QObject {
    Q_OBJECT

    // Runs `check` on the modal dialog of type T as soon as it is shown.
    template <typename T>
    static void whenUp(std::function<void(T&)> check)
    {
        QTimer::singleShot(0, [check] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            check(*dialog);
        });
    }

    static void expectBox(QMessageBox& box, const char* caption, const char* text, QMessageBox::Icon icon,
        QMessageBox::StandardButtons buttons)
    {
        QCOMPARE(box.windowTitle(), QString::fromLatin1(caption));
        QCOMPARE(box.text(), QString::fromLatin1(text));
        QCOMPARE(box.icon(), icon);
        QCOMPARE(box.standardButtons(), buttons);
        QVERIFY(box.isModal());
        QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
    }

private slots:
    void initTestCase() { initGuiTests(); }

    void questionGivesYesOnlyForYes()
    {
        QtDialogs dialogs;
        whenUp<QMessageBox>([](QMessageBox& box) {
            expectBox(box, "Confirm", "Terminate program?", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
            box.button(QMessageBox::Yes)->click();
        });
        QVERIFY(dialogs.askYesNo("Confirm", "Terminate program?"));
        whenUp<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
        QVERIFY(!dialogs.askYesNo("Surface Pressure", "Use the new value?"));
    }

    void errorAndStatusBoxes()
    {
        QtDialogs dialogs;
        whenUp<QMessageBox>([](QMessageBox& box) {
            expectBox(box, "Error", "Error loading flight data, load aborted.", QMessageBox::Warning, QMessageBox::Ok);
            box.button(QMessageBox::Ok)->click();
        });
        dialogs.showError("Error", "Error loading flight data, load aborted.");
        whenUp<QMessageBox>([](QMessageBox& box) {
            expectBox(box, "Status", "Preferences have been saved.", QMessageBox::Information, QMessageBox::Ok);
            box.button(QMessageBox::Ok)->click();
        });
        dialogs.showStatus("Status", "Preferences have been saved.");
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void openDialogChoosesAnExistingFile()
    {
        TempDir dir;
        const std::string raw = dir.write("f.raw", "x");
        QtDialogs dialogs;
        whenUp<QFileDialog>([raw](QFileDialog& dlg) {
            QCOMPARE(dlg.windowTitle(), QStringLiteral("Import Data"));
            QCOMPARE(dlg.nameFilters(), QStringList({QStringLiteral("Raw data files (*.raw) (*.raw)"), QStringLiteral("All files (*.*) (*)")}));
            QCOMPARE(dlg.fileMode(), QFileDialog::ExistingFile);
            QCOMPARE(dlg.acceptMode(), QFileDialog::AcceptOpen);
            dlg.selectFile(qs(raw));
            static_cast<QDialog&>(dlg).accept();
        });
        FileDialogRequest request{"Raw data files (*.raw)|*.raw|All files (*.*)|*.*", "Import Data", "", ""};
        QCOMPARE(dialogs.openFile(request), std::optional<std::string>(raw));

        whenUp<QFileDialog>([](QFileDialog& dlg) { dlg.reject(); });
        QCOMPARE(dialogs.openFile(request), std::optional<std::string>());
    }

    void saveDialogAddsTheDefaultExtension()
    {
        TempDir dir;
        QtDialogs dialogs;
        whenUp<QFileDialog>([](QFileDialog& dlg) {
            QCOMPARE(dlg.acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dlg.defaultSuffix(), QStringLiteral("eff"));
            static_cast<QDialog&>(dlg).accept();
        });
        FileDialogRequest request{"Pump efficiency files (*.eff)|*.eff|All files (*.*)|*.*", "", dir.file("pump"), "eff"};
        QCOMPARE(dialogs.saveFile(request), std::optional<std::string>(dir.file("pump.eff")));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
