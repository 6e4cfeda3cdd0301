// The preferences file as the programs read it at start-up and rewrite it on
// Save Prefs, through the core's reader and writer: any file content must
// read safely, the saved settings must read back, and other sections must
// keep their values.
#include <cstdint>
#include <string>

#include "flight/ini.h"
#include "fuzzsupport.h"
#include "processing/preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const fuzz::ScratchFile file("ini", data, size);
    const std::string& path = file.path();

    const Preferences atStart = readPreferences(path);
    if (!(atStart.lDetVal >= 0) || !(atStart.endFltPr >= 0) || !(atStart.endFltAlt >= 0) || !(atStart.lpFilter >= 0))
        fuzz::fail("a preferences number read as negative or not a number");
    for (const FlightWarning& w : atStart.warnings)
        if (w.code != "prefs-value" && w.code != "residual-method")
            fuzz::fail("an unexpected preferences warning");

    const std::string otherBefore = IniReadText("other", "x", "<none>", path);
    const std::string stationBefore = IniReadText("station", "name", "<none>", path);

    Preferences saved;
    saved.lDetGps = true;
    saved.lDetVal = 2.5;
    saved.endFltPrOn = true;
    saved.endFltAltOn = true;
    saved.endFltPr = 5.0;
    saved.endFltAlt = 30000.0;
    saved.showAll = false;
    saved.lpFilter = 0.0;
    saved.resTable = true;
    saved.resTableFile = "/data/tables/residual o3.toz";
    saved.archive = atStart.archive; // whatever the file held must survive a save
    saved.archive.agency = " \"quoted\" agency ";
    if (!writePreferences(path, saved))
        fuzz::fail("cannot save the preferences");

    const Preferences back = readPreferences(path);
    if (back.lDetGps != saved.lDetGps || back.lDetVal != saved.lDetVal || back.endFltPrOn != saved.endFltPrOn
        || back.endFltAltOn != saved.endFltAltOn || back.endFltPr != saved.endFltPr || back.endFltAlt != saved.endFltAlt
        || back.showAll != saved.showAll || back.lpFilter != saved.lpFilter || back.resTable != saved.resTable
        || back.resTableFile != saved.resTableFile || back.archive.agency != saved.archive.agency
        || back.archive.platformType != saved.archive.platformType || back.archive.country != saved.archive.country)
        fuzz::fail("saved preferences do not read back");

    if (IniReadText("other", "x", "<none>", path) != otherBefore
        || IniReadText("station", "name", "<none>", path) != stationBefore)
        fuzz::fail("saving the preferences changed another section");
    return 0;
}
