#include "ameswriter.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string_view>

#include "archivetext.h"
#include "flight/datetime.h"
#include "flight/q5.h"

namespace lumo {

namespace {

constexpr const char* Eol = "\r\n";
constexpr std::size_t MaxLine = 132;
constexpr const char* MissingValue = "99999"; // above every valid value of every variable
constexpr double MissingNumber = 99999;
constexpr double MaxDurationS = 1e9; // s; keeps the record line within 132 characters
constexpr const char* NotGiven = "(not given)";
constexpr int StationNameLength = 40;

struct Variable {
    const char* name;
    int decimals;
    int width; // right-aligned, at least one blank before the value
    double (*get)(const ArchiveLevel&);
};

const Variable Variables[] = {
    {"Pressure (hPa)", 3, 9, [](const ArchiveLevel& l) { return l.pressure; }},
    {"Geopotential height (gpm)", 1, 8, [](const ArchiveLevel& l) { return l.gph; }},
    {"Temperature (K)", 2, 7, [](const ArchiveLevel& l) { return l.temperature + 273.15; }},
    {"Relative humidity (%)", 1, 6, [](const ArchiveLevel& l) { return l.humidity; }},
    {"Ozone partial pressure (mPa)", 4, 8, [](const ArchiveLevel& l) { return l.o3pp; }},
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
    {"Ozone partial pressure uncertainty (mPa, 1 sigma)", 4, 7, [](const ArchiveLevel& l) { return l.o3ppUnc; }},
};
constexpr int NV = sizeof Variables / sizeof Variables[0];

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

} // namespace

std::string amesFileName(const ArchiveSonde& sonde, const ArchiveMeta& meta)
{
    const DateParts d = decodeDateTime(std::round(sonde.launchTime * SecondsPerDay) / SecondsPerDay);
    char hour[8];
    std::snprintf(hour, sizeof hour, ".b%02d", d.hour);
    return meta.baseName + "." + fileNamePiece(sonde.sn, true) + hour;
}

ArchiveText amesFile(const Q5& q, const ArchiveSonde& s, const ArchiveMeta& meta)
{
    const ArchiveStation& st = meta.station;
    const O3SondeCfg& cfg = q.o3Sonde[s.slot];
    ArchiveText file;
    file.name = amesFileName(s, meta);

    // The independent variable must rise strictly: a level that repeats the
    // time of the previous one (to the millisecond written) is left out.
    std::vector<const ArchiveLevel*> levels;
    long long lastMs = -1;
    std::size_t beyond = 0;
    for (const ArchiveLevel& l : s.ascent) {
        // A time after launch beyond decades comes from a corrupt time stamp;
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
                                + " level(s) left out whose time after launch is beyond 1e9 s");

    const DateParts launch = decodeDateTime(std::round(s.launchTime * SecondsPerDay) / SecondsPerDay);
    const double launchHours = launch.hour + launch.minute / 60.0 + launch.second / 3600.0;
    const std::vector<AuxNumber> auxNumbers = {
        {"Number of levels", static_cast<double>(levels.size()), 0},
        {"Launch date (yyyymmdd, UT)", launch.year * 10000.0 + launch.month * 100 + launch.day, 0,
         "99999999"},
        {"Launch time (decimal UT hours from 0 hours on the day given by DATE)", launchHours, 6},
        {"Station latitude (decimal degrees N)", q.stnLat, 4},
        {"Station longitude (decimal degrees E)", q.stnLong, 4},
        {"Station altitude (m)", q.stnAlt, 1},
        {"Inverse pump flow rate (s/100 ml)", s.flowRate, 2},
        {q.bkgCount > 0 ? "Cell background at the surface (microA), scaled with pressure by the background table"
                        : "Cell background (microA), constant",
         s.background, 3},
        {"Integrated ozone from the surface to the burst (DU)", s.measured, 2},
        {"Residual ozone above the burst (DU)", s.residual, 2},
        {"Column ozone from sonde including the residual (DU)", s.total, 2},
        {"Uncertainty of the integrated ozone (DU, 1 sigma)", s.measuredUnc, 2},
        {"Uncertainty of the column ozone from sonde (DU, 1 sigma)", s.totalUnc, 2},
        {"Burst pressure (hPa)", s.burstPressure, 3},
        {"WMO tropopause pressure (hPa)", s.tropopausePressure, 2},
        // Negative: computed against the reference total ozone, not applied.
        {"Correction factor (reference / sonde total; negative: not applied)", -s.correctionFactor, 3},
    };
    const std::vector<AuxText> auxTexts = {
        {"Ozonesonde serial number", s.sn, 20},
        {"Ozonesonde model", cfg.model, 20},
        {"Residual method", known(s.residual) ? (s.residualByTable ? "climatological table" : "constant mixing ratio")
                                              : "",
         40},
        {"Radiosonde serial number", q.rsSondeId, 40},
    };

    std::vector<std::string> h;
    h.push_back(""); // NLHEAD FFI, once the count is known
    h.push_back(orNotGiven(st.scientificAuthority));
    h.push_back(orNotGiven(st.agency));
    h.push_back(fit("ECC ozonesonde " + (cfg.model.empty() ? std::string() : cfg.model + " ") + s.sn
                    + ", radiosonde " + q.rsSondeId));
    h.push_back(fit("Ozonesonde sounding, " + std::string(q.stnName)));
    h.push_back("1 1");
    h.push_back(dateWords(s.launchTime) + " " + dateWords(meta.generated));
    h.push_back("0");
    h.push_back(std::to_string(StationNameLength));
    h.push_back("Time after launch (s)");
    h.push_back("Station name");
    h.push_back(std::to_string(NV));
    std::vector<std::string> scales(NV, "1"), missing(NV, MissingValue);
    wrapped(h, scales);
    wrapped(h, missing);
    for (const Variable& v : Variables)
        h.push_back(v.name);
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
    for (std::size_t i = 0; i < auxTexts.size(); ++i)
        h.push_back(NotGiven);
    for (const AuxNumber& a : auxNumbers)
        h.push_back(fit(a.name));
    for (const AuxText& a : auxTexts)
        h.push_back(a.name);
    const std::vector<std::string> special = {"All dates and times are UTC; time after launch counts from the launch.",
                                              "Missing values are 99999 (the launch date 99999999)."};
    h.push_back(std::to_string(special.size()));
    h.insert(h.end(), special.begin(), special.end());
    std::vector<std::string> normal = {std::string("Written by ") + ProgramName + " " + ProgramVersion + ".",
                                       "Ascent only, one level per ozone sample of this ozonesonde."};
    if (q.effCount > 0) {
        std::vector<std::string> words = {"Pump efficiency correction factors (hPa factor):"};
        for (int r = 0; r < q.effCount && r < MaxTableRows; ++r)
            words.push_back(fixedText(q.effP[r], 1) + " " + fixedText(q.effVal[r], 3));
        wrapped(normal, words);
    }
    normal.push_back("   Time    Press     GPH      T    RH     PO3   O3Mix  WDir   WSpd  TPump  ICell    GPSLat"
                     "     GPSLon  GPSAlt IPmp  VBat  xPO3");
    h.push_back(std::to_string(normal.size()));
    h.insert(h.end(), normal.begin(), normal.end());
    h[0] = std::to_string(h.size()) + " 2160";

    std::string& out = file.text;
    out.reserve(140 * levels.size() + 100 * h.size());
    for (const std::string& line : h) {
        out += line;
        out += Eol;
    }
    out += fit(std::string(q.stnName).substr(0, StationNameLength));
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
    for (const AuxText& a : auxTexts)
        dataLines.push_back(a.value.empty() ? NotGiven : fit(a.value.substr(0, static_cast<std::size_t>(a.length))));
    for (const std::string& line : dataLines) {
        out += line;
        out += Eol;
    }
    for (const ArchiveLevel* l : levels) {
        std::size_t from = out.size();
        appendFixed(out, l->duration, 3);
        pad(out, from, 10);
        for (const Variable& v : Variables) {
            from = out.size();
            const double x = v.get(*l);
            // The missing value must exceed every valid one, and a value too
            // wide for its field (each field holds the quantity's physical
            // range) is a corrupt reading that would push the line past 132.
            if (known(x) && std::fabs(x) < MissingNumber)
                appendFixed(out, x, v.decimals);
            if (out.size() == from || out.size() - from >= static_cast<std::size_t>(v.width)) {
                out.resize(from);
                out += MissingValue;
            }
            pad(out, from, v.width);
        }
        out += Eol;
    }
    return file;
}

} // namespace lumo
