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

// The values of a netCDF variable of the trajectory and obs dimensions.
std::vector<double> netcdfValues(const std::string& path, const char* name, std::size_t count)
{
    int id = -1, var = -1;
    std::vector<double> values(count);
    EXPECT_EQ(nc_open(path.c_str(), NC_NOWRITE, &id), NC_NOERR);
    EXPECT_EQ(nc_inq_varid(id, name, &var), NC_NOERR) << name;
    EXPECT_EQ(nc_get_var_double(id, var, values.data()), NC_NOERR);
    nc_close(id);
    return values;
}

TEST(ArchiveMethod, ClassicPartialPressureBesideTheStandardOne)
{
    test::TempDir dir;
    Q5 classic, standard;
    ASSERT_NO_FATAL_FAILURE(processStandard(classic, dir, false, O3Method::Classic));
    ASSERT_NO_FATAL_FAILURE(processStandard(standard, dir, false));
    const std::vector<ArchiveLevel> expected = buildArchiveProfile(classic).sondes.at(0).ascent;
    ArchiveProfile profile = buildArchiveProfile(standard);
    ASSERT_EQ(profile.sondes.size(), 1u);
    const std::size_t levels = expected.size(), unknownAt = levels / 2;
    ASSERT_EQ(profile.sondes[0].ascent.size(), levels);
    // A level whose classic value is unknown is written missing, never 0.
    profile.sondes[0].ascent[unknownAt].o3ppClassic = Unknown;

    // NASA Ames: one more variable, the last value of each record.
    const test::AmesFile a = test::readAmes(amesFile(standard, profile.sondes[0], ArchiveMeta{}).text);
    ASSERT_EQ(a.records.size(), levels);
    EXPECT_NE(a.vnames.back().find("classic equation"), std::string::npos);
    // netCDF: a variable of its own beside the standard one.
    std::string error;
    ASSERT_TRUE(writeNetcdfFile(dir.file("s.nc"), standard, profile, ArchiveMeta{}, error)) << error;
    const std::vector<double> kept = netcdfValues(dir.file("s.nc"), "ozone_partial_pressure_classic", levels);
    const std::vector<double> made = netcdfValues(dir.file("s.nc"), "ozone_partial_pressure", levels);
    std::size_t differ = 0;
    for (std::size_t k = 0; k < levels; ++k) {
        const double written = a.records[k].back();
        EXPECT_EQ(written, k == unknownAt ? 99999 : std::round(expected[k].o3pp * 1000) / 1000) << k;
        EXPECT_EQ(kept[k], k == unknownAt ? NetcdfFill : expected[k].o3pp) << k;
        differ += written != a.records[k][5] && kept[k] != made[k]; // [5]: the standard partial pressure
    }
    EXPECT_GT(differ, levels / 2) << "the classic column repeats the standard one";
}

} // namespace
} // namespace lumo
