#include "o3methodprefs.h"

#include <string_view>

#include "flight/ini.h"
#include "flight/numbertext.h"

namespace lumo {

namespace {

template <typename T, std::size_t N>
bool pick(const std::string& value, const std::pair<const char*, T> (&names)[N], T& out)
{
    for (const auto& [name, v] : names)
        if (value == name) {
            out = v;
            return true;
        }
    return false;
}

void badValue(FlightWarnings& warnings, const char* key, const std::string& value, const std::string& used)
{
    addWarning(warnings, "prefs-value",
               std::string("The preferences give [o3] ") + key + "=" + value + ", which is not one of its values; "
                   + used + " was used instead.");
}

// A key with named values; a missing or empty key keeps `value`.
template <typename T, std::size_t N>
void readChoice(const IniFile& ini, const char* key, const std::pair<const char*, T> (&names)[N], T& value,
                FlightWarnings& warnings)
{
    const std::string text = lowerCase(IniReadText("o3", key, "", ini));
    if (text.empty() || pick(text, names, value))
        return;
    for (const auto& [name, v] : names)
        if (v == value) {
            badValue(warnings, key, text, name);
            return;
        }
}

// A time constant in s, greater than 0; "auto" (where allowed) gives Missing.
void readSeconds(const IniFile& ini, const char* key, bool autoAllowed, double& value, FlightWarnings& warnings)
{
    const std::string text = lowerCase(IniReadText("o3", key, "", ini));
    double v = 0;
    if (text.empty())
        return;
    if (autoAllowed && text == "auto")
        value = Missing;
    else if (parseNumber(text, v) && v > 0 && v <= 1e6)
        value = v;
    else
        badValue(warnings, key, text,
                 value == Missing ? std::string("auto (by sonde type)") : formatNumbers("%.1f s", {value}));
}

constexpr std::pair<const char*, O3Method> MethodNames[] = {{"classic", O3Method::Classic},
                                                           {"standard", O3Method::Standard}};
constexpr std::pair<const char*, bool> YesNo[] = {{"no", false}, {"yes", true}};
constexpr std::pair<const char*, PumpTable> PumpTableNames[] = {
    {"auto", PumpTable::Auto}, {"komhyr1986", PumpTable::Komhyr1986}, {"komhyr1995", PumpTable::Komhyr1995},
    {"noaa", PumpTable::Noaa}, {"jma", PumpTable::Jma},               {"file", PumpTable::File}};
constexpr std::pair<const char*, BackgroundChoice> BackgroundNames[] = {
    {"auto", BackgroundChoice::Auto}, {"ib0", BackgroundChoice::Ib0}, {"ib1", BackgroundChoice::Ib1},
    {"ib2", BackgroundChoice::Ib2},   {"bkg", BackgroundChoice::Bkg}};
constexpr std::pair<const char*, TransferTo> TransferNames[] = {
    {"none", TransferTo::None}, {"z05", TransferTo::Z05}, {"6a10", TransferTo::SixA10}};

template <typename T, std::size_t N>
const char* nameOf(const std::pair<const char*, T> (&names)[N], T v)
{
    for (const auto& [name, value] : names)
        if (value == v)
            return name;
    return "";
}

} // namespace

const char* methodName(O3Method m) { return nameOf(MethodNames, m); }
const char* pumpTableName(PumpTable t) { return nameOf(PumpTableNames, t); }
const char* backgroundName(BackgroundChoice b) { return nameOf(BackgroundNames, b); }
const char* transferName(TransferTo t) { return nameOf(TransferNames, t); }

O3MethodSettings readO3MethodSettings(const IniFile& ini, FlightWarnings& warnings)
{
    O3MethodSettings s;
    readChoice(ini, "method", MethodNames, s.method, warnings);
    readChoice(ini, "responseCorrection", YesNo, s.responseCorrection, warnings);
    readChoice(ini, "pumpTable", PumpTableNames, s.pumpTable, warnings);
    readChoice(ini, "background", BackgroundNames, s.background, warnings);
    readSeconds(ini, "tauFast", true, s.tauFast, warnings);
    readSeconds(ini, "tauSlow", false, s.tauSlow, warnings);
    readChoice(ini, "transferTo", TransferNames, s.transferTo, warnings);
    readChoice(ini, "pumpHeatOffset", YesNo, s.pumpHeatOffset, warnings);
    if (s.responseCorrection && !s.standard()) {
        s.responseCorrection = false;
        addWarning(warnings, "prefs-value",
                   "The preferences give [o3] responseCorrection=yes with method=classic; the response correction"
                   " belongs to the standard method, so the classic run was made without it.");
    }
    return s;
}

} // namespace lumo
