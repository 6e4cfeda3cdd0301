#include "preferences.h"

#include <filesystem>
#include <limits>
#include <string_view>

#include "flight/archivekeys.h"
#include "flight/ini.h"
#include "flight/numbertext.h"
#include "flight/q5.h"
#include "prefsvalue.h"
#include "o3methodprefs.h"

namespace lumo {

namespace {

// A preferences number: the whole text, not negative, taken at single
// precision; `fallback` (with a warning when the key holds something else).
double prefNumber(const IniFile& ini, const char* key, double fallback, FlightWarnings& warnings)
{
    return static_cast<float>(prefsNumber(ini, "pref", key, 0, std::numeric_limits<float>::max(), fallback, warnings));
}

// The value an edit box holds after showing `value` with `format`.
double asShown(const char* format, double value)
{
    double shown = 0;
    parseNumber(formatNumbers(format, {value}), shown);
    return shown;
}

// Each key a number from 0 to 1e6, read at full precision.
constexpr double MaxUncertainty = 1e6;

void readUncertaintyKey(const IniFile& ini, const char* key, double& value, FlightWarnings& warnings)
{
    value = prefsNumber(ini, "uncertainty", key, 0, MaxUncertainty, value, warnings);
}

} // namespace

UncertaintySettings readUncertaintySettings(const IniFile& ini, FlightWarnings& warnings)
{
    UncertaintySettings s;
    readUncertaintyKey(ini, "currentPct", s.currentPct, warnings);
    readUncertaintyKey(ini, "backgroundUa", s.backgroundUa, warnings);
    readUncertaintyKey(ini, "pumpTempK", s.pumpTempK, warnings);
    readUncertaintyKey(ini, "flowPct", s.flowPct, warnings);
    readUncertaintyKey(ini, "humidityPct", s.humidityPct, warnings);
    readUncertaintyKey(ini, "pumpEffPct100", s.pumpEffPct100, warnings);
    readUncertaintyKey(ini, "pumpEffPct10", s.pumpEffPct10, warnings);
    readUncertaintyKey(ini, "pumpEffPct5", s.pumpEffPct5, warnings);
    readUncertaintyKey(ini, "conversionPct", s.conversionPct, warnings);
    return s;
}

UncertaintySettings readUncertaintySettings(const std::string& file)
{
    FlightWarnings ignored;
    return readUncertaintySettings(IniFile(file), ignored);
}

Preferences readPreferences(const std::string& file)
{
    Preferences p;
    const IniFile ini(file);
    FlightWarnings& w = p.warnings;
    p.lDetGps = prefsChoice(ini, "pref", "lDet", {"ptu", "gps"}, 0, w) == 1;
    p.lDetVal = prefNumber(ini, "lDetVal", 2.0, w);
    // The end-of-flight letters: "p" pressure, "a" altitude, in either order.
    const std::string endFlt = IniReadText("pref", "endFlt", "", ini);
    p.endFltPrOn = endFlt.find('p') != std::string::npos;
    p.endFltAltOn = endFlt.find('a') != std::string::npos;
    if (trimBlanks(endFlt).find_first_not_of("pa") != std::string_view::npos)
        warnPrefsValue(w, "pref", "endFlt", endFlt, "made of the letters p and a",
                       std::string(p.endFltPrOn ? "pressure " : "") + (p.endFltAltOn ? "altitude " : "")
                           + (p.endFltPrOn || p.endFltAltOn ? "end of flight" : "no end of flight"));
    p.endFltPr = asShown("%1.2f", prefNumber(ini, "endFltPr", 0, w));
    p.endFltAlt = asShown("%1.1f", prefNumber(ini, "endFltAlt", 0, w));
    // Missing: all data shown; any text but "yes" hides them.
    p.showAll = !ini.find("pref", "showAll") || prefsChoice(ini, "pref", "showAll", {"no", "yes"}, 0, w) == 1;
    p.lpFilter = asShown("%1.1f", prefNumber(ini, "LPfilter", 0, w));
    const std::string method = IniReadText("o3", "residual", "cmr", ini);
    p.resTable = !equalsNoCase(method, "cmr");
    p.resTableFile = IniReadText("o3", "residualTable", "", ini);
    p.archive = readArchiveStation(file);
    for (const ArchiveField& f : ArchiveFields)
        p.archive.*f.member = checkedText("archive", f.key, p.archive.*f.member, w);
    p.uncertainty = readUncertaintySettings(ini, w);
    p.o3Method = readO3MethodSettings(ini, p.warnings);
    if (p.resTable && !equalsNoCase(method, "table"))
        addWarning(p.warnings, "residual-method",
                   "The preferences name the residual method \"" + method
                       + "\", which is neither CMR nor TABLE; the TABLE method was used with the table \""
                       + p.resTableFile + "\".");
    return p;
}

bool writePreferences(const std::string& file, const Preferences& prefs)
{
    std::string endFlt;
    if (prefs.endFltPrOn)
        endFlt.push_back('p');
    if (prefs.endFltAltOn)
        endFlt.push_back('a');
    const auto single = [](double v) { return static_cast<float>(v); };
    return IniWriteText("pref", "lDet", prefs.lDetGps ? "gps" : "ptu", file)
        && IniWriteNumber("pref", "lDetVal", "%1.2f", single(prefs.lDetVal), file)
        && IniWriteText("pref", "endFlt", endFlt, file)
        && IniWriteNumber("pref", "endFltPr", "%1.2f", single(prefs.endFltPr), file)
        && IniWriteNumber("pref", "endFltAlt", "%1.1f", single(prefs.endFltAlt), file)
        && IniWriteText("pref", "showAll", prefs.showAll ? "yes" : "no", file)
        && IniWriteNumber("pref", "LPfilter", "%1.1f", single(prefs.lpFilter), file)
        && IniWriteText("o3", "residual", prefs.resTable ? "table" : "cmr", file)
        && IniWriteText("o3", "residualTable", "\"" + prefs.resTableFile + "\"", file)
        && writeArchiveStation(file, prefs.archive);
}

void checkPreferencesFile(Preferences& prefs, const std::string& file)
{
    std::error_code ec;
    const bool folder = std::filesystem::is_directory(file, ec);
    if (!folder && std::filesystem::exists(file, ec))
        return;
    addWarning(prefs.warnings, "prefs-missing",
               "The preferences file " + file + (folder ? " is a folder" : " does not exist")
                   + "; the default settings were used (launch by PTU at 2 m/s, no end of flight,"
                     " no filter, residual by CMR).");
}

void applyPreferences(Q5& q, const Preferences& prefs)
{
    q.setupWarnings = prefs.warnings;
    q.lDetGps = prefs.lDetGps ? 1 : 0;
    q.lDetVal = prefs.lDetVal;
    q.endFltPr = prefs.endFltPrOn ? prefs.endFltPr : 0;
    q.endFltAlt = prefs.endFltAltOn ? prefs.endFltAlt : 0;
    q.showAll = prefs.showAll ? 1 : 0;
    q.lpFilter = prefs.lpFilter;
    q.resTable = prefs.resTable ? 1 : 0;
    if (prefs.resTable)
        q.resTableFile = prefs.resTableFile;
    q.uncertainty = prefs.uncertainty;
    q.o3Method = prefs.o3Method;
}

} // namespace lumo
