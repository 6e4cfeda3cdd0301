#include "woudcwriter.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "archivetext.h"
#include "flight/datetime.h"
#include "flight/q5.h"
#include "processing/standardsteps.h"

namespace lumo {

namespace {

constexpr const char* Eol = "\r\n";

// Fields of #PROFILE and of the tables that repeat its layout. Values carry
// the resolution of the sensors: pressure 0.01 hPa, ozone partial pressure
// 0.001 mPa, temperatures 0.01 degC, humidity 0.1 %.
constexpr const char* ProfileFields = "Duration,Pressure,O3PartialPressure,Temperature,WindSpeed,WindDirection,"
                                      "LevelCode,GPHeight,RelativeHumidity,SampleTemperature,SondeCurrent,Latitude,"
                                      "Longitude,PumpMotorCurrent,PumpMotorVoltage,Height";

// WOUDC correction codes of the residual above the burst.
constexpr const char* ResidualConstantMixingRatio = "2";
constexpr const char* ResidualOther = "99";

// A blank line, "#NAME" and the line of field names.
void tableHead(std::string& out, const char* name, const char* fields)
{
    out += Eol;
    out += '#';
    out += name;
    out += Eol;
    out += fields;
    out += Eol;
}

void table(std::string& out, const char* name, const char* fields, std::initializer_list<std::string> row)
{
    tableHead(out, name, fields);
    bool first = true;
    for (const std::string& v : row) {
        if (!first)
            out += ',';
        out += v;
        first = false;
    }
    out += Eol;
}

std::string num(double v, int decimals) { return known(v) ? fixedText(v, decimals) : std::string(); }
std::string num(const std::optional<double>& v, int decimals) { return v ? num(*v, decimals) : std::string(); }

void value(std::string& out, double v, int decimals)
{
    out += ',';
    if (known(v))
        appendFixed(out, v, decimals);
}

void profileTable(std::string& out, const char* name, const std::vector<ArchiveLevel>& levels)
{
    if (levels.empty())
        return; // an empty optional table is left out
    tableHead(out, name, ProfileFields);
    for (const ArchiveLevel& l : levels) {
        appendFixed(out, l.duration, 3);
        value(out, l.pressure, 2);
        value(out, l.o3pp, 3);
        value(out, l.temperature, 2);
        value(out, l.windSpeed, 2);
        value(out, l.windDir, 1);
        out += ',';
        out += std::to_string(l.levelCode);
        value(out, l.gph, 1);
        value(out, l.humidity, 1);
        value(out, l.pumpTemp, 2);
        value(out, l.cellCurrent, 3);
        value(out, l.lat, 5);
        value(out, l.lon, 5);
        value(out, l.pumpCurrent, 0);
        value(out, l.battery, 1);
        value(out, l.gpsAlt, 1);
        out += Eol;
    }
}

// One row per #PROFILE row, in the same order, with its Duration and
// Pressure so that rows match by value: the 1-sigma uncertainty of the
// partial pressure; the other fields' uncertainties are not known.
void uncertaintyTable(std::string& out, const std::vector<ArchiveLevel>& levels)
{
    const auto any = std::find_if(levels.begin(), levels.end(), [](const ArchiveLevel& l) { return known(l.o3ppUnc); });
    if (any == levels.end())
        return;
    out += Eol;
    out += "* One row per #PROFILE row, with its Duration and Pressure: O3PartialPressure holds its 1-sigma "
           "uncertainty (mPa).";
    out += Eol;
    out += "#PROFILE_UNCERTAINTY";
    out += Eol;
    out += ProfileFields;
    out += Eol;
    for (const ArchiveLevel& l : levels) {
        appendFixed(out, l.duration, 3);
        value(out, l.pressure, 2);
        value(out, l.o3ppUnc, 3);
        out += ",,,,,,,,,,,,,";
        out += Eol;
    }
}

void require(ArchiveText& file, const std::string& v, const char* field, const char* key)
{
    if (v.empty())
        file.warnings.push_back(std::string("WOUDC ") + file.name + ": required field " + field + " is empty (set "
                                + key + ")");
}

const char* backgroundText(Background b)
{
    switch (b) {
    case Background::None:
        return "None";
    case Background::Constant:
        return "Constant";
    case Background::PressureDependent:
        return "Pressure dependent";
    }
    return "";
}

// Decimal hours, as the WOUDC asks: "hh:mm:ss" (or "hh:mm") converted, a
// number kept as written; anything else is passed through for the reader.
std::string decimalHours(const std::string& utc)
{
    int h = 0, m = 0, sec = 0;
    char tail = 0;
    const int n = std::sscanf(utc.c_str(), "%d:%d:%d%c", &h, &m, &sec, &tail);
    if ((n == 2 || n == 3) && h >= 0 && h < 24 && m >= 0 && m < 60 && sec >= 0 && sec < 60)
        return fixedText(h + m / 60.0 + (n == 3 ? sec : 0) / 3600.0, 4);
    return utc;
}

// A part of the file name: no folder separators, blanks or dots (the dots
// separate the parts), and distinct values stay distinct.
std::string namePart(const std::string& v) { return v.empty() ? "unknown" : fileNamePiece(v, false); }

} // namespace

std::string woudcFileName(const Q5& q, const ArchiveSonde& sonde, const ArchiveMeta& meta)
{
    std::string date = isoDate(sonde.launchTime);
    date.erase(7, 1);
    date.erase(4, 1);
    return date + ".ECC." + namePart(sondeModel(q.o3Sonde[sonde.slot])) + "." + namePart(sonde.sn) + "."
        + namePart(meta.station.agency) + ".csv";
}

// What the standard processing method did, as the WOUDC fields say it; the
// classic run's fields stay as they were.
struct MethodFields {
    std::string background, responseTime, wettingFlow;
    double flowFactor = 1;                     // on the measured flow rate
    const PumpEffTable* table = nullptr;       // a built-in table used instead of the configuration's
};

MethodFields methodFields(const ArchiveSonde& s, const O3MethodResult& m)
{
    MethodFields f;
    f.background = backgroundText(s.backgroundApplied);
    if (m.method != O3Method::Standard)
        return f;
    f.background = m.responseCorrected ? "Time response (Ib0 and slow current)" : "Constant (" + m.background + ")";
    if (m.responseCorrected && m.tauFast != Missing)
        f.responseTime = fixedText(m.tauFast, 1);
    if (m.moistening != Missing) {
        f.wettingFlow = fixedText(m.moistening, 4);
        f.flowFactor = m.moistening;
    }
    f.table = builtInPumpTable(m.pumpTable);
    return f;
}

ArchiveText woudcFile(const Q5& q, const ArchiveSonde& s, const ArchiveMeta& meta)
{
    const MethodFields method = methodFields(s, q.o3MethodResult[s.slot]);
    const ArchiveStation& st = meta.station;
    const O3SondeCfg& cfg = q.o3Sonde[s.slot];
    const std::string platformName = st.platformName.empty() ? std::string(q.stnName) : st.platformName;
    ArchiveText file;
    file.name = woudcFileName(q, s, meta);
    require(file, st.agency, "#DATA_GENERATION.Agency", "agency in the preferences section [archive]");
    require(file, st.platformId, "#PLATFORM.ID", "platformId in the preferences section [archive]");
    require(file, platformName, "#PLATFORM.Name", "platformName in the preferences section [archive]");
    require(file, st.country, "#PLATFORM.Country", "country in the preferences section [archive]");
    require(file, s.model, "#INSTRUMENT.Model",
            "model in the ozonesonde's configuration section; the serial's prefix does not name it");
    require(file, st.dataVersion, "#DATA_GENERATION.Version", "dataVersion in the preferences section [archive]");
    if (!known(s.measured))
        file.warnings.push_back("WOUDC " + file.name
                                + ": required field #FLIGHT_SUMMARY.IntegratedO3 is empty (the measured column is "
                                  "unknown): the file cannot be submitted");
    if (!known(s.total))
        file.warnings.push_back("WOUDC " + file.name
                                + ": required field #FLIGHT_SUMMARY.SondeTotalO3 is empty (the residual above the "
                                  "burst is unknown): the file cannot be submitted");

    std::string& out = file.text;
    out.reserve(160 * (s.prelaunch.size() + s.ascent.size() + s.descent.size()) + 4096);
    table(out, "CONTENT", "Class,Category,Level,Form", {"WOUDC", "OzoneSonde", "1.0", "2"});
    table(out, "DATA_GENERATION", "Date,Agency,Version,ScientificAuthority",
          {isoDate(meta.generated), csvValue(st.agency), csvValue(st.dataVersion), csvValue(st.scientificAuthority)});
    out += "* Written by ";
    out += ProgramName;
    out += ' ';
    out += ProgramVersion;
    out += Eol;
    table(out, "PLATFORM", "Type,ID,Name,Country,GAW_ID",
          {csvValue(st.platformType), csvValue(st.platformId), csvValue(platformName), csvValue(st.country),
           csvValue(st.gawId)});
    table(out, "INSTRUMENT", "Name,Model,Number", {"ECC", csvValue(s.model), csvValue(s.sn)});
    table(out, "LOCATION", "Latitude,Longitude,Height",
          {fixedText(q.stnLat, 4), fixedText(q.stnLong, 4), fixedText(q.stnAlt, 1)});
    table(out, "TIMESTAMP", "UTCOffset,Date,Time", {"+00:00:00", isoDate(s.launchTime), clockTime(s.launchTime)});
    out += "* Launch date and time are UTC; Duration counts seconds from the launch.";
    out += Eol;
    table(out, "FLIGHT_SUMMARY",
          "IntegratedO3,CorrectionCode,SondeTotalO3,NormalizationFactor,BackgroundCorrection,SampleTemperatureType",
          {num(s.measured, 2), known(s.residual) ? (s.residualByTable ? ResidualOther : ResidualConstantMixingRatio) : "",
           // Negative: computed against the reference, not applied.
           num(s.total, 2), num(-s.correctionFactor, 3), method.background,
           cfg.thermistorText.empty() ? std::string("Pump") : csvValue(cfg.thermistorText)});
    if (known(s.residual) && s.residualByTable) {
        out += "* Residual ozone above the burst from the climatological table ";
        out += printableAscii(q.resTableFile);
        out += Eol;
    }
    table(out, "PREFLIGHT_SUMMARY", "Ib0,ib1,ib2,SolutionType,SolutionVolume,PumpFlowRate,OzoneSondeResponseTime",
          {num(cfg.ib0, 3), num(cfg.ib1, 3), num(cfg.ib2, 3), csvValue(cfg.solutionType), num(cfg.solutionVolume, 1),
           // cm3/min from the flow time of 100 ml in seconds
           num(s.flowRate > 0 ? 6000.0 / s.flowRate * method.flowFactor : Unknown, 2), method.responseTime});
    table(out, "RADIOSONDE", "Manufacturer,Model,Number",
          {csvValue(st.radiosondeMaker), csvValue(st.radiosondeModel), csvValue(q.rsSondeId)});
    table(out, "INTERFACE_CARD", "Manufacturer,Model,Number",
          {csvValue(st.interfaceMaker), csvValue(st.interfaceModel), ""});
    table(out, "SAMPLING_METHOD",
          "TypeOzoneFreeAir,CorrectionWettingFlow,SurfaceOzone,DurationSurfaceOzoneExposure,LengthBG,"
          "WMOTropopausePressure,BurstOzonePressure,GroundEquipment,ProcessingSoftware",
          {"", method.wettingFlow, "", "", "", num(s.tropopausePressure, 2), num(s.burstO3pp, 3), csvValue(st.groundEquipment),
           csvValue(std::string(ProgramName) + " " + ProgramVersion)});
    if (method.table) {
        tableHead(out, "PUMP_CORRECTION", "Pressure,PumpCorrectionFactor");
        for (int r = 0; r < method.table->n; ++r) {
            appendFixed(out, method.table->p[r], 1);
            out += ',';
            appendFixed(out, method.table->c[r], 3);
            out += Eol;
        }
    } else if (q.effCount > 0) {
        out += Eol;
        out += "#PUMP_CORRECTION";
        out += Eol;
        out += "Pressure,PumpCorrectionFactor";
        out += Eol;
        for (int r = 0; r < q.effCount && r < MaxTableRows; ++r) {
            appendFixed(out, q.effP[r], 1);
            out += ',';
            appendFixed(out, q.effVal[r], 3);
            out += Eol;
        }
    }
    if (q.reference.given()) {
        const ReferenceOzone& ref = q.reference;
        table(out, "OZONE_REFERENCE", "Name,Model,Number,Version,TotalO3,WLCode,ObsType,UTC_Mean",
              {csvValue(ref.instrument), csvValue(ref.model), csvValue(ref.number), "", num(ref.totalO3, 1),
               csvValue(ref.wlCode), csvValue(ref.obsType), csvValue(decimalHours(ref.utcMean))});
    }
    // The form has no place for the classic equation's partial pressure of a
    // flight the standard method processed: the WOUDC's validator warns of an
    // extra field in #PROFILE and refuses a table it does not define. The
    // netCDF and NASA Ames files carry it.
    profileTable(out, "PROFILE", s.ascent);
    uncertaintyTable(out, s.ascent);
    profileTable(out, "PRELAUNCH", s.prelaunch);
    profileTable(out, "DESELECTED_DATA", s.descent);
    return file;
}

} // namespace lumo
