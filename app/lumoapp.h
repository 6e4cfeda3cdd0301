#pragma once

#include <QStringList>

#include <memory>

namespace lumo {

class AppDialogs;
class TMainFrm;

// The program between the creation of the application object and its event
// loop, for `lumo [PREFSFILE] [RAWFILE]`: the main window (splash and
// preferences included), then the surface, flight and wind plot windows; the
// main window is shown and, with a raw file, that flight is imported once the
// event loop runs, as File > Import does with that file chosen.
std::unique_ptr<TMainFrm> startLumo(const QStringList& args, AppDialogs& dialogs, int splashMs = 2000);

} // namespace lumo
