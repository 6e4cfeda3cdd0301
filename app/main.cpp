// lumo [PREFSFILE] [RAWFILE]: the desktop program. The optional raw file is
// imported right after start-up, as File > Import does with that file chosen.
#include <QApplication>
#include <QMessageBox>

#include <exception>

#include "lumoapp.h"
#include "mainfrm.h"
#include "qtdialogs.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumo"));
    app.setProperty("applicationTitle", QStringLiteral("LUMO"));

    try {
        lumo::QtDialogs dialogs;
        const auto mainFrm = lumo::startLumo(QApplication::arguments(), dialogs);
        dialogs.setOwner(mainFrm.get());
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("LUMO"), QString::fromLocal8Bit(e.what()));
        return 1;
    }
}
