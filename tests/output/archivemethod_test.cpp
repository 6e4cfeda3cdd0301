// The archive files of a flight processed by the standard method with the
// response correction say what was applied.
#include <gtest/gtest.h>
#include <netcdf.h>

#include <map>
#include <sstream>
#include <vector>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "output/ameswriter.h"
#include "archivereaders.h"
#include "output/archiveprofile.h"
#include "output/netcdfwriter.h"
#include "output/woudcwriter.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo {
namespace {

// The nogps flight with the solution and the flow conditions the standard
// method needs, processed by it (or by the classic equation).
void processStandard(Q5& q, const test::TempDir& dir, bool responseCorrection,
                     O3Method method = O3Method::Standard)
{
    const std::string base = test::sourcePath("tests/output/flights/nogps");
    std::string cfg = test::readFile(base + ".cfg");
    cfg.insert(cfg.find("sn=5A22362"), "solutionType=1.0% KI, full buffer\nib0=0.02\nib1=0.05\nthermistor=internal\n"
                                       "flowTemp=20\nflowHumidity=30\nflowPressure=1000\n");
    q.o3Method.method = method;
    q.o3Method.responseCorrection = responseCorrection;
    ASSERT_TRUE(importFlight(q, base + ".raw", dir.write("f.cfg", cfg)).ok());
    ScriptedDialogs dialogs(false);
    q.dialogs = &dialogs;
    ASSERT_TRUE(q.processFlight());
    q.dialogs = nullptr;
}

// The auxiliary values of a NASA Ames file by their names: numbers as
// written, then the character values.
std::map<std::string, std::string> amesAuxiliary(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t from = 0, to; from < text.size(); from = to + 2) {
        to = text.find("\r\n", from);
        lines.push_back(text.substr(from, to - from));
    }
    const std::size_t nlhead = std::stoul(lines.at(1));
    std::size_t names = 0;
    while (lines.at(names) != "Number of levels")
        ++names;
    std::size_t texts = names;
    while (lines.at(texts) != "Comment on transfer function applied")
        ++texts;
    // The character names run to the count of special comments.
    const std::size_t numbers = texts - names;
    std::size_t textCount = 0;
    while (lines.at(texts + textCount).find_first_not_of("0123456789") != std::string::npos)
        ++textCount;
    std::map<std::string, std::string> aux;
    std::size_t line = 1 + nlhead + 1, k = 0;
    for (; k < numbers; ++line) {
        std::istringstream words(lines.at(line));
        for (std::string w; words >> w; ++k)
            aux[lines.at(names + k)] = w;
    }
    for (std::size_t t = 0; t < textCount; ++t)
        aux[lines.at(texts + t)] = lines.at(line + t);
    return aux;
}

TEST(ArchiveMethod, WoudcNamesTheStandardMethodsChoices)
{
    test::TempDir dir;
    Q5 q;
    ASSERT_NO_FATAL_FAILURE(processStandard(q, dir, true));
    const ArchiveProfile profile = buildArchiveProfile(q);
    ASSERT_FALSE(profile.sondes.empty());
    ArchiveMeta meta;
    meta.generated = 46370.5;
    const std::string text = woudcFile(q, profile.sondes.front(), meta).text;
    const auto row = [&text](const std::string& table) {
        const std::size_t at = text.find("#" + table + "\r\n");
        const std::size_t fields = text.find("\r\n", at) + 2;
        const std::size_t values = text.find("\r\n", fields) + 2;
        return text.substr(values, text.find("\r\n", values) - values);
    };
    EXPECT_NE(row("FLIGHT_SUMMARY").find(",Time response (Ib0 and slow current),"), std::string::npos);
    // 6000 / 27.6 s x the moistening factor 0.990459; tauFast 21 s of a 6A sonde.
    EXPECT_NE(row("PREFLIGHT_SUMMARY").find(",215.32,21.0"), std::string::npos) << row("PREFLIGHT_SUMMARY");
    EXPECT_EQ(row("SAMPLING_METHOD").substr(0, 8), ",0.9905,");
    EXPECT_EQ(row("PUMP_CORRECTION"), "1000.0,1.000"); // Komhyr 1986, the 6A table
    EXPECT_NE(text.find("\r\n100.0,1.007\r\n"), std::string::npos);
}

TEST(ArchiveMethod, NdaccAuxiliaryValuesComeFromTheStandardMethod)
{
    for (const bool response : {true, false}) {
        SCOPED_TRACE(response ? "response corrected" : "constant background");
        test::TempDir dir;
        Q5 q;
        ASSERT_NO_FATAL_FAILURE(processStandard(q, dir, response));
        const ArchiveProfile profile = buildArchiveProfile(q);
        ASSERT_FALSE(profile.sondes.empty());
        auto aux = amesAuxiliary(amesFile(q, profile.sondes.front(), ArchiveMeta{}).text);
        EXPECT_EQ(aux["Humidity correction factor to flow rate (negative: not applied; positive: appl.)"], "0.990");
        // Komhyr 1986 for the 6A sonde, not the configuration's 1.033 at 100 hPa.
        EXPECT_EQ(aux["Inverse of pump efficiency at 1000 hPa"], "1.000");
        EXPECT_EQ(aux["Inverse of pump efficiency at  100 hPa"], "1.007");
        EXPECT_EQ(aux["Background subtracted (yes/no)"], "yes");
        const std::string used = "Ozone background used in calculation of ozone [microA] (at the surface)";
        const std::string how = "Background subtraction constant or altitude dependent (constant/pressure_dependent)";
        const std::string comment = aux["Comment on transfer function applied"];
        if (response) {
            EXPECT_EQ(aux[used], "0.020"); // ib0, the slow current on top of it
            EXPECT_EQ(aux[how], "time_dependent");
            EXPECT_EQ(comment, "no_transfer_function,_time_response_corrected,_tau_F_21_s,_tau_S_1500_s");
        } else {
            EXPECT_EQ(aux[used], "0.050"); // ib1, without ib2
            EXPECT_EQ(aux[how], "constant");
            EXPECT_EQ(comment, "no_transfer_function,_no_time_response_correction");
        }
    }
}

// The values of a netCDF variable; empty when the file has no such variable.
std::vector<double> netcdfValues(const std::string& path, const char* name)
{
    int id = -1, var = -1;
    std::size_t n = 1, len = 0;
    EXPECT_EQ(nc_open(path.c_str(), NC_NOWRITE, &id), NC_NOERR);
    std::vector<double> values;
    if (nc_inq_varid(id, name, &var) == NC_NOERR) {
        int ndims = 0, dims[NC_MAX_VAR_DIMS];
        nc_inq_var(id, var, nullptr, nullptr, &ndims, dims, nullptr);
        for (int d = 0; d < ndims; ++d)
            n *= nc_inq_dimlen(id, dims[d], &len) == NC_NOERR ? len : 0;
        values.resize(n);
        EXPECT_EQ(nc_get_var_double(id, var, values.data()), NC_NOERR);
    }
    nc_close(id);
    return values;
}

TEST(ArchiveMethod, ClassicPartialPressureBesideTheStandardOne)
{
    test::TempDir dir;
    Q5 classic, standard;
    ASSERT_NO_FATAL_FAILURE(processStandard(classic, dir, false, O3Method::Classic));
    ASSERT_NO_FATAL_FAILURE(processStandard(standard, dir, false));
    const ArchiveProfile cp = buildArchiveProfile(classic);
    ArchiveProfile sp = buildArchiveProfile(standard);
    ASSERT_EQ(cp.sondes.size(), 1u);
    ASSERT_EQ(sp.sondes.size(), 1u);
    const std::size_t levels = sp.sondes[0].ascent.size();
    ASSERT_EQ(cp.sondes[0].ascent.size(), levels);
    // A level whose classic value is unknown is written missing, never 0.
    const std::size_t unknownAt = levels / 2;
    sp.sondes[0].ascent[unknownAt].o3ppClassic = Unknown;

    // NASA Ames: one more variable, each record's last value.
    const test::AmesFile a = test::readAmes(amesFile(standard, sp.sondes[0], ArchiveMeta{}).text);
    const test::AmesFile ac = test::readAmes(amesFile(classic, cp.sondes[0], ArchiveMeta{}).text);
    ASSERT_EQ(a.nv, ac.nv + 1);
    EXPECT_NE(a.vnames.back().find("classic equation"), std::string::npos);
    ASSERT_EQ(a.records.size(), levels);
    ASSERT_EQ(ac.records.size(), levels);
    const std::size_t po3 = 5; // time, pressure, height, temperature, humidity, ozone
    std::size_t differ = 0;
    for (std::size_t k = 0; k < levels; ++k) {
        const double written = a.records[k].back();
        EXPECT_EQ(written, k == unknownAt ? 99999 : ac.records[k][po3]) << "level " << k;
        differ += written != a.records[k][po3];
    }
    EXPECT_GT(differ, levels / 2) << "the classic column repeats the standard one";

    // netCDF: a variable of its own, only in the standard method's file.
    std::string error;
    const std::string sPath = dir.file("s.nc"), cPath = dir.file("c.nc");
    ASSERT_TRUE(writeNetcdfFile(sPath, standard, sp, ArchiveMeta{}, error)) << error;
    ASSERT_TRUE(writeNetcdfFile(cPath, classic, cp, ArchiveMeta{}, error)) << error;
    EXPECT_TRUE(netcdfValues(cPath, "ozone_partial_pressure_classic").empty());
    const std::vector<double> kept = netcdfValues(sPath, "ozone_partial_pressure_classic");
    const std::vector<double> made = netcdfValues(sPath, "ozone_partial_pressure");
    const std::vector<double> expected = netcdfValues(cPath, "ozone_partial_pressure");
    ASSERT_EQ(kept.size(), expected.size());
    ASSERT_EQ(made.size(), expected.size());
    differ = 0;
    for (std::size_t k = 0; k < levels; ++k) {
        EXPECT_EQ(kept[k], k == unknownAt ? NetcdfFill : expected[k]) << "level " << k;
        differ += kept[k] != made[k];
    }
    EXPECT_GT(differ, levels / 2);
}

} // namespace
} // namespace lumo
