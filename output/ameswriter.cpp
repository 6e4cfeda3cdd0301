#include "ameswriter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string_view>

#include "archivetext.h"
#include "flight/datetime.h"
#include "flight/q5.h"
#include "processing/ozone.h"
#include "processing/standardsteps.h"

namespace lumo {

namespace {

constexpr const char* Eol = "\r\n";
constexpr std::size_t MaxLine = 132;
constexpr const char* MissingValue = "99999"; // above every valid value of every variable
constexpr double MissingNumber = 99999;
// s (11.6 days, far beyond any sounding): with the widest values and the
// missing value in the narrow pump-current and battery fields, the record
// line then stays within 132 characters.
constexpr double MaxDurationS = 1e6;
constexpr const char* NotGiven = "(not given)";
constexpr int StationNameLength = 40;
constexpr int TextLength = 20;     // LENA of the short character values
constexpr int HeadingLength = 132; // LENA of the two column-heading lines
// Pressures (hPa) of the inverse pump efficiencies the NDACC format lists.
constexpr double EfficiencyPressures[] = {2, 3, 5, 10, 20, 30, 50, 100, 200, 300, 500, 1000};

struct Variable {
    const char* name;
    int decimals;
    int width; // right-aligned, at least one blank before the value
    double (*get)(const ArchiveLevel&);
};

const Variable Variables[] = {
    {"Pressure (hPa)", 2, 9, [](const ArchiveLevel& l) { return l.pressure; }},
    {"Geopotential height (gpm)", 1, 8, [](const ArchiveLevel& l) { return l.gph; }},
    {"Temperature (K)", 2, 7, [](const ArchiveLevel& l) { return l.temperature + 273.15; }},
    {"Relative humidity (%)", 1, 6, [](const ArchiveLevel& l) { return l.humidity; }},
    {"Ozone partial pressure (mPa)", 3, 8, [](const ArchiveLevel& l) { return l.o3pp; }},
    {"Ozone mixing ratio (ppmv)", 4, 8, [](const ArchiveLevel& l) { return l.o3Mix; }},
    {"Wind direction (degrees, from which the wind blows)", 1, 6, [](const ArchiveLevel& l) { return l.windDir; }},
    {"Wind speed (m/s)", 2, 7, [](const ArchiveLevel& l) { return l.windSpeed; }},
    {"Pump temperature (K)", 2, 7, [](const ArchiveLevel& l) { return l.pumpTemp + 273.15; }},
    {"Ozone cell current (microA), as received", 3, 7, [](const ArchiveLevel& l) { return l.cellCurrent; }},
    {"GPS latitude (decimal degrees N)", 5, 10, [](const ArchiveLevel& l) { return l.lat; }},
    {"GPS longitude (decimal degrees E, -180 to 180)", 5, 11, [](const ArchiveLevel& l) { return l.lon; }},
    {"GPS altitude (m)", 1, 8, [](const ArchiveLevel& l) { return l.gpsAlt; }},
    {"Pump motor current (mA)", 0, 4, [](const ArchiveLevel& l) { return l.pumpCurrent; }},
    {"Ozonesonde battery voltage (V)", 1, 5, [](const ArchiveLevel& l) { return l.battery; }},
    {"Ozone partial pressure uncertainty (mPa, 1 sigma)", 3, 7, [](const ArchiveLevel& l) { return l.o3ppUnc; }},
};
constexpr int NV = sizeof Variables / sizeof Variables[0];

// The last variable of a flight the standard method processed: the classic
// equation's partial pressure beside the standard one, for comparison. The
// record line of the other variables fills the 132 characters, so each record
// continues on a second line with this value.
const Variable ClassicVariable = {"Ozone partial pressure by the classic equation (mPa), kept for comparison", 3, 8,
                                  [](const ArchiveLevel& l) { return l.o3ppClassic; }};

struct AuxNumber {
    std::string name;
    double value;
    int decimals;
    const char* missing = MissingValue;
};

struct AuxText {
    std::string name;
    std::string value;
    int length;
};

// Words on as few lines of at most 132 characters as they fit.
void wrapped(std::vector<std::string>& lines, const std::vector<std::string>& words)
{
    std::string line;
    for (const std::string& w : words) {
        if (!line.empty() && line.size() + 1 + w.size() > MaxLine) {
            lines.push_back(line);
            line.clear();
        }
        if (!line.empty())
            line += ' ';
        line += w;
    }
    if (!line.empty())
        lines.push_back(line);
}

std::string fit(std::string_view text)
{
    return printableAscii(text.substr(0, MaxLine));
}

// One item for readers that split at blanks: printable ASCII, blanks (and
// runs of them) become "_", cut to `length`.
std::string token(std::string_view text, std::size_t length)
{
    std::string out;
    for (char c : printableAscii(text)) {
        if (c != ' ')
            out += c;
        else if (!out.empty() && out.back() != '_')
            out += '_';
    }
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    return out.substr(0, length);
}

// "1.0% KI, full buffer": the KI concentration (%) before "% KI", and the
// buffer as a fraction of the full recipe from the word before "buffer".
double kiPercent(const std::string& solution)
{
    const std::size_t at = solution.find('%');
    if (at == std::string::npos || solution.find("KI", at) == std::string::npos)
        return Unknown;
    std::size_t from = at;
    while (from > 0 && (std::isdigit(static_cast<unsigned char>(solution[from - 1])) || solution[from - 1] == '.'))
        --from;
    double v = 0;
    return from < at && std::sscanf(solution.substr(from, at - from).c_str(), "%lf", &v) == 1 ? v : Unknown;
}

double bufferFraction(const std::string& solution)
{
    const std::size_t at = solution.find("buffer");
    if (at == std::string::npos)
        return Unknown;
    const std::string before = solution.substr(0, at);
    const std::size_t end = before.find_last_not_of(' ');
    if (end == std::string::npos)
        return Unknown;
    const std::size_t begin = before.find_last_of(" ,", end) == std::string::npos ? 0 : before.find_last_of(" ,", end) + 1;
    const std::string word = before.substr(begin, end + 1 - begin);
    if (word == "full")
        return 1.0;
    if (word == "half")
        return 0.5;
    if (word == "no" || word == "zero")
        return 0.0;
    double v = 0;
    return std::sscanf(word.c_str(), "%lf", &v) == 1 && v >= 0 && v <= 1 ? v : Unknown;
}

double kelvin(double degC) { return known(degC) ? degC + 273.15 : Unknown; }
double kelvin(const std::optional<double>& degC) { return degC ? *degC + 273.15 : Unknown; }
double orUnknown(const std::optional<double>& v) { return v ? *v : Unknown; }

// The data version as a number ("1.0", "2"); unknown otherwise.
double versionNumber(const std::string& text)
{
    double v = 0;
    char tail = 0;
    return std::sscanf(text.c_str(), "%lf%c", &v, &tail) == 1 && v >= 0 && v < 100 ? v : Unknown;
}

const char* const Months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

std::string catalogueTime(double dateTime)
{
    const DateParts d = decodeDateTime(std::round(dateTime * SecondsPerDay) / SecondsPerDay);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d-%s-%04d %02d:%02d:%02d", d.day, Months[(d.month + 11) % 12], d.year,
                  d.hour, d.minute, d.second);
    return buf;
}

std::string column(std::string text, std::size_t width)
{
    text.resize(width, ' ');
    return text;
}

// The NDACC catalogue line, before the NASA Ames header: PI, instrument,
// station, species, start and end, then final (0), no comment pointer (0)
// and the two-digit data version.
std::string catalogueLine(const std::string& pi, const std::string& station, double start, double end,
                          double version)
{
    // One blank at least after each text column, so that the columns stay
    // apart for a reader that splits at blanks.
    std::string upperPi = printableAscii(pi).substr(0, 19), upperStation = token(station, 11);
    for (std::string* t : {&upperPi, &upperStation})
        for (char& c : *t)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    char flag[8];
    std::snprintf(flag, sizeof flag, "00%02d", known(version) ? static_cast<int>(version) : 0);
    return column(upperPi, 20) + column("O3SONDE", 12) + column(upperStation, 12) + column("OZONE", 12)
        + column(catalogueTime(start), 20) + column(catalogueTime(end), 20) + flag;
}

std::string orNotGiven(const std::string& v) { return v.empty() ? NotGiven : fit(v); }

std::string dateWords(double dateTime)
{
    const DateParts d = decodeDateTime(std::round(dateTime * SecondsPerDay) / SecondsPerDay);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d %02d %02d", d.year, d.month, d.day);
    return buf;
}

void pad(std::string& out, std::size_t from, int width)
{
    const std::size_t len = out.size() - from;
    const std::size_t want = len < static_cast<std::size_t>(width) ? static_cast<std::size_t>(width) : len + 1;
    out.insert(from, want - len, ' ');
}

void appendValue(std::string& out, const Variable& v, const ArchiveLevel& l)
{
    const std::size_t from = out.size();
    const double x = v.get(l);
    // The missing value must exceed every valid one, and a value too wide
    // for its field (each field holds the quantity's physical range) is a
    // corrupt reading that would push the line past 132.
    if (known(x) && std::fabs(x) < MissingNumber)
        appendFixed(out, x, v.decimals);
    if (out.size() == from || out.size() - from >= static_cast<std::size_t>(v.width)) {
        out.resize(from);
        out += MissingValue;
    }
    pad(out, from, v.width);
}

} // namespace

std::string amesFileName(const ArchiveSonde& sonde, const ArchiveMeta& meta)
{
    const DateParts d = decodeDateTime(std::round(sonde.launchTime * SecondsPerDay) / SecondsPerDay);
    char hour[8];
    std::snprintf(hour, sizeof hour, ".b%02d", d.hour);
    const std::string sn = fileNamePiece(sonde.sn, true);
    const std::string& code = meta.station.ndaccCode;
    if (code.size() == 2 && std::isalpha(static_cast<unsigned char>(code[0]))
        && std::isalpha(static_cast<unsigned char>(code[1]))) {
        // NDACC: station code, YYMMDD, launch hour; a second ozonesonde of
        // the chain keeps its serial so that the names stay apart.
        char name[16];
        std::snprintf(name, sizeof name, "%c%c%02d%02d%02d", std::tolower(static_cast<unsigned char>(code[0])),
                      std::tolower(static_cast<unsigned char>(code[1])), d.year % 100, d.month, d.day);
        return std::string(name) + (sonde.slot == 0 ? std::string() : "." + sn) + hour;
    }
    return meta.baseName + "." + sn + hour;
}

namespace {

// The standard method's result of the sonde, nullptr for the classic run.
const O3MethodResult* standardResult(const Q5& q, const ArchiveSonde& s)
{
    const O3MethodResult& m = q.o3MethodResult[s.slot];
    return m.method == O3Method::Standard ? &m : nullptr;
}

bool applied(const O3MethodResult& m, const char* step)
{
    return std::find(m.stepsApplied.begin(), m.stepsApplied.end(), step) != m.stepsApplied.end();
}

// Inverse pump efficiency (factor on P_O3) at p (hPa) from the table the
// standard method used: a built-in one, or the configuration's own.
double standardPumpFactor(const Q5& q, const O3MethodResult& m, double p)
{
    if (const PumpEffTable* t = builtInPumpTable(m.pumpTable))
        return pumpCorrection(*t, p);
    const PumpEffTable own{q.effP, q.effVal, nullptr, q.effCount < MaxTableRows ? q.effCount : MaxTableRows};
    return pumpCorrection(own, p);
}

// Seconds without needless decimals: "25", "21.5".
std::string seconds(double v) { return fixedText(v, std::fabs(v - std::round(v)) < 1e-9 ? 0 : 1); }

// What the standard method did beyond the classic equation to the current:
// the transfer function to a reference sonde/solution, and the correction of
// the cell's time response with its two time constants.
std::string transferComment(const Q5& q, const O3MethodResult& m)
{
    const TransferTo to = q.o3Method.transferTo;
    std::string text = !applied(m, "transfer") ? "no transfer function"
        : to == TransferTo::Z05                 ? "transfer to Z 0.5% KI half buffer"
                                                : "transfer to 6A 1.0% KI full buffer";
    if (m.responseCorrected && m.tauFast != Missing)
        text += ", time response corrected, tau_F " + seconds(m.tauFast) + " s, tau_S " + seconds(q.o3Method.tauSlow)
            + " s";
    else
        text += ", no time response correction";
    return text;
}

// The numeric auxiliary values of the NDACC format 2.0, in its order.
std::vector<AuxNumber> ndaccNumbers(const Q5& q, const ArchiveSonde& s, const std::vector<const ArchiveLevel*>& levels,
                                    double dataVersion)
{
    const O3SondeCfg& cfg = q.o3Sonde[s.slot];
    const DateParts launch = decodeDateTime(std::round(s.launchTime * SecondsPerDay) / SecondsPerDay);
    const double launchHours = launch.hour + launch.minute / 60.0 + launch.second / 3600.0;
    double minPressure = Unknown, maxGph = Unknown;
    for (const ArchiveLevel* l : levels) {
        if (known(l->pressure) && !(l->pressure >= minPressure))
            minPressure = l->pressure;
        if (known(l->gph) && !(l->gph <= maxGph))
            maxGph = l->gph;
    }
    // The reference surface values of the run.
    const double sfcP = q.sfcUseStd ? q.stdP : q.sfcP - q.sfcCorrP;
    const bool sfcKnown = q.sfcUseStd ? q.stdP > 0 : q.sfcP > 0;
    const double sfcT = q.sfcUseStd ? q.stdT : q.sfcT - q.sfcCorrT;
    const double sfcU = q.sfcUseStd ? q.stdU : q.sfcU - q.sfcCorrU;
    const double sfcO3 = q.sfcO3[s.slot] > 0 ? q.sfcO3[s.slot] / 10 : Unknown; // nb to mPa
    const double pumpTempAtLaunch = s.prelaunch.empty() ? Unknown : kelvin(s.prelaunch.back().pumpTemp);
    const O3MethodResult* standard = standardResult(q, s);
    // The classic run corrects the flow for no humidity; the standard method
    // gives its factor when it applied one.
    const double moistening = standard && standard->moistening != Missing ? standard->moistening : Unknown;
    const double background = standard ? (standard->backgroundUa != Missing ? standard->backgroundUa : Unknown)
        : s.backgroundApplied == Background::None ? 0.0
                                                  : s.background;

    std::vector<AuxNumber> auxNumbers = {
        {"Number of levels", static_cast<double>(levels.size()), 0},
        {"NDACC data format version number", 2.0, 1},
        {"Data version of data owner", dataVersion, 1},
        {"Station longitude [decimal degrees E] (range: -180.00 - 180.00)", q.stnLong, 4},
        {"Station latitude [decimal degrees N]", q.stnLat, 4},
        {"Station height [m]", q.stnAlt, 1},
        {"Launch time [decimal UT hours from 0 hours on day given by DATE]", launchHours, 6},
        {"Inverse pump flow rate (s/100 ml)", s.flowRate, 2},
        {"Temperature during flow rate measurement [K]", kelvin(cfg.flowTemp), 2},
        {"Relative humidity during flow rate measurement [%]", orUnknown(cfg.flowHumidity), 1},
        {"Humidity correction factor to flow rate (negative: not applied; positive: appl.)", moistening, 3},
    };
    for (double p : EfficiencyPressures) {
        char name[64];
        std::snprintf(name, sizeof name, "Inverse of pump efficiency at %4.0f hPa", p);
        // The factor the run multiplied the partial pressure with.
        auxNumbers.push_back({name, standard ? standardPumpFactor(q, *standard, p) : effFactor(q, p), 3});
    }
    const std::vector<AuxNumber> rest = {
        {"Ozone background prior to exposure to ozone in laboratory Ib0 [microA]", orUnknown(cfg.ib0), 3},
        {"Ozone background after exposure to ozone in laboratory Ib1 [microA]", orUnknown(cfg.ib1), 3},
        {"Ozone background on filter just prior to launch Ib2 [microA]", orUnknown(cfg.ib2), 3},
        {"Ozone background used in calculation of ozone [microA] (at the surface)", background, 3},
        {"KI solution concentration [%]", kiPercent(cfg.solutionType), 1},
        {"Buffer amount as a fraction of the buffer amount recommended by Komhyr 1986", bufferFraction(cfg.solutionType),
         2},
        {"KBr amount as a fraction of the 25 g/l recommended in the Komhyr 1986 recipe", Unknown, 2},
        {"Solution amount [cm^3]", orUnknown(cfg.solutionVolume), 1},
        {"Column ozone from sonde [DU] (incl. residual ozone) (COL1)", s.total, 2},
        {"Residual ozone from sonde [DU]", s.residual, 2},
        // Negative: computed against the reference total ozone, not applied.
        {"Correction factor (COL2/COL1) (negative: not applied; positive: applied)", -s.correctionFactor, 3},
        {"Surface pressure [hPa]", sfcKnown ? sfcP : Unknown, 2},
        {"Surface temperature [K]", sfcKnown ? kelvin(sfcT) : Unknown, 2},
        {"Surface humidity [%]", sfcKnown ? sfcU : Unknown, 1},
        {"Surface ozone partial pressure measured prior to launch [mPa]", sfcO3, 3},
        {"Internal temperature prior to launch [K]", pumpTempAtLaunch, 2},
        {"Internal temperature during surface ozone measurement [K]", Unknown, 2},
        {"Minimum pressure [hPa]", minPressure, 2},
        {"Maximum geopotential height [gpm]", maxGph, 1},
    };
    auxNumbers.insert(auxNumbers.end(), rest.begin(), rest.end());
    return auxNumbers;
}

std::string radiosondeType(const ArchiveStation& st)
{
    return st.radiosondeMaker.empty() || st.radiosondeModel.empty() ? st.radiosondeMaker + st.radiosondeModel
                                                                    : st.radiosondeMaker + " " + st.radiosondeModel;
}

// The character auxiliary values of the NDACC format 2.0, in its order.
std::vector<AuxText> ndaccTexts(const Q5& q, const ArchiveSonde& s, const ArchiveMeta& meta)
{
    const O3SondeCfg& cfg = q.o3Sonde[s.slot];
    const O3MethodResult* standard = standardResult(q, s);
    std::string subtraction = s.backgroundApplied == Background::Constant           ? "constant"
                              : s.backgroundApplied == Background::PressureDependent ? "pressure_dependent"
                                                                                     : "";
    std::string subtracted = s.backgroundApplied == Background::None ? "no" : "yes";
    std::string comment;
    if (standard) {
        // The standard method always subtracts a background: a constant, or
        // with the response correction Ib0 and the slow current decaying in
        // time.
        subtracted = "yes";
        subtraction = standard->responseCorrected ? "time_dependent" : "constant";
        comment = token(transferComment(q, *standard), HeadingLength);
    }
    std::string headings =
        "   Time   Press     GPH      T    RH     PO3   O3Mix  WDir   WSpd  TPump  ICell    GPSLat     GPSLon  GPSAlt"
        " IPmp  VBat  xPO3";
    std::string units =
        "      s     hPa     gpm      K     %     mPa    ppmv   deg    m/s      K     uA         N          E       m"
        "   mA     V   mPa";
    if (s.standardMethod) { // the value of the record's second line
        headings += "   cPO3";
        units += "    mPa";
    }
    return {
        // A single item as long as the comment needs, at least the short length.
        {"Comment on transfer function applied", comment,
         comment.size() > static_cast<std::size_t>(TextLength) ? static_cast<int>(comment.size()) : TextLength},
        {"Place of internal temperature sensor", cfg.thermistorText.empty() ? std::string("pump") : cfg.thermistorText,
         TextLength},
        {"Background subtracted (yes/no)", subtracted, TextLength},
        {"Background subtraction constant or altitude dependent (constant/pressure_dependent)", subtraction,
         TextLength},
        {"Ozonesonde type", s.model.empty() ? std::string("ECC") : "ECC_" + s.model, TextLength},
        {"Serial number of ozonesonde", s.sn, TextLength},
        {"Radiosonde type", radiosondeType(meta.station), TextLength},
        {"Flight number or data file name", meta.baseName, TextLength},
        {"Serial number of radiosonde", q.rsSondeId, TextLength},
        {"Column headings / heading units", headings, HeadingLength},
        {"Column headings / heading units", units, HeadingLength},
    };

}

// What the auxiliary list has no place for, as normal comments.
std::vector<std::string> normalComments(const Q5& q, const ArchiveSonde& s)
{
    const O3MethodResult* standard = standardResult(q, s);
    const bool moistened = standard && standard->moistening != Missing;
    const auto du = [](double v) { return known(v) ? fixedText(v, 2) : std::string("unknown"); };
    const auto hpa = [](double v) { return known(v) ? fixedText(v, 2) : std::string("unknown"); };
    std::vector<std::string> comments = {
        std::string("Written by ") + ProgramName + " " + ProgramVersion + ".",
        "Ascent only, one level per ozone sample of this ozonesonde.",
        "Integrated ozone from the surface to the burst (DU): " + du(s.measured) + ", 1-sigma uncertainty "
            + du(s.measuredUnc) + "; column ozone from sonde 1-sigma uncertainty (DU): " + du(s.totalUnc) + ".",
        "Residual method: "
            + std::string(known(s.residual) ? (s.residualByTable ? "climatological table" : "constant mixing ratio")
                                            : "none (residual unknown)")
            + ". Burst pressure (hPa): " + hpa(s.burstPressure) + ". WMO tropopause pressure (hPa): "
            + hpa(s.tropopausePressure) + ".",
        moistened ? "The pump flow rate is corrected for humidity by the factor "
                + fixedText(standard->moistening, 3) + "."
                  : std::string("The pump flow rate is not corrected for humidity."),
    };
    if (s.standardMethod)
        comments.push_back("Each record continues on a second line with the ozone partial pressure by the classic "
                           "equation (mPa, cPO3), kept for comparison; PO3 is the standard method's.");
    return comments;
}

} // namespace

ArchiveText amesFile(const Q5& q, const ArchiveSonde& s, const ArchiveMeta& meta)
{
    const ArchiveStation& st = meta.station;
    ArchiveText file;
    file.name = amesFileName(s, meta);
    if (!st.ndaccCode.empty() && file.name.rfind(meta.baseName + ".", 0) == 0)
        file.warnings.push_back("NDACC " + file.name + ": ndaccCode \"" + st.ndaccCode
                                + "\" in the preferences section [archive] is not two letters; the file keeps the "
                                  "flight's name");

    // The independent variable must rise strictly: a level that repeats the
    // time of the previous one (to the millisecond written) is left out.
    std::vector<const ArchiveLevel*> levels;
    long long lastMs = -1;
    std::size_t beyond = 0;
    for (const ArchiveLevel& l : s.ascent) {
        // A time after launch beyond days comes from a corrupt time stamp;
        // it would not fit the record line either.
        if (!(l.duration < MaxDurationS)) {
            ++beyond;
            continue;
        }
        const long long ms = std::llround(l.duration * 1000);
        if (ms <= lastMs)
            continue;
        lastMs = ms;
        levels.push_back(&l);
    }
    if (levels.size() + beyond < s.ascent.size())
        file.warnings.push_back("NDACC " + file.name + ": "
                                + std::to_string(s.ascent.size() - beyond - levels.size())
                                + " level(s) left out whose time after launch repeats the previous one");
    if (beyond > 0)
        file.warnings.push_back("NDACC " + file.name + ": " + std::to_string(beyond)
                                + " level(s) left out whose time after launch is beyond 1e6 s");

    const double dataVersion = versionNumber(st.dataVersion);
    if (!known(dataVersion))
        file.warnings.push_back("NDACC " + file.name + ": dataVersion \"" + st.dataVersion
                                + "\" in the preferences section [archive] is not a number; the data version is "
                                  "written as missing");
    const std::vector<AuxNumber> auxNumbers = ndaccNumbers(q, s, levels, dataVersion);
    const std::vector<AuxText> auxTexts = ndaccTexts(q, s, meta);
    const std::string rsType = radiosondeType(st);

    std::vector<std::string> h;
    h.push_back(""); // NLHEAD FFI, once the count is known
    h.push_back(orNotGiven(st.scientificAuthority));
    h.push_back(orNotGiven(st.agency));
    h.push_back(fit("ECC ozonesonde " + (s.model.empty() ? std::string() : s.model + " ") + s.sn + ", radiosonde "
                    + (rsType.empty() ? std::string() : rsType + " ") + q.rsSondeId));
    h.push_back(fit("Ozonesonde sounding, " + std::string(q.stnName)));
    h.push_back("1 1");
    h.push_back(dateWords(s.launchTime) + " " + dateWords(meta.generated));
    h.push_back("0");
    h.push_back(std::to_string(StationNameLength));
    h.push_back("Time after launch (s)");
    h.push_back("Station name");
    const int nv = NV + (s.standardMethod ? 1 : 0);
    h.push_back(std::to_string(nv));
    std::vector<std::string> scales(nv, "1"), missing(nv, MissingValue);
    wrapped(h, scales);
    wrapped(h, missing);
    for (const Variable& v : Variables)
        h.push_back(v.name);
    if (s.standardMethod)
        h.push_back(ClassicVariable.name);
    h.push_back(std::to_string(auxNumbers.size() + auxTexts.size()));
    h.push_back(std::to_string(auxTexts.size()));
    wrapped(h, std::vector<std::string>(auxNumbers.size(), "1"));
    std::vector<std::string> auxMissing;
    for (const AuxNumber& a : auxNumbers)
        auxMissing.push_back(a.missing);
    wrapped(h, auxMissing);
    std::vector<std::string> lengths;
    for (const AuxText& a : auxTexts)
        lengths.push_back(std::to_string(a.length));
    wrapped(h, lengths);
    // The missing value of a character variable: one item of z as long as
    // the variable.
    for (const AuxText& a : auxTexts)
        h.push_back(std::string(static_cast<std::size_t>(a.length), 'z'));
    for (const AuxNumber& a : auxNumbers)
        h.push_back(fit(a.name));
    for (const AuxText& a : auxTexts)
        h.push_back(a.name);
    const std::vector<std::string> special = {"All dates and times are UTC; time after launch counts from the launch.",
                                              "Missing values are 99999."};
    h.push_back(std::to_string(special.size()));
    h.insert(h.end(), special.begin(), special.end());
    const std::vector<std::string> normal = normalComments(q, s);
    std::vector<std::string> normalLines;
    for (const std::string& comment : normal) {
        std::vector<std::string> words;
        for (std::size_t from = 0, to; from < comment.size(); from = to + 1) {
            to = comment.find(' ', from);
            if (to == std::string::npos)
                to = comment.size();
            words.push_back(comment.substr(from, to - from));
        }
        wrapped(normalLines, words);
    }
    h.push_back(std::to_string(normalLines.size()));
    h.insert(h.end(), normalLines.begin(), normalLines.end());
    h[0] = std::to_string(h.size()) + " 2160";

    const double end = levels.empty() ? s.launchTime : s.launchTime + levels.back()->duration / SecondsPerDay;
    std::string& out = file.text;
    out.reserve((s.standardMethod ? 150 : 140) * levels.size() + 100 * h.size());
    out += catalogueLine(st.scientificAuthority, q.stnName, s.launchTime, end, dataVersion);
    out += Eol;
    for (const std::string& line : h) {
        out += line;
        out += Eol;
    }
    const std::string station = token(q.stnName, StationNameLength);
    out += station.empty() ? std::string(StationNameLength, 'z') : station;
    out += Eol;
    std::vector<std::string> auxValues, dataLines;
    for (std::size_t i = 0; i < auxNumbers.size(); ++i) {
        const AuxNumber& a = auxNumbers[i];
        // A value must stay below its missing value, which every reader
        // takes as the bound of the valid ones.
        const bool fits = std::fabs(a.value) < std::strtod(a.missing, nullptr);
        if (known(a.value) && !fits)
            file.warnings.push_back("NDACC " + file.name + ": " + a.name + " " + fixedText(a.value, a.decimals)
                                    + " is beyond what the format holds (below " + a.missing
                                    + "); written as missing");
        auxValues.push_back(known(a.value) && fits ? fixedText(a.value, a.decimals) : auxMissing[i]);
    }
    wrapped(dataLines, auxValues);
    for (const AuxText& a : auxTexts) {
        const auto length = static_cast<std::size_t>(a.length);
        // Short values are single items; the heading lines are whole lines.
        const std::string v = a.length == HeadingLength ? fit(a.value.substr(0, length)) : token(a.value, length);
        dataLines.push_back(v.empty() ? std::string(length, 'z') : v);
    }
    for (const std::string& line : dataLines) {
        out += line;
        out += Eol;
    }
    for (const ArchiveLevel* l : levels) {
        const std::size_t from = out.size();
        appendFixed(out, l->duration, 3);
        pad(out, from, 10);
        for (const Variable& v : Variables)
            appendValue(out, v, *l);
        out += Eol;
        if (s.standardMethod) {
            appendValue(out, ClassicVariable, *l);
            out += Eol;
        }
    }
    return file;
}

} // namespace lumo
