#include "netcdfwriter.h"

#include <netcdf.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <utility>

#include "archivetext.h"
#include "flight/atomicfile.h"
#include "flight/datetime.h"
#include "flight/q5.h"

namespace lumo {

namespace {

struct Column {
    const char* name;
    const char* standardName; // empty when CF has none
    const char* longName;
    const char* units;        // UDUNITS spelling
    double (*get)(const ArchiveLevel&);
};

const Column Columns[] = {
    {"time", "time", "time after launch", "", [](const ArchiveLevel& l) { return l.duration; }},
    {"lat", "latitude", "GPS latitude", "degrees_north", [](const ArchiveLevel& l) { return l.lat; }},
    {"lon", "longitude", "GPS longitude", "degrees_east", [](const ArchiveLevel& l) { return l.lon; }},
    {"alt", "altitude", "GPS altitude above mean sea level", "m", [](const ArchiveLevel& l) { return l.gpsAlt; }},
    {"pressure", "air_pressure", "air pressure", "hPa", [](const ArchiveLevel& l) { return l.pressure; }},
    {"temperature", "air_temperature", "air temperature", "K",
     [](const ArchiveLevel& l) { return l.temperature + 273.15; }},
    {"relative_humidity", "relative_humidity", "relative humidity", "%",
     [](const ArchiveLevel& l) { return l.humidity; }},
    {"geopotential_height", "geopotential_height", "geopotential height", "m",
     [](const ArchiveLevel& l) { return l.gph; }},
    {"ozone_partial_pressure", "", "ozone partial pressure", "mPa", [](const ArchiveLevel& l) { return l.o3pp; }},
    {"ozone_mixing_ratio", "mole_fraction_of_ozone_in_air", "ozone mixing ratio", "1e-6",
     [](const ArchiveLevel& l) { return l.o3Mix; }},
    {"wind_speed", "wind_speed", "wind speed", "m s-1", [](const ArchiveLevel& l) { return l.windSpeed; }},
    {"wind_direction", "wind_from_direction", "wind direction (from which it blows)", "degree",
     [](const ArchiveLevel& l) { return l.windDir; }},
    {"pump_temperature", "", "ozonesonde pump temperature", "K",
     [](const ArchiveLevel& l) { return l.pumpTemp + 273.15; }},
    {"cell_current", "", "ozone cell current as received", "uA", [](const ArchiveLevel& l) { return l.cellCurrent; }},
    {"pump_current", "", "ozonesonde pump motor current", "mA", [](const ArchiveLevel& l) { return l.pumpCurrent; }},
    {"battery_voltage", "", "ozonesonde battery voltage", "V", [](const ArchiveLevel& l) { return l.battery; }},
    {"ozone_partial_pressure_uncertainty", "", "1-sigma uncertainty of the ozone partial pressure", "mPa",
     [](const ArchiveLevel& l) { return l.o3ppUnc; }},
};
constexpr int ColumnCount = sizeof Columns / sizeof Columns[0];

// Beside the standard method's partial pressure, the classic equation's, for
// comparison; only in the file of a flight the standard method processed.
const Column ClassicColumn = {"ozone_partial_pressure_classic", "", "ozone partial pressure by the classic equation",
                              "mPa", [](const ArchiveLevel& l) { return l.o3ppClassic; }};

struct SondeValue {
    const char* name;
    const char* standardName;
    const char* longName;
    const char* units;
    double (*get)(const ArchiveSonde&);
};

// Columns in Dobson units: 1 DU is 1e-5 m of pure ozone at STP.
const SondeValue SondeValues[] = {
    {"ozone_column_measured", "", "ozone column from the surface to the burst, Dobson units", "1e-5 m",
     [](const ArchiveSonde& s) { return s.measured; }},
    {"ozone_column_residual", "", "ozone column above the burst (residual), Dobson units", "1e-5 m",
     [](const ArchiveSonde& s) { return s.residual; }},
    {"ozone_column_total", "equivalent_thickness_at_stp_of_atmosphere_ozone_content",
     "total ozone column from the sonde, measured plus residual, Dobson units", "1e-5 m",
     [](const ArchiveSonde& s) { return s.total; }},
    {"ozone_column_measured_uncertainty", "", "1-sigma uncertainty of the measured ozone column, Dobson units",
     "1e-5 m", [](const ArchiveSonde& s) { return s.measuredUnc; }},
    {"ozone_column_residual_uncertainty", "", "1-sigma uncertainty of the residual ozone column, Dobson units",
     "1e-5 m", [](const ArchiveSonde& s) { return s.residualUnc; }},
    {"ozone_column_total_uncertainty", "", "1-sigma uncertainty of the total ozone column, Dobson units", "1e-5 m",
     [](const ArchiveSonde& s) { return s.totalUnc; }},
    {"correction_factor", "",
     "reference total ozone over the sonde's total ozone column; reported, not applied to the data", "1",
     [](const ArchiveSonde& s) { return s.correctionFactor; }},
    {"burst_pressure", "", "air pressure at the burst", "hPa", [](const ArchiveSonde& s) { return s.burstPressure; }},
    {"pump_flow_time", "", "time the pump takes for 100 ml", "s", [](const ArchiveSonde& s) { return s.flowRate; }},
};
constexpr int SondeValueCount = sizeof SondeValues / sizeof SondeValues[0];

// Collects the first failing netCDF status.
struct Nc {
    int id = -1;
    int status = NC_NOERR;

    bool ok(int s)
    {
        if (status == NC_NOERR && s != NC_NOERR)
            status = s;
        return status == NC_NOERR;
    }
    void text(int var, const char* name, const std::string& value)
    {
        if (!value.empty())
            ok(nc_put_att_text(id, var, name, value.size(), value.c_str()));
    }
    void number(int var, const char* name, double value)
    {
        if (known(value))
            ok(nc_put_att_double(id, var, name, NC_DOUBLE, 1, &value));
    }
    int variable(const char* name, int ndims, const int* dims, const char* standardName, const char* longName,
                 const char* units)
    {
        int var = -1;
        if (!ok(nc_def_var(id, name, NC_DOUBLE, ndims, dims, &var)))
            return -1;
        text(var, "standard_name", standardName);
        text(var, "long_name", longName);
        text(var, "units", units);
        const double fill = NetcdfFill;
        ok(nc_put_att_double(id, var, "_FillValue", NC_DOUBLE, 1, &fill));
        return var;
    }
};

std::string timeUnits(double launch)
{
    const DateParts d = decodeDateTime(launch);
    char buf[64];
    std::snprintf(buf, sizeof buf, "seconds since %04d-%02d-%02d %02d:%02d:%02d.%03d", d.year, d.month, d.day,
                  d.hour, d.minute, d.second, d.msec);
    return buf;
}

std::string isoTime(double t)
{
    const DateParts d = decodeDateTime(t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", d.year, d.month, d.day, d.hour, d.minute,
                  d.second, d.msec);
    return buf;
}

// "standard (...); ozonesonde 1: absorption, background, ... (skipped: transfer); ..."
std::string methodSummary(const Q5& q, const ArchiveProfile& profile)
{
    std::string text = "standard (O3S-DQA / ASOPOS 2.0)";
    for (const ArchiveSonde& s : profile.sondes) {
        const O3MethodResult& m = q.o3MethodResult[s.slot];
        text += "; ozonesonde " + std::to_string(s.slot + 1) + ":";
        for (std::size_t k = 0; k < m.stepsApplied.size(); ++k)
            text += (k ? ", " : " ") + m.stepsApplied[k];
        for (std::size_t k = 0; k < m.stepsSkipped.size(); ++k)
            text += (k ? ", " : " (skipped: ") + m.stepsSkipped[k].name + (k + 1 == m.stepsSkipped.size() ? ")" : "");
    }
    return text;
}

// Attributes of the file that every flight of a station shares; what
// differs between flights lives in variables on the trajectory dimension.
void globalAttributes(Nc& nc, const Q5& q, const ArchiveMeta& meta)
{
    const ArchiveStation& st = meta.station;
    const std::string software = std::string(ProgramName) + " " + ProgramVersion;
    nc.text(NC_GLOBAL, "Conventions", "CF-1.8");
    nc.text(NC_GLOBAL, "featureType", "trajectory");
    nc.text(NC_GLOBAL, "title", utf8Text("Ozonesonde sounding, " + std::string(q.stnName)));
    nc.text(NC_GLOBAL, "institution", utf8Text(st.agency));
    nc.text(NC_GLOBAL, "creator_name", utf8Text(st.scientificAuthority));
    nc.text(NC_GLOBAL, "source", "balloon-borne ECC ozonesonde(s) with radiosonde");
    nc.text(NC_GLOBAL, "history", isoDate(meta.generated) + " written by " + software);
    nc.text(NC_GLOBAL, "software", software);
    nc.text(NC_GLOBAL, "date_created", isoDate(meta.generated));
    nc.text(NC_GLOBAL, "comment", "All times are UTC; time counts seconds from the launch.");
    nc.text(NC_GLOBAL, "platform_type", utf8Text(st.platformType));
    nc.text(NC_GLOBAL, "platform_id", utf8Text(st.platformId));
    nc.text(NC_GLOBAL, "platform_name", utf8Text(st.platformName));
    nc.text(NC_GLOBAL, "country", utf8Text(st.country));
    nc.text(NC_GLOBAL, "gaw_id", utf8Text(st.gawId));
    nc.text(NC_GLOBAL, "product_version", utf8Text(st.dataVersion));
    nc.text(NC_GLOBAL, "radiosonde_manufacturer", utf8Text(st.radiosondeMaker));
    nc.text(NC_GLOBAL, "radiosonde_model", utf8Text(st.radiosondeModel));
    nc.text(NC_GLOBAL, "interface_manufacturer", utf8Text(st.interfaceMaker));
    nc.text(NC_GLOBAL, "interface_model", utf8Text(st.interfaceModel));
    nc.text(NC_GLOBAL, "ground_equipment", utf8Text(st.groundEquipment));
}

// Values of one flight or one ozonesonde, on the trajectory dimension, so
// that the files of several flights combine into one data set along it
// without one flight's values replacing another's.
struct TrajectoryValue {
    const char* name;
    const char* longName;
    const char* units;
    double (*get)(const Q5&, const ArchiveSonde&);
};

const TrajectoryValue TrajectoryValues[] = {
    {"station_latitude", "latitude of the launch site", "degrees_north",
     [](const Q5& q, const ArchiveSonde&) { return q.stnLat; }},
    {"station_longitude", "longitude of the launch site", "degrees_east",
     [](const Q5& q, const ArchiveSonde&) { return q.stnLong; }},
    {"station_altitude", "altitude of the launch site above mean sea level", "m",
     [](const Q5& q, const ArchiveSonde&) { return q.stnAlt; }},
    {"wmo_tropopause_pressure", "air pressure at the first WMO lapse-rate tropopause", "hPa",
     [](const Q5&, const ArchiveSonde& s) { return s.tropopausePressure; }},
    {"reference_total_ozone", "total ozone of the ground reference instrument, Dobson units", "1e-5 m",
     [](const Q5& q, const ArchiveSonde&) { return q.reference.totalO3 ? *q.reference.totalO3 : Unknown; }},
    {"solution_volume", "volume of the cathode solution", "ml",
     [](const Q5& q, const ArchiveSonde& s) { return q.o3Sonde[s.slot].solutionVolume.value_or(Unknown); }},
    {"ib0", "cell background before exposure to ozone in the laboratory", "uA",
     [](const Q5& q, const ArchiveSonde& s) { return q.o3Sonde[s.slot].ib0.value_or(Unknown); }},
    {"ib1", "cell background after exposure to ozone in the laboratory", "uA",
     [](const Q5& q, const ArchiveSonde& s) { return q.o3Sonde[s.slot].ib1.value_or(Unknown); }},
    {"ib2", "cell background just before launch", "uA",
     [](const Q5& q, const ArchiveSonde& s) { return q.o3Sonde[s.slot].ib2.value_or(Unknown); }},
};
constexpr int TrajectoryValueCount = sizeof TrajectoryValues / sizeof TrajectoryValues[0];

struct TrajectoryText {
    const char* name;
    const char* longName;
    std::string (*get)(const Q5&, const ArchiveSonde&);
};

const TrajectoryText TrajectoryTexts[] = {
    {"station_name", "name of the launch site", [](const Q5& q, const ArchiveSonde&) { return utf8Text(q.stnName); }},
    {"launch_time", "launch time, UTC (ISO 8601)", [](const Q5&, const ArchiveSonde& s) { return isoTime(s.launchTime); }},
    {"sonde_model", "ozonesonde model", [](const Q5&, const ArchiveSonde& s) { return utf8Text(s.model); }},
    {"solution_type", "cathode solution",
     [](const Q5& q, const ArchiveSonde& s) { return utf8Text(q.o3Sonde[s.slot].solutionType); }},
    {"radiosonde_serial", "radiosonde serial number",
     [](const Q5& q, const ArchiveSonde&) { return utf8Text(q.rsSondeId); }},
    {"residual_method", "how the ozone column above the burst was estimated",
     [](const Q5&, const ArchiveSonde& s) {
         return std::string(known(s.residual) ? (s.residualByTable ? "climatological table" : "constant mixing ratio")
                                              : "");
     }},
    {"reference_instrument", "ground reference instrument of the total ozone",
     [](const Q5& q, const ArchiveSonde&) {
         const ReferenceOzone& ref = q.reference;
         return utf8Text(ref.instrument + (ref.model.empty() ? "" : " " + ref.model)
                         + (ref.number.empty() ? "" : " #" + ref.number));
     }},
    {"reference_utc_mean", "mean UTC of the reference measurement",
     [](const Q5& q, const ArchiveSonde&) { return utf8Text(q.reference.utcMean); }},
};
constexpr int TrajectoryTextCount = sizeof TrajectoryTexts / sizeof TrajectoryTexts[0];

// Earth radius of the geopotential conversion (WMO), m.
constexpr double EarthRadiusM = 6356766.0;

// Geometric altitude (m) of a geopotential height h (m), the inverse of
// geopotentialHeight.
double altitudeOf(double h) { return known(h) ? EarthRadiusM * h / (EarthRadiusM - h) : Unknown; }

// A trajectory needs a position at every observation that holds data: where
// no GPS fix is known (always, without GPS) the launch site's position and
// the altitude from the geopotential height stand in.
double positionFallback(int column, const Q5& q, const ArchiveLevel& l)
{
    switch (column) {
    case 1:
        return q.stnLat;
    case 2:
        return q.stnLong;
    case 3:
        return altitudeOf(l.gph);
    default:
        return Unknown;
    }
}

bool writeContent(Nc& nc, const Q5& q, const ArchiveProfile& profile, const ArchiveMeta& meta)
{
    const std::size_t nSondes = profile.sondes.size();
    std::size_t nObs = 1, snLen = 1, textLen = 1; // a dimension of length 0 would be the unlimited one
    std::vector<std::vector<std::string>> texts(TrajectoryTextCount);
    for (const ArchiveSonde& s : profile.sondes) {
        nObs = std::max(nObs, s.ascent.size());
        snLen = std::max(snLen, s.sn.size());
        for (int i = 0; i < TrajectoryTextCount; ++i) {
            texts[static_cast<std::size_t>(i)].push_back(TrajectoryTexts[i].get(q, s));
            textLen = std::max(textLen, texts[static_cast<std::size_t>(i)].back().size());
        }
    }
    int dimTraj = -1, dimObs = -1, dimSn = -1, dimText = -1;
    nc.ok(nc_def_dim(nc.id, "trajectory", nSondes, &dimTraj));
    nc.ok(nc_def_dim(nc.id, "obs", nObs, &dimObs));
    nc.ok(nc_def_dim(nc.id, "sn_strlen", snLen, &dimSn));
    nc.ok(nc_def_dim(nc.id, "text_strlen", textLen, &dimText));
    globalAttributes(nc, q, meta);
    if (q.o3Method.standard()) // the classic file stays as it was
        nc.text(NC_GLOBAL, "processing_method", utf8Text(methodSummary(q, profile)));

    // The index of the observations, so that files of different lengths
    // align along obs when combined.
    int obsVar = -1;
    nc.ok(nc_def_var(nc.id, "obs", NC_INT, 1, &dimObs, &obsVar));
    nc.text(obsVar, "long_name", "index of the observation along the trajectory");
    nc.text(obsVar, "units", "1");
    const int trajText[2] = {dimTraj, dimText};
    int textVars[TrajectoryTextCount];
    for (int i = 0; i < TrajectoryTextCount; ++i) {
        nc.ok(nc_def_var(nc.id, TrajectoryTexts[i].name, NC_CHAR, 2, trajText, &textVars[i]));
        nc.text(textVars[i], "long_name", TrajectoryTexts[i].longName);
        nc.text(textVars[i], "_Encoding", "utf-8");
    }
    int trajVars[TrajectoryValueCount];
    for (int i = 0; i < TrajectoryValueCount; ++i) {
        const TrajectoryValue& v = TrajectoryValues[i];
        trajVars[i] = nc.variable(v.name, 1, &dimTraj, "", v.longName, v.units);
    }

    const int trajSn[2] = {dimTraj, dimSn};
    int snVar = -1;
    nc.ok(nc_def_var(nc.id, "sonde_serial", NC_CHAR, 2, trajSn, &snVar));
    nc.text(snVar, "cf_role", "trajectory_id");
    nc.text(snVar, "long_name", "ozonesonde serial number");
    // Readers that follow the convention (xarray) then give text, not bytes.
    nc.text(snVar, "_Encoding", "utf-8");
    int posVar = -1;
    nc.ok(nc_def_var(nc.id, "sonde_position", NC_INT, 1, &dimTraj, &posVar));
    nc.text(posVar, "long_name", "position of the ozonesonde in the chain");
    nc.text(posVar, "units", "1");
    int sondeVars[SondeValueCount];
    for (int i = 0; i < SondeValueCount; ++i) {
        const SondeValue& v = SondeValues[i];
        sondeVars[i] = nc.variable(v.name, 1, &dimTraj, v.standardName, v.longName, v.units);
    }
    const int trajObs[2] = {dimTraj, dimObs};
    int vars[ColumnCount];
    const std::string units = timeUnits(profile.sondes.front().launchTime);
    for (int i = 0; i < ColumnCount; ++i) {
        const Column& c = Columns[i];
        vars[i] = nc.variable(c.name, 2, trajObs, c.standardName, c.longName, i == 0 ? units.c_str() : c.units);
        if (i == 0) {
            nc.text(vars[i], "calendar", "standard");
            nc.text(vars[i], "axis", "T");
        } else if (i <= 3) {
            if (i == 3)
                nc.text(vars[i], "positive", "up");
            nc.text(vars[i], "comment",
                    q.rsGpsInst ? "from the GPS; where no fix is known, the launch site's position and the altitude "
                                  "from the geopotential height"
                                : "the flight has no GPS: the launch site's position and the altitude from the "
                                  "geopotential height");
        } else {
            nc.text(vars[i], "coordinates", "time lat lon alt");
        }
    }
    const bool withClassic = std::any_of(profile.sondes.begin(), profile.sondes.end(),
                                         [](const ArchiveSonde& s) { return s.standardMethod; });
    int classicVar = -1;
    if (withClassic) {
        const Column& c = ClassicColumn;
        classicVar = nc.variable(c.name, 2, trajObs, c.standardName, c.longName, c.units);
        nc.text(classicVar, "coordinates", "time lat lon alt");
        nc.text(classicVar, "comment",
                "the classic equation's value (background scaled by the configuration's table, its pump-efficiency "
                "table, no conversion efficiency), kept for comparison with ozone_partial_pressure, which the "
                "standard method made");
    }
    if (!nc.ok(nc_enddef(nc.id)))
        return false;

    std::vector<int> index(nObs);
    for (std::size_t k = 0; k < nObs; ++k)
        index[k] = static_cast<int>(k);
    nc.ok(nc_put_var_int(nc.id, obsVar, index.data()));
    std::vector<double> row(nObs);
    for (std::size_t t = 0; t < nSondes; ++t) {
        const ArchiveSonde& s = profile.sondes[t];
        std::string sn = s.sn;
        sn.resize(snLen, '\0');
        const std::size_t snStart[2] = {t, 0}, snCount[2] = {1, snLen};
        nc.ok(nc_put_vara_text(nc.id, snVar, snStart, snCount, sn.data()));
        const int position = s.slot + 1;
        nc.ok(nc_put_var1_int(nc.id, posVar, &t, &position));
        for (int i = 0; i < SondeValueCount; ++i) {
            const double v = SondeValues[i].get(s);
            const double out = known(v) ? v : NetcdfFill;
            nc.ok(nc_put_var1_double(nc.id, sondeVars[i], &t, &out));
        }
        for (int i = 0; i < TrajectoryValueCount; ++i) {
            const double v = TrajectoryValues[i].get(q, s);
            const double out = known(v) ? v : NetcdfFill;
            nc.ok(nc_put_var1_double(nc.id, trajVars[i], &t, &out));
        }
        for (int i = 0; i < TrajectoryTextCount; ++i) {
            std::string v = texts[static_cast<std::size_t>(i)][t];
            v.resize(textLen, '\0');
            const std::size_t start[2] = {t, 0}, count[2] = {1, textLen};
            nc.ok(nc_put_vara_text(nc.id, textVars[i], start, count, v.data()));
        }
        const std::size_t start[2] = {t, 0}, count[2] = {1, nObs};
        for (int i = 0; i < ColumnCount; ++i) {
            std::fill(row.begin(), row.end(), NetcdfFill);
            for (std::size_t k = 0; k < s.ascent.size(); ++k) {
                double v = Columns[i].get(s.ascent[k]);
                if (!known(v))
                    v = positionFallback(i, q, s.ascent[k]);
                if (known(v))
                    row[k] = v;
            }
            nc.ok(nc_put_vara_double(nc.id, vars[i], start, count, row.data()));
        }
        if (withClassic) {
            std::fill(row.begin(), row.end(), NetcdfFill);
            for (std::size_t k = 0; s.standardMethod && k < s.ascent.size(); ++k)
                if (const double v = ClassicColumn.get(s.ascent[k]); known(v))
                    row[k] = v;
            nc.ok(nc_put_vara_double(nc.id, classicVar, start, count, row.data()));
        }
    }
    return nc.status == NC_NOERR;
}

} // namespace

std::string netcdfFileName(const ArchiveMeta& meta) { return meta.baseName + ".nc"; }

bool writeNetcdfFile(const std::string& path, const Q5& q, const ArchiveProfile& profile, const ArchiveMeta& meta,
                     std::string& error)
{
    if (profile.sondes.empty()) {
        error = "No ozonesonde with a serial number: no netCDF file.";
        return false;
    }
    // The temporary file's name is reserved by opening it; the netCDF library
    // then writes it again by name, and the reserved handle is only closed.
    AtomicFile out(path);
    if (!out.open()) {
        error = "Unable to open file to export data.";
        return false;
    }
    // The netCDF library keeps process-wide tables of open files and is not
    // safe to call from two threads at once (lumo-batch process -j writes
    // the archives of several flights in parallel): one file at a time.
    static std::mutex libraryInUse;
    const std::lock_guard<std::mutex> lock(libraryInUse);
    Nc nc;
    if (!nc.ok(nc_create(out.tempPath().string().c_str(), NC_CLOBBER | NC_64BIT_OFFSET, &nc.id))) {
        error = std::string("netCDF: ") + nc_strerror(nc.status);
        return false;
    }
    const bool written = writeContent(nc, q, profile, meta);
    const int closed = nc_close(nc.id);
    if (!written || closed != NC_NOERR) {
        error = std::string("netCDF: ") + nc_strerror(written ? closed : nc.status);
        return false;
    }
    if (!out.commit()) {
        error = "Unable to open file to export data.";
        return false;
    }
    return true;
}

} // namespace lumo
