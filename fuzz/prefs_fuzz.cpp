// The preferences file as the program reads it at start-up and rewrites it
// on Save Prefs, through the profile-file unit: any file content must read
// safely, the saved settings must read back, and other sections must keep
// their values.
#include <cstdint>
#include <string>

#include "flight/ini.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const fuzz::ScratchFile file("ini", data, size);
    const std::string& path = file.path();

    // Start-up: the settings with their defaults.
    IniReadText("pref", "lDet", "ptu", path);
    for (const char* key : {"lDetVal", "endFltPr", "endFltAlt", "LPfilter"})
        IniReadNumber("pref", key, -1.0, path);
    IniReadText("pref", "endFlt", "", path);
    IniReadText("pref", "showAll", "yes", path);
    IniReadText("o3", "residual", "cmr", path);
    IniReadText("o3", "residualTable", "", path);

    const std::string otherBefore = IniReadText("other", "x", "<none>", path);
    const std::string stationBefore = IniReadText("station", "name", "<none>", path);

    // Save Prefs writes every setting, the table path in quotes.
    const std::string quoted = "\"/data/tables/residual o3.toz\"";
    const bool written = IniWriteText("pref", "lDet", "gps", path)
        && IniWriteNumber("pref", "lDetVal", "%1.2f", 2.5f, path) && IniWriteText("pref", "endFlt", "pa", path)
        && IniWriteNumber("pref", "endFltPr", "%1.2f", 5.0f, path)
        && IniWriteNumber("pref", "endFltAlt", "%1.1f", 30000.0f, path)
        && IniWriteText("pref", "showAll", "no", path) && IniWriteNumber("pref", "LPfilter", "%1.1f", 0.0f, path)
        && IniWriteText("o3", "residual", "table", path) && IniWriteText("o3", "residualTable", quoted, path);
    if (!written)
        fuzz::fail("cannot save the preferences");

    if (IniReadText("pref", "lDet", "", path) != "gps" || IniReadNumber("pref", "lDetVal", 0, path) != 2.5
        || IniReadText("pref", "endFlt", "", path) != "pa" || IniReadNumber("pref", "endFltPr", 0, path) != 5.0
        || IniReadNumber("pref", "endFltAlt", 0, path) != 30000.0 || IniReadText("pref", "showAll", "", path) != "no"
        || IniReadNumber("pref", "LPfilter", -1, path) != 0.0 || IniReadText("o3", "residual", "", path) != "table"
        || IniReadText("o3", "residualTable", "", path) != "/data/tables/residual o3.toz")
        fuzz::fail("saved preferences do not read back");

    if (IniReadText("other", "x", "<none>", path) != otherBefore
        || IniReadText("station", "name", "<none>", path) != stationBefore)
        fuzz::fail("saving the preferences changed another section");
    return 0;
}
