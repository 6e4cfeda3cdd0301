// lumo [PREFSFILE] [RAWFILE]: the desktop program. The optional raw file is
// imported right after start-up, as File > Import does with that file chosen.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <clocale>
#include <exception>

#include "mainfrm.h"
#include "qtdialogs.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Qt switches the C library to the user's locale; every number the
    // program writes to a file must keep "." as the decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("lumo"));
    app.setProperty("applicationTitle", QStringLiteral("LUMO"));

    const QStringList args = QApplication::arguments();
    lumo::TMainFrm::Options options;
    if (args.size() > 1)
        options.prefsFile = args[1];

    try {
        lumo::QtDialogs dialogs;
        lumo::TMainFrm mainFrm(dialogs, options);
        dialogs.setOwner(&mainFrm);
        mainFrm.createPlotWindows();
        mainFrm.show();
        if (args.size() > 2) {
            const QString raw = args[2];
            QTimer::singleShot(0, &mainFrm, [&mainFrm, raw] { mainFrm.importFile(raw); });
        }
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("LUMO"), QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
