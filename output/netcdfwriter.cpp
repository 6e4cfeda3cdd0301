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

std::string columnSummary(const ArchiveProfile& profile)
{
    std::string s;
    const auto du = [](double v) { return known(v) ? fixedText(v, 2) + " DU" : std::string("unknown"); };
    for (const ArchiveSonde& a : profile.sondes) {
        if (!s.empty())
            s += "; ";
        s += a.sn + ": measured " + du(a.measured) + ", residual " + du(a.residual);
        if (known(a.residual))
            s += a.residualByTable ? " (climatological table)" : " (constant mixing ratio)";
        s += ", total " + du(a.total);
    }
    return s;
}

// "SN: model 6A, 1.0% KI, 3.0 ml, ib0 0.020 uA; ..." with what the
// configuration gives for each ozonesonde.
std::string sondeSummary(const Q5& q, const ArchiveProfile& profile)
{
    std::string s;
    for (const ArchiveSonde& a : profile.sondes) {
        const O3SondeCfg& c = q.o3Sonde[a.slot];
        std::string parts;
        const auto add = [&parts](const std::string& text) { parts += (parts.empty() ? "" : ", ") + text; };
        if (!c.model.empty())
            add("model " + c.model);
        if (!c.solutionType.empty())
            add(c.solutionType);
        if (c.solutionVolume)
            add(fixedText(*c.solutionVolume, 1) + " ml");
        for (const auto& [name, v] : {std::pair{"ib0", c.ib0}, std::pair{"ib1", c.ib1}, std::pair{"ib2", c.ib2}})
            if (v)
                add(std::string(name) + " " + fixedText(*v, 3) + " uA");
        s += (s.empty() ? "" : "; ") + a.sn + ": " + (parts.empty() ? "no details given" : parts);
    }
    return s;
}

void globalAttributes(Nc& nc, const Q5& q, const ArchiveProfile& profile, const ArchiveMeta& meta)
{
    const ArchiveStation& st = meta.station;
    const double launch = profile.sondes.front().launchTime;
    const std::string software = std::string(ProgramName) + " " + ProgramVersion;
    nc.text(NC_GLOBAL, "Conventions", "CF-1.8");
    nc.text(NC_GLOBAL, "featureType", "trajectory");
    nc.text(NC_GLOBAL, "title", utf8Text("Ozonesonde sounding, " + std::string(q.stnName) + ", " + isoTime(launch)));
    nc.text(NC_GLOBAL, "institution", utf8Text(st.agency));
    nc.text(NC_GLOBAL, "creator_name", utf8Text(st.scientificAuthority));
    nc.text(NC_GLOBAL, "source", "balloon-borne ECC ozonesonde(s) with radiosonde");
    nc.text(NC_GLOBAL, "history", isoDate(meta.generated) + " written by " + software);
    nc.text(NC_GLOBAL, "software", software);
    nc.text(NC_GLOBAL, "date_created", isoDate(meta.generated));
    nc.text(NC_GLOBAL, "comment", "All times are UTC; time counts seconds from the launch.");
    nc.text(NC_GLOBAL, "station_name", utf8Text(q.stnName));
    nc.number(NC_GLOBAL, "station_latitude", q.stnLat);
    nc.number(NC_GLOBAL, "station_longitude", q.stnLong);
    nc.number(NC_GLOBAL, "station_altitude", q.stnAlt);
    nc.text(NC_GLOBAL, "platform_type", utf8Text(st.platformType));
    nc.text(NC_GLOBAL, "platform_id", utf8Text(st.platformId));
    nc.text(NC_GLOBAL, "platform_name", utf8Text(st.platformName));
    nc.text(NC_GLOBAL, "country", utf8Text(st.country));
    nc.text(NC_GLOBAL, "gaw_id", utf8Text(st.gawId));
    nc.text(NC_GLOBAL, "launch_time", isoTime(launch));
    nc.text(NC_GLOBAL, "time_coverage_start", isoTime(launch));
    nc.text(NC_GLOBAL, "radiosonde_serial", utf8Text(q.rsSondeId));
    nc.text(NC_GLOBAL, "radiosonde_manufacturer", utf8Text(st.radiosondeMaker));
    nc.text(NC_GLOBAL, "radiosonde_model", utf8Text(st.radiosondeModel));
    nc.text(NC_GLOBAL, "radiosonde_pressure_sensor", q.rsPrInst ? "yes" : "no");
    nc.text(NC_GLOBAL, "radiosonde_gps", q.rsGpsInst ? "yes" : "no");
    nc.text(NC_GLOBAL, "interface_manufacturer", utf8Text(st.interfaceMaker));
    nc.text(NC_GLOBAL, "interface_model", utf8Text(st.interfaceModel));
    nc.text(NC_GLOBAL, "ground_equipment", utf8Text(st.groundEquipment));
    nc.text(NC_GLOBAL, "residual_method", q.resTable ? "climatological table" : "constant mixing ratio");
    nc.text(NC_GLOBAL, "ozonesondes", utf8Text(sondeSummary(q, profile)));
    nc.text(NC_GLOBAL, "ozone_columns", utf8Text(columnSummary(profile)));
    nc.number(NC_GLOBAL, "wmo_tropopause_pressure_hPa", profile.sondes.front().tropopausePressure);
    const ReferenceOzone& ref = q.reference;
    nc.number(NC_GLOBAL, "reference_total_ozone_DU", ref.totalO3 ? *ref.totalO3 : Unknown);
    nc.text(NC_GLOBAL, "reference_instrument",
            utf8Text(ref.instrument + (ref.model.empty() ? "" : " " + ref.model)
                     + (ref.number.empty() ? "" : " #" + ref.number)));
    nc.text(NC_GLOBAL, "reference_utc_mean", utf8Text(ref.utcMean));
}

bool writeContent(Nc& nc, const Q5& q, const ArchiveProfile& profile, const ArchiveMeta& meta)
{
    const std::size_t nSondes = profile.sondes.size();
    std::size_t nObs = 1, snLen = 1; // a dimension of length 0 would be the unlimited one
    for (const ArchiveSonde& s : profile.sondes) {
        nObs = std::max(nObs, s.ascent.size());
        snLen = std::max(snLen, s.sn.size());
    }
    int dimTraj = -1, dimObs = -1, dimSn = -1;
    nc.ok(nc_def_dim(nc.id, "trajectory", nSondes, &dimTraj));
    nc.ok(nc_def_dim(nc.id, "obs", nObs, &dimObs));
    nc.ok(nc_def_dim(nc.id, "sn_strlen", snLen, &dimSn));
    globalAttributes(nc, q, profile, meta);

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
        } else if (i == 3) {
            nc.text(vars[i], "positive", "up");
        } else if (i > 3) {
            nc.text(vars[i], "coordinates", "time lat lon alt");
        }
    }
    if (!nc.ok(nc_enddef(nc.id)))
        return false;

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
        const std::size_t start[2] = {t, 0}, count[2] = {1, nObs};
        for (int i = 0; i < ColumnCount; ++i) {
            std::fill(row.begin(), row.end(), NetcdfFill);
            for (std::size_t k = 0; k < s.ascent.size(); ++k) {
                const double v = Columns[i].get(s.ascent[k]);
                if (known(v))
                    row[k] = v;
            }
            nc.ok(nc_put_vara_double(nc.id, vars[i], start, count, row.data()));
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
