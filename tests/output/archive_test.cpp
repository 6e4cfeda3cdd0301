// The archive files (WOUDC extended CSV, NASA Ames 2160, CF netCDF) of the
// sample flights and of a small simulated flight without GPS: golden files,
// parse-back checks and the column recomputed from each written profile.
//
// Golden files in tests/output/golden/archive/: the files of the flight
// without GPS in full; for samples/flight1 and samples/flight4 (megabytes
// each) a list of every file written with its size and FNV-1a 64 hash. To
// regenerate them after an intended change of a format, run
//     LUMO_REGENERATE_GOLDEN=1 <build>/tests/output/archive_tests --gtest_filter='ArchiveGolden*'
// and read the changed files of the flight without GPS against the formats
// before committing.

#include <gtest/gtest.h>
#include <netcdf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <memory>

#include "archivereaders.h"
#include "flight/datetime.h"
#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "output/archivefiles.h"
#include "output/archiveprofile.h"
#include "output/archivetext.h"
#include "output/netcdfwriter.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

struct Flight {
    const char* name; // base name of the raw and configuration files
    const char* folder;
    bool fullGolden;
};

const Flight Flights[] = {
    {"flight1", "samples", false},
    {"flight4", "samples", false},
    {"nogps", "tests/output/flights", true},
};

void PrintTo(const Flight& f, std::ostream* os) { *os << f.name; }

std::unique_ptr<Q5> processed(const Flight& f)
{
    auto q = std::make_unique<Q5>();
    const std::string base = test::sourcePath(std::string(f.folder) + "/" + f.name);
    EXPECT_TRUE(importFlight(*q, base + ".raw", base + ".cfg").ok());
    ScriptedDialogs dialogs(false);
    q->dialogs = &dialogs;
    EXPECT_TRUE(q->processFlight());
    q->dialogs = nullptr;
    return q;
}

ArchiveMeta stationMeta(const std::string& base)
{
    ArchiveMeta m;
    m.station.agency = "LUMO";
    m.station.scientificAuthority = "A. N. Operator";
    m.station.platformId = "999";
    m.station.platformName = "Lumo Sim";
    m.station.country = "CHE";
    m.station.radiosondeMaker = "Sim";
    m.station.radiosondeModel = "S1";
    m.generated = 46370.5; // 2026-12-14 12:00 UTC, fixed so the bytes stay the same
    m.baseName = base;
    return m;
}

const std::vector<ArchiveKind> AllKinds = {ArchiveKind::Woudc, ArchiveKind::Ames, ArchiveKind::Netcdf};

std::string fnv1a64(const std::string& bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
    return buf;
}

class ArchiveGolden : public ::testing::TestWithParam<Flight> {};

TEST_P(ArchiveGolden, EveryFileIsAsPinned)
{
    const Flight& f = GetParam();
    const auto q = processed(f);
    TempDir dir;
    const ArchiveResult r = writeArchiveFiles(*q, stationMeta(f.name), AllKinds, dir.path().string());
    ASSERT_TRUE(r.ok) << r.error;
    const fs::path golden = test::sourcePath("tests/output/golden/archive");
    const bool regenerate = std::getenv("LUMO_REGENERATE_GOLDEN") != nullptr;
    std::string list;
    for (const std::string& path : r.paths) {
        const std::string bytes = test::readFile(path);
        const std::string name = fs::path(path).filename().string();
        list += name + " " + std::to_string(bytes.size()) + " " + fnv1a64(bytes) + "\n";
        if (!f.fullGolden)
            continue;
        if (regenerate)
            fs::copy_file(path, golden / name, fs::copy_options::overwrite_existing);
        else
            EXPECT_TRUE(bytes == test::readFile((golden / name).string())) << name << " differs from its golden file";
    }
    const fs::path listFile = golden / (std::string(f.name) + ".files");
    if (regenerate)
        std::ofstream(listFile, std::ios::binary) << list;
    else
        EXPECT_EQ(list, test::readFile(listFile.string()));
}

INSTANTIATE_TEST_SUITE_P(Flights, ArchiveGolden, ::testing::ValuesIn(Flights),
                         [](const auto& info) { return std::string(info.param.name); });

class ArchiveParseBack : public ::testing::TestWithParam<Flight> {
protected:
    void SetUp() override
    {
        q = processed(GetParam());
        profile = buildArchiveProfile(*q);
        ASSERT_TRUE(profile.error.empty());
        result = writeArchiveFiles(*q, stationMeta(GetParam().name), AllKinds, dir.path().string());
        ASSERT_TRUE(result.ok) << result.error;
    }
    std::string fileEnding(const std::string& ending) const
    {
        std::vector<std::string> found;
        for (const std::string& p : result.paths)
            if (p.size() >= ending.size() && p.compare(p.size() - ending.size(), ending.size(), ending) == 0)
                found.push_back(p);
        return found.empty() ? std::string() : found.front();
    }
    std::vector<std::string> filesWith(const std::string& part) const
    {
        std::vector<std::string> found;
        for (const std::string& p : result.paths)
            if (fs::path(p).filename().string().find(part) != std::string::npos)
                found.push_back(p);
        return found;
    }
    // The column the processing reports for the ozonesonde, against one
    // recomputed from the written profile up to its highest level (a
    // sounding without a burst keeps the levels after it in the profile).
    void expectColumn(const ArchiveSonde& s, std::vector<double> p, std::vector<double> o3) const
    {
        const auto top = std::min_element(p.begin(), p.end()) - p.begin();
        p.resize(static_cast<std::size_t>(top) + 1);
        o3.resize(p.size());
        const double recomputed = test::columnDu(p, o3);
        EXPECT_NEAR(recomputed, q->o3Measured[s.slot], 0.005 * q->o3Measured[s.slot]) << s.sn;
    }

    TempDir dir;
    std::unique_ptr<Q5> q;
    ArchiveProfile profile;
    ArchiveResult result;
};

TEST_P(ArchiveParseBack, WoudcTablesFieldsDatesAndColumn)
{
    const std::vector<std::string> files = filesWith(".ECC.");
    ASSERT_EQ(files.size(), profile.sondes.size());
    for (std::size_t k = 0; k < files.size(); ++k) {
        const ArchiveSonde& s = profile.sondes[k];
        const std::vector<test::CsvTable> tables = test::readExtCsv(test::readFile(files[k]));
        std::vector<std::string> names;
        for (const test::CsvTable& t : tables)
            names.push_back(t.name);
        const std::vector<std::string> head = {"CONTENT", "DATA_GENERATION", "PLATFORM", "INSTRUMENT", "LOCATION",
                                               "TIMESTAMP", "FLIGHT_SUMMARY", "PREFLIGHT_SUMMARY", "RADIOSONDE",
                                               "INTERFACE_CARD", "SAMPLING_METHOD", "PUMP_CORRECTION"};
        ASSERT_GE(names.size(), head.size() + 1);
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 12), head);
        EXPECT_EQ(names[12], "PROFILE");
        const auto table = [&](const std::string& n) -> const test::CsvTable& {
            for (const test::CsvTable& t : tables)
                if (t.name == n)
                    return t;
            return tables.front();
        };
        EXPECT_EQ(table("CONTENT").rows.at(0), (std::vector<std::string>{"WOUDC", "OzoneSonde", "1.0", "2"}));
        // Every field the data centre requires (and the Model its ingest
        // refuses null) once the station's metadata are given.
        for (const auto& [t, field] : std::vector<std::pair<std::string, std::string>>{
                 {"DATA_GENERATION", "Date"}, {"DATA_GENERATION", "Agency"}, {"DATA_GENERATION", "Version"},
                 {"PLATFORM", "Type"}, {"PLATFORM", "ID"}, {"PLATFORM", "Name"}, {"PLATFORM", "Country"},
                 {"INSTRUMENT", "Name"}, {"INSTRUMENT", "Model"}, {"LOCATION", "Latitude"},
                 {"LOCATION", "Longitude"}, {"TIMESTAMP", "UTCOffset"}, {"TIMESTAMP", "Date"},
                 {"FLIGHT_SUMMARY", "IntegratedO3"}, {"FLIGHT_SUMMARY", "SondeTotalO3"}})
            EXPECT_FALSE(table(t).value(field).empty()) << t << "." << field;
        EXPECT_NE(table("DATA_GENERATION").value("Version").find('.'), std::string::npos);
        EXPECT_EQ(table("DATA_GENERATION").value("Date"), "2026-12-14");
        EXPECT_EQ(table("TIMESTAMP").value("UTCOffset"), "+00:00:00");
        const DateParts launch = decodeDateTime(q->launchRec->time + 0.5 / SecondsPerDay);
        char when[32];
        std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", launch.year, launch.month, launch.day,
                      launch.hour, launch.minute, launch.second);
        EXPECT_EQ(table("TIMESTAMP").value("Date") + " " + table("TIMESTAMP").value("Time"), when);
        EXPECT_EQ(table("INSTRUMENT").value("Number"), s.sn);

        const test::CsvTable& prof = table("PROFILE");
        ASSERT_EQ(prof.rows.size(), s.ascent.size());
        std::vector<double> p, o3;
        for (std::size_t r = 0; r < prof.rows.size(); ++r) {
            p.push_back(std::stod(prof.value("Pressure", r)));
            o3.push_back(std::stod(prof.value("O3PartialPressure", r)));
        }
        expectColumn(s, p, o3);
        // Uncertainties row by row with the profile, in the partial pressure's field only.
        const test::CsvTable& unc = table("PROFILE_UNCERTAINTY");
        ASSERT_EQ(unc.name, "PROFILE_UNCERTAINTY");
        ASSERT_EQ(unc.rows.size(), prof.rows.size());
        EXPECT_FALSE(unc.value("O3PartialPressure").empty());
        for (std::size_t r = 0; r < unc.rows.size(); ++r) {
            ASSERT_EQ(unc.value("Duration", r), prof.value("Duration", r)) << "uncertainty row " << r;
            ASSERT_EQ(unc.value("Pressure", r), prof.value("Pressure", r)) << "uncertainty row " << r;
        }
        // Standard levels: one per standard pressure the ascent crosses.
        std::size_t standard = 0;
        for (std::size_t r = 0; r < prof.rows.size(); ++r)
            standard += (std::stoi(prof.value("LevelCode", r)) & 1) != 0;
        const double top = *std::min_element(p.begin(), p.end()), bottom = *std::max_element(p.begin(), p.end());
        std::size_t crossed = 0;
        for (double ps : {1000, 700, 500, 300, 200, 150, 100, 70, 50, 30, 20, 10, 7, 5, 3, 2, 1})
            crossed += ps >= top && ps <= bottom;
        EXPECT_EQ(standard, crossed);
        if (!s.prelaunch.empty()) {
            EXPECT_LT(std::stod(table("PRELAUNCH").value("Duration")), 0);
        }
    }
}

TEST_P(ArchiveParseBack, AmesHeaderCountsRecordsAndColumn)
{
    const std::vector<std::string> files = filesWith(".b");
    ASSERT_EQ(files.size(), profile.sondes.size());
    for (std::size_t k = 0; k < files.size(); ++k) {
        const ArchiveSonde& s = profile.sondes[k];
        const test::AmesFile f = test::readAmes(test::readFile(files[k]));
        EXPECT_EQ(f.ffi, 2160);
        EXPECT_EQ(static_cast<int>(f.vnames.size()), f.nv);
        EXPECT_EQ(static_cast<int>(f.vmiss.size()), f.nv);
        ASSERT_FALSE(f.aux.empty());
        EXPECT_EQ(f.aux[0], static_cast<double>(f.records.size()));
        EXPECT_EQ(f.records.size(), s.ascent.size());
        std::vector<double> p, o3;
        double last = -1;
        for (const std::vector<double>& rec : f.records) {
            ASSERT_GE(rec.size(), 6u);
            EXPECT_GT(rec[0], last) << "time after launch must rise strictly";
            last = rec[0];
            if (rec[5] != f.vmiss[4]) {
                p.push_back(rec[1]);
                o3.push_back(rec[5]);
            }
        }
        expectColumn(s, p, o3);
        // Read as blank-splitting readers do: every character value one item,
        // the missing ones z as long as the variable, the NDACC list first.
        EXPECT_EQ(f.catalogue.size(), 100u);
        EXPECT_EQ(f.catalogue.substr(20, 12), "O3SONDE     ");
        EXPECT_EQ(f.catalogue.substr(96), "0001"); // final, data version 1
        ASSERT_EQ(static_cast<int>(f.amissText.size()), f.nauxc);
        for (int c = 0; c < f.nauxc; ++c) {
            EXPECT_EQ(f.amissText[static_cast<std::size_t>(c)], std::string(f.lena[static_cast<std::size_t>(c)], 'z'));
            if (f.lena[static_cast<std::size_t>(c)] < 132) {
                EXPECT_EQ(test::items(f.auxText[static_cast<std::size_t>(c)]).size(), 1u) << f.auxText[c];
            }
        }
        ASSERT_EQ(f.aux.size(), 42u);
        EXPECT_EQ(f.aux[1], 2.0); // NDACC format version
        EXPECT_EQ(f.aux[2], 1.0); // data version
        EXPECT_EQ(f.auxText.at(5), s.sn);
    }
}

TEST_P(ArchiveParseBack, NetcdfReadsBackWithUnitsFillValuesAndColumn)
{
    const std::string path = fileEnding(".nc");
    ASSERT_FALSE(path.empty());
    int id = -1;
    ASSERT_EQ(nc_open(path.c_str(), NC_NOWRITE, &id), NC_NOERR);
    const auto text = [id](int var, const char* name) {
        std::size_t len = 0;
        if (nc_inq_attlen(id, var, name, &len) != NC_NOERR)
            return std::string();
        std::string s(len, '\0');
        nc_get_att_text(id, var, name, s.data());
        return s;
    };
    EXPECT_EQ(text(NC_GLOBAL, "Conventions"), "CF-1.8");
    EXPECT_EQ(text(NC_GLOBAL, "featureType"), "trajectory");
    int nvars = 0;
    nc_inq_nvars(id, &nvars);
    for (int v = 0; v < nvars; ++v) {
        char name[NC_MAX_NAME + 1];
        nc_type type;
        nc_inq_var(id, v, name, &type, nullptr, nullptr, nullptr);
        EXPECT_FALSE(text(v, "long_name").empty()) << name;
        if (type == NC_DOUBLE) {
            EXPECT_FALSE(text(v, "units").empty()) << name;
        }
    }
    const std::map<std::string, std::string> standard = {
        {"pressure", "air_pressure"}, {"temperature", "air_temperature"}, {"relative_humidity", "relative_humidity"},
        {"ozone_mixing_ratio", "mole_fraction_of_ozone_in_air"}, {"wind_speed", "wind_speed"},
        {"wind_direction", "wind_from_direction"}, {"geopotential_height", "geopotential_height"}};
    std::size_t nTraj = 0, nObs = 0;
    int dim = -1;
    nc_inq_dimid(id, "trajectory", &dim);
    nc_inq_dimlen(id, dim, &nTraj);
    nc_inq_dimid(id, "obs", &dim);
    nc_inq_dimlen(id, dim, &nObs);
    ASSERT_EQ(nTraj, profile.sondes.size());
    std::map<std::string, std::vector<double>> data;
    for (const auto& [name, standardName] : standard) {
        int v = -1;
        ASSERT_EQ(nc_inq_varid(id, name.c_str(), &v), NC_NOERR) << name;
        EXPECT_EQ(text(v, "standard_name"), standardName) << name;
    }
    for (const char* name : {"time", "pressure", "ozone_partial_pressure", "lat", "wind_speed"}) {
        int v = -1;
        ASSERT_EQ(nc_inq_varid(id, name, &v), NC_NOERR);
        double fill = 0;
        ASSERT_EQ(nc_get_att_double(id, v, "_FillValue", &fill), NC_NOERR);
        EXPECT_EQ(fill, NetcdfFill);
        std::vector<double>& values = data[name];
        values.resize(nTraj * nObs);
        ASSERT_EQ(nc_get_var_double(id, v, values.data()), NC_NOERR);
        for (double x : values)
            ASSERT_FALSE(std::isnan(x)) << name << ": NaN stored where the fill value is meant";
    }
    nc_close(id);
    for (std::size_t t = 0; t < nTraj; ++t) {
        const ArchiveSonde& s = profile.sondes[t];
        std::vector<double> p, o3;
        for (std::size_t k = 0; k < nObs; ++k) {
            const double pv = data["pressure"][t * nObs + k], ov = data["ozone_partial_pressure"][t * nObs + k];
            EXPECT_EQ(k >= s.ascent.size(), data["time"][t * nObs + k] == NetcdfFill) << "padding of " << s.sn;
            if (pv != NetcdfFill && ov != NetcdfFill) {
                p.push_back(pv);
                o3.push_back(ov);
            }
        }
        expectColumn(s, p, o3);
    }
    // Every observation that holds data has a position: without GPS the
    // launch site's.
    for (std::size_t k = 0; k < nTraj * nObs; ++k) {
        EXPECT_EQ(data["time"][k] == NetcdfFill, data["lat"][k] == NetcdfFill) << k;
        if (!q->rsGpsInst && data["time"][k] != NetcdfFill) {
            EXPECT_EQ(data["lat"][k], q->stnLat);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Flights, ArchiveParseBack, ::testing::ValuesIn(Flights),
                         [](const auto& info) { return std::string(info.param.name); });

std::string ncText(int id, int var, const char* att)
{
    std::size_t len = 0;
    if (nc_inq_attlen(id, var, att, &len) != NC_NOERR)
        return {};
    std::string s(len, '\0');
    nc_get_att_text(id, var, att, s.data());
    return s;
}

// The files of three flights combined along the trajectory dimension, as a
// multi-file reader does: the global attributes of the first file stand for
// all, so they must agree; per-flight values live in variables whose first
// dimension is the trajectory and come out per flight.
TEST(ArchiveCombined, PerFlightValuesStayPerFlight)
{
    TempDir dir;
    std::vector<std::string> paths;
    std::vector<std::unique_ptr<Q5>> flights;
    for (const Flight& f : Flights) {
        flights.push_back(processed(f));
        const ArchiveResult r = writeArchiveFiles(*flights.back(), stationMeta(f.name), {ArchiveKind::Netcdf},
                                                  dir.path().string());
        ASSERT_TRUE(r.ok) << r.error;
        paths.push_back(r.paths.at(0));
    }
    std::string globals0;
    std::vector<std::string> stations, launches;
    std::vector<double> tropopauses, stationLats;
    std::size_t trajectories = 0;
    for (std::size_t n = 0; n < paths.size(); ++n) {
        int id = -1;
        ASSERT_EQ(nc_open(paths[n].c_str(), NC_NOWRITE, &id), NC_NOERR);
        int natts = 0, nvars = 0, dimTraj = -1, dimObs = -1;
        nc_inq_natts(id, &natts);
        nc_inq_nvars(id, &nvars);
        nc_inq_dimid(id, "trajectory", &dimTraj);
        nc_inq_dimid(id, "obs", &dimObs);
        std::string globals;
        for (int a = 0; a < natts; ++a) {
            char name[NC_MAX_NAME + 1];
            nc_inq_attname(id, NC_GLOBAL, a, name);
            if (std::string(name) != "title")
                globals += std::string(name) + "=" + ncText(id, NC_GLOBAL, name) + ";";
        }
        if (n == 0)
            globals0 = globals;
        EXPECT_EQ(globals, globals0) << paths[n] << ": a global attribute differs between flights";
        std::size_t nTraj = 0, nObs = 0;
        nc_inq_dimlen(id, dimTraj, &nTraj);
        nc_inq_dimlen(id, dimObs, &nObs);
        trajectories += nTraj;
        for (int v = 0; v < nvars; ++v) {
            char name[NC_MAX_NAME + 1];
            int ndims = 0, dims[NC_MAX_VAR_DIMS];
            nc_inq_var(id, v, name, nullptr, &ndims, dims, nullptr);
            if (std::string(name) == "obs") {
                std::vector<int> index(nObs);
                nc_get_var_int(id, v, index.data());
                EXPECT_EQ(index.back(), static_cast<int>(nObs) - 1); // the index that aligns files along obs
            } else {
                ASSERT_GE(ndims, 1) << name;
                EXPECT_EQ(dims[0], dimTraj) << name << " is not on the trajectory dimension";
            }
        }
        const auto text = [&](const char* var, std::size_t t) {
            int v = -1, dims[2];
            std::size_t len = 0;
            EXPECT_EQ(nc_inq_varid(id, var, &v), NC_NOERR) << var;
            nc_inq_vardimid(id, v, dims);
            nc_inq_dimlen(id, dims[1], &len);
            std::string s(len, '\0');
            const std::size_t start[2] = {t, 0}, count[2] = {1, len};
            nc_get_vara_text(id, v, start, count, s.data());
            return std::string(s.c_str());
        };
        const auto number = [&](const char* var, std::size_t t) {
            int v = -1;
            double x = 0;
            EXPECT_EQ(nc_inq_varid(id, var, &v), NC_NOERR) << var;
            nc_get_var1_double(id, v, &t, &x);
            return x;
        };
        for (std::size_t t = 0; t < nTraj; ++t) {
            stations.push_back(text("station_name", t));
            launches.push_back(text("launch_time", t));
            tropopauses.push_back(number("wmo_tropopause_pressure", t));
            stationLats.push_back(number("station_latitude", t));
        }
        nc_close(id);
    }
    // The combined trajectories keep each flight's own values.
    ASSERT_EQ(stations.size(), trajectories);
    std::size_t t = 0;
    for (std::size_t n = 0; n < flights.size(); ++n) {
        const Q5& q = *flights[n];
        for (int h = 0; h < MaxSondes; ++h, ++t) {
            if (!q.o3Sonde[h].sn[0]) {
                --t;
                continue;
            }
            EXPECT_EQ(stations[t], q.stnName);
            EXPECT_EQ(stationLats[t], q.stnLat);
            EXPECT_EQ(launches[t].substr(0, 10), isoDate(q.launchRec->time)) << t;
            const bool confirmed = q.tropopause.found() && q.tropopause.confirmed;
            EXPECT_EQ(tropopauses[t], confirmed ? q.tropopause.p : NetcdfFill);
        }
    }
    EXPECT_NE(launches.front(), launches.back());
}

} // namespace
} // namespace lumo
