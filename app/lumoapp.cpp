#include "lumoapp.h"

#include <QTimer>

#include "mainfrm.h"

namespace lumo {

std::unique_ptr<TMainFrm> startLumo(const QStringList& args, AppDialogs& dialogs, int splashMs)
{
    TMainFrm::Options options;
    if (args.size() > 1)
        options.prefsFile = args[1];
    options.splashMs = splashMs;
    auto mainFrm = std::make_unique<TMainFrm>(dialogs, options);
    mainFrm->createPlotWindows();
    mainFrm->show();
    if (args.size() > 2) {
        TMainFrm* frm = mainFrm.get();
        const QString raw = args[2];
        QTimer::singleShot(0, frm, [frm, raw] { frm->importFile(raw); });
    }
    return mainFrm;
}

} // namespace lumo
