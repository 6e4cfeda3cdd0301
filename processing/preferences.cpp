#include "preferences.h"

#include <filesystem>
#include <string_view>

#include "flight/archivekeys.h"
#include "flight/ini.h"
#include "flight/numbertext.h"
#include "flight/q5.h"
#include "o3methodprefs.h"

namespace lumo {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// A preferences number: the whole text, at single precision, not negative.
bool prefNumber(const std::string& text, double& value)
{
    double v = 0;
    if (!parseNumber(text, v) || !(static_cast<float>(v) >= 0))
        return false;
    value = static_cast<float>(v);
    return true;
}

// The value an edit box holds after showing `value` with `format`.
double asShown(const char* format, double value)
{
    double shown = 0;
    parseNumber(formatNumbers(format, {value}), shown);
    return shown;
}

void readUncertaintyKey(const std::string& file, const char* key, double& value)
{
    double v = 0;
    if (parseNumber(IniReadText("uncertainty", key, "", file), v) && v >= 0 && v <= 1e6)
        value = v;
}

} // namespace

UncertaintySettings readUncertaintySettings(const std::string& file)
{
    UncertaintySettings s;
    readUncertaintyKey(file, "currentPct", s.currentPct);
    readUncertaintyKey(file, "backgroundUa", s.backgroundUa);
    readUncertaintyKey(file, "pumpTempK", s.pumpTempK);
    readUncertaintyKey(file, "flowPct", s.flowPct);
    readUncertaintyKey(file, "humidityPct", s.humidityPct);
    readUncertaintyKey(file, "pumpEffPct100", s.pumpEffPct100);
    readUncertaintyKey(file, "pumpEffPct10", s.pumpEffPct10);
    readUncertaintyKey(file, "pumpEffPct5", s.pumpEffPct5);
    readUncertaintyKey(file, "conversionPct", s.conversionPct);
    return s;
}

Preferences readPreferences(const std::string& file)
{
    Preferences p;
    p.lDetGps = equalsNoCase(IniReadText("pref", "lDet", "ptu", file), "gps");
    double v = 0;
    p.lDetVal = prefNumber(IniReadText("pref", "lDetVal", "-1.0", file), v) ? v : 2.0;
    const std::string endFlt = IniReadText("pref", "endFlt", "", file);
    p.endFltPrOn = endFlt.find('p') != std::string::npos;
    p.endFltAltOn = endFlt.find('a') != std::string::npos;
    p.endFltPr = prefNumber(IniReadText("pref", "endFltPr", "0.0", file), v) ? asShown("%1.2f", v) : 0;
    p.endFltAlt = prefNumber(IniReadText("pref", "endFltAlt", "0.0", file), v) ? asShown("%1.1f", v) : 0;
    p.showAll = equalsNoCase(IniReadText("pref", "showAll", "yes", file), "yes");
    p.lpFilter = prefNumber(IniReadText("pref", "LPfilter", "0.0", file), v) ? asShown("%1.1f", v) : 0;
    const std::string method = IniReadText("o3", "residual", "cmr", file);
    p.resTable = !equalsNoCase(method, "cmr");
    p.resTableFile = IniReadText("o3", "residualTable", "", file);
    p.archive = readArchiveStation(file);
    p.uncertainty = readUncertaintySettings(file);
    p.o3Method = readO3MethodSettings(file, p.warnings);
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
    if (std::filesystem::exists(file, ec))
        return;
    addWarning(prefs.warnings, "prefs-missing",
               "The preferences file " + file
                   + " does not exist; the default settings were used (launch by PTU at 2 m/s, no end of flight,"
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
