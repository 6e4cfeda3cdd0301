// lumo-batch process: the JSON summary contract, the failure messages and
// exit codes, and the settings options, on the committed sample flights.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/batchrun.h"

using namespace lumo::test;
using Json = nlohmann::ordered_json;

namespace {

// A copy of a sample flight in the scratch folder; `edit` rewrites config lines.
std::string copySample(const TempDir& dir, const std::string& name, const std::string& as,
                       const std::vector<std::pair<std::string, std::string>>& cfgEdits = {})
{
    std::string cfg;
    for (char c : readFile(sourcePath("samples/" + name + ".cfg")))
        if (c != '\r')
            cfg += c;
    for (const auto& [from, to] : cfgEdits) {
        const std::size_t at = cfg.find(from);
        if (at != std::string::npos)
            cfg.replace(at, from.size(), to);
    }
    dir.write(as + ".cfg", cfg);
    return dir.write(as + ".raw", readFile(sourcePath("samples/" + name + ".raw")));
}

Json onlyLine(const BatchResult& r)
{
    const auto lines = r.lines();
    EXPECT_EQ(lines.size(), 1u) << r.out << r.err;
    return lines.empty() ? Json() : Json::parse(lines[0]);
}

} // namespace

TEST(BatchProcess, SummaryObjectFollowsTheContract)
{
    TempDir dir;
    const std::string raw = sourcePath("samples/flight1.raw");
    const BatchResult r = runBatch(dir, {"process", "--json", raw});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json j = onlyLine(r);
    EXPECT_EQ(keysOf(j), (std::vector<std::string>{"raw", "cfg", "ok", "error", "o3Count", "launch", "burst", "surface",
                                                   "sondes", "tropopause", "tropopause2", "questions", "counts",
                                                   "warnings", "exports"}));
    EXPECT_EQ(j["raw"], raw);
    EXPECT_EQ(j["cfg"], sourcePath("samples/flight1.cfg"));
    EXPECT_EQ(j["ok"], true);
    EXPECT_TRUE(j["error"].is_null());
    EXPECT_EQ(j["o3Count"], 1);
    EXPECT_EQ(keysOf(j["launch"]), (std::vector<std::string>{"time", "text"}));
    const std::string text = j["launch"]["text"];
    ASSERT_EQ(text.size(), 12u);
    EXPECT_EQ(text.substr(0, 6), "10:42:");
    EXPECT_EQ(text[8], '.');
    EXPECT_LT(j["launch"]["time"].get<double>(), j["burst"]["time"].get<double>());
    EXPECT_EQ(keysOf(j["surface"]), (std::vector<std::string>{"sfcP", "sfcT", "sfcU", "sfcO3"}));
    EXPECT_EQ(j["surface"]["sfcP"], 955.48);
    EXPECT_EQ(j["surface"]["sfcO3"].size(), 4u);
    EXPECT_GT(j["surface"]["sfcO3"][0].get<double>(), 0);
    EXPECT_TRUE(j["surface"]["sfcO3"][1].is_null()); // no ozonesonde at position 2
    ASSERT_EQ(j["sondes"].size(), 1u);
    const Json& s = j["sondes"][0];
    EXPECT_EQ(keysOf(s), (std::vector<std::string>{"slot", "sn", "measured", "residual", "total", "topMix",
                                                   "measuredUncertainty", "residualUncertainty", "totalUncertainty",
                                                   "correctionFactor", "method", "responseCorrected",
                                                   "stepsApplied", "stepsSkipped", "classicMeasured"}));
    EXPECT_EQ(s["method"], "classic");
    EXPECT_EQ(s["responseCorrected"], false);
    EXPECT_EQ(s["classicMeasured"], s["measured"]);
    EXPECT_EQ(s["slot"], 1);
    EXPECT_EQ(s["sn"], "5A51252");
    EXPECT_EQ(s["total"].get<double>(), s["measured"].get<double>() + s["residual"].get<double>());
    // The truth file's column from the surface to the burst.
    const Json truth = Json::parse(readFile(sourcePath("samples/flight1.truth.json")));
    const double column = truth["sondes"][0]["columnToBurst"];
    EXPECT_NEAR(s["measured"].get<double>(), column, column * 0.01);
    EXPECT_TRUE(j["questions"].empty());
    EXPECT_TRUE(j["warnings"].empty());
    EXPECT_EQ(keysOf(j["counts"]), (std::vector<std::string>{"sfc", "flt", "wind"}));
    EXPECT_GT(j["counts"]["wind"].get<int>(), 1000);
    EXPECT_TRUE(j["exports"].is_array());
    EXPECT_TRUE(j["exports"].empty());
}

TEST(BatchProcess, EachFailureHasItsMessageAndTheRunGoesOn)
{
    TempDir dir;
    const std::string good = copySample(dir, "flight1", "good");
    const std::string noCfg = dir.write("nocfg.raw", "");
    // An ozonesonde without a pump flow makes the configuration unusable.
    const std::string badCfg = copySample(dir, "flight1", "badcfg", {{"flow=29.08", "flow=0"}});
    dir.write("noraw.cfg", readFile(sourcePath("samples/flight1.cfg")));
    const std::string noRaw = dir.file("noraw.raw");
    // Without the separator line every record is a surface record.
    std::string rawText;
    {
        std::istringstream in(readFile(good));
        for (std::string line; std::getline(in, line);)
            if (line.size() > 30)
                rawText += line + "\n";
    }
    dir.write("nosep.cfg", readFile(sourcePath("samples/flight1.cfg")));
    const std::string noSep = dir.write("nosep.raw", rawText);

    const BatchResult r = runBatch(dir, {"process", "--json", noCfg, badCfg, noRaw, noSep, good});
    EXPECT_EQ(r.exitCode, 1);
    const auto lines = r.lines();
    ASSERT_EQ(lines.size(), 5u) << r.err;
    const std::string expected[] = {"Flight config not found, load aborted.",
                                    "Error loading flight config, load aborted.",
                                    "Raw file " + noRaw + ": no such file, load aborted.",
                                    "Error calculating total ozone data."};
    for (int i = 0; i < 4; ++i) {
        const Json j = Json::parse(lines[static_cast<std::size_t>(i)]);
        EXPECT_EQ(j["ok"], false);
        EXPECT_EQ(j["error"], expected[i]);
        EXPECT_TRUE(j["launch"].is_null());
        EXPECT_TRUE(j["burst"].is_null());
        EXPECT_TRUE(j["surface"]["sfcP"].is_null());
        EXPECT_TRUE(j["surface"]["sfcO3"][0].is_null());
    }
    EXPECT_EQ(Json::parse(lines[0])["cfg"], dir.file("nocfg.cfg"));
    EXPECT_EQ(Json::parse(lines[4])["ok"], true);
}

TEST(BatchProcess, UsageErrors)
{
    TempDir dir;
    const std::string a = copySample(dir, "flight1", "a");
    const std::string b = copySample(dir, "flight1", "b");
    EXPECT_EQ(runBatch(dir, {"process", "--cfg", dir.file("a.cfg"), a, b}).exitCode, 2);
    EXPECT_EQ(runBatch(dir, {"process", "--answer", "maybe", a}).exitCode, 2);
    EXPECT_EQ(runBatch(dir, {"process", "--surface-ref", "gps", a}).exitCode, 2);
    EXPECT_EQ(runBatch(dir, {"process"}).exitCode, 2);
    const std::string noGps = copySample(dir, "flight1", "nogps", {{"GPS_inst=1", "GPS_inst=0"}});
    const BatchResult r = runBatch(dir, {"process", "--launch-detect", "gps", noGps});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("GPS"), std::string::npos);
    // Without a pressure sensor the import selects GPS detection itself; PTU is not possible.
    const std::string noP = copySample(dir, "flight1", "nop", {{"P_inst=1", "P_inst=0"}});
    EXPECT_EQ(runBatch(dir, {"process", "--launch-detect", "ptu", noP}).exitCode, 2);
}

TEST(BatchProcess, ExplicitConfigurationIsUsed)
{
    TempDir dir;
    const std::string raw = dir.write("flight.raw", readFile(sourcePath("samples/flight1.raw")));
    const std::string cfg = dir.write("other.cfg", readFile(sourcePath("samples/flight1.cfg")));
    const Json j = onlyLine(runBatch(dir, {"process", "--json", "--cfg", cfg, raw}));
    EXPECT_EQ(j["cfg"], cfg);
    EXPECT_EQ(j["ok"], true);
}

TEST(BatchProcess, AnswersReachTheSurfaceQuestions)
{
    TempDir dir;
    const std::string raw = copySample(dir, "flight1", "f", {{"[surface]\np=955.48", "[surface]\np=950.00"}});
    Json j = onlyLine(runBatch(dir, {"process", "--json", raw}));
    ASSERT_EQ(j["questions"].size(), 1u);
    EXPECT_EQ(j["questions"][0]["caption"], "Surface Pressure");
    EXPECT_EQ(j["questions"][0]["answer"], "no");
    const std::string textNo = j["questions"][0]["text"];
    EXPECT_EQ(textNo.rfind("Surface pressure saved in file = 950.00\nMeasured surface pressure = ", 0), 0u);
    EXPECT_EQ(j["surface"]["sfcP"], 950.0);

    j = onlyLine(runBatch(dir, {"process", "--json", "--answer", "yes", raw}));
    ASSERT_EQ(j["questions"].size(), 1u);
    EXPECT_EQ(j["questions"][0]["answer"], "yes");
    EXPECT_NEAR(j["surface"]["sfcP"].get<double>(), 955.48, 0.5);
}

TEST(BatchProcess, OffsetCorrectionAndSurfaceReference)
{
    TempDir dir;
    // Standard pressure 3 hPa above the radiosonde's.
    const std::string raw = copySample(dir, "flight1", "f", {{"[standard]\np=955.48", "[standard]\np=958.48"}});
    const Json plain = onlyLine(runBatch(dir, {"process", "--json", raw}));
    EXPECT_TRUE(plain["questions"].empty());
    // With the correction the radiosonde pressures read 3 hPa higher and the
    // measured surface pressure no longer matches the corrected saved one.
    const Json corr = onlyLine(runBatch(dir, {"process", "--json", "--apply-sfc-corr", raw}));
    ASSERT_EQ(corr["questions"].size(), 1u);
    EXPECT_EQ(corr["questions"][0]["caption"], "Surface Pressure");
    EXPECT_NE(corr["sondes"][0]["measured"], plain["sondes"][0]["measured"]);
    const Json std = onlyLine(runBatch(dir, {"process", "--json", "--surface-ref", "std", raw}));
    EXPECT_NE(std["surface"]["sfcO3"][0], plain["surface"]["sfcO3"][0]);
    const Json rs = onlyLine(runBatch(dir, {"process", "--json", "--surface-ref", "rs", raw}));
    EXPECT_EQ(rs["surface"]["sfcO3"][0], plain["surface"]["sfcO3"][0]);
}

TEST(BatchProcess, PreferencesFileSettings)
{
    TempDir dir;
    const std::string raw = copySample(dir, "flight1", "f");
    const Json plain = onlyLine(runBatch(dir, {"process", "--json", raw}));
    // GPS launch detection from the preferences is replaced by the import
    // (a pressure sensor is installed); the table residual is used.
    const std::string prefs = dir.write("lumo.ini", "[pref]\nlDet=gps\nendFlt=p\nendFltPr=20\n[o3]\nresidual=TABLE\n"
                                                    "residualTable=\"" + sourcePath("samples/residual.toz") + "\"\n");
    const Json j = onlyLine(runBatch(dir, {"process", "--json", "--prefs", prefs, raw}));
    EXPECT_EQ(j["launch"], plain["launch"]);
    EXPECT_LT(j["burst"]["time"].get<double>(), plain["burst"]["time"].get<double>()); // flight ends at 20 hPa
    EXPECT_GT(j["sondes"][0]["residual"].get<double>(), 0);
    EXPECT_NE(j["sondes"][0]["residual"], plain["sondes"][0]["residual"]);
    // A missing preferences file is no error: every key at its default.
    const Json none = onlyLine(runBatch(dir, {"process", "--json", "--prefs", dir.file("absent.ini"), raw}));
    EXPECT_EQ(none["sondes"], plain["sondes"]);
}

TEST(BatchProcess, HumanReadableReport)
{
    TempDir dir;
    const BatchResult r = runBatch(dir, {"process", sourcePath("samples/flight4.raw")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("launch "), std::string::npos);
    EXPECT_NE(r.out.find("ozonesonde 4 ("), std::string::npos);
    EXPECT_NE(r.out.find(" DU, total "), std::string::npos);
}

TEST(BatchProcess, UncertaintyTropopauseAndCorrectionFactor)
{
    TempDir dir;
    const std::string raw = copySample(dir, "flight1", "ref", {{"[surface]", "[reference]\ntotalO3=320\n[surface]"}});
    const Json j = onlyLine(runBatch(dir, {"process", "--json", raw}));
    const Json& s = j["sondes"][0];
    const double total = s["total"];
    EXPECT_NEAR(s["totalUncertainty"].get<double>(),
                std::hypot(s["measuredUncertainty"].get<double>(), s["residualUncertainty"].get<double>()), 1e-9);
    EXPECT_GT(s["totalUncertainty"].get<double>(), 0.02 * total);
    EXPECT_LT(s["totalUncertainty"].get<double>(), 0.10 * total);
    EXPECT_DOUBLE_EQ(s["correctionFactor"].get<double>(), 320 / total);
    // The simulator's mid-latitude tropopause is at 11 km.
    EXPECT_NEAR(j["tropopause"]["height"].get<double>(), 11000, 100);
    EXPECT_EQ(j["tropopause"]["confirmed"], true);
    EXPECT_TRUE(j["tropopause2"].is_null());
    const std::string text = runBatch(dir, {"process", raw}).out;
    char cf[32];
    std::snprintf(cf, sizeof cf, "correction factor %.3f", 320 / total);
    EXPECT_NE(text.find(cf), std::string::npos) << text;
    EXPECT_NE(text.find("  tropopause "), std::string::npos) << text;
    EXPECT_EQ(text.find("outside 0.8-1.2"), std::string::npos) << text;
    const std::string far = copySample(dir, "flight1", "far", {{"[surface]", "[reference]\ntotalO3=450\n[surface]"}});
    EXPECT_NE(runBatch(dir, {"process", far}).out.find("warning: outside 0.8-1.2"), std::string::npos);
    const Json farJson = onlyLine(runBatch(dir, {"process", "--json", far}));
    const auto hasCode = [](const Json& flight, const std::string& code, const std::string& words) {
        for (const Json& w : flight["warnings"])
            if (w["code"] == code && w["message"].get<std::string>().find(words) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(hasCode(farJson, "correction-factor-range", "outside 0.8 to 1.2")) << farJson.dump();
    EXPECT_FALSE(hasCode(j, "correction-factor-range", "")) << j.dump();

    // A sounding cut below 10 hPa: no correction factor, and the report says why.
    const std::string low = copySample(dir, "flight1", "low",
                                       {{"[surface]", "[reference]\ntotalO3=320\n[surface]"}});
    dir.write("low.ini", "[pref]\nendFlt=p\nendFltPr=20\n");
    const Json cut = onlyLine(runBatch(dir, {"process", "--json", "--prefs", dir.file("low.ini"), low}));
    EXPECT_TRUE(cut["sondes"][0]["correctionFactor"].is_null());
    EXPECT_TRUE(hasCode(cut, "burst-above-10hpa", "no correction factor")) << cut.dump();
    EXPECT_NE(runBatch(dir, {"process", "--prefs", dir.file("low.ini"), low}).out.find("did not reach 10 hPa"),
              std::string::npos);
}

TEST(BatchProcess, WarningsInBothReportsAndStrictFails)
{
    TempDir dir;
    // The flight ends at 20 hPa: a burst above 10 hPa. A misspelt residual
    // method is taken as TABLE, whose table does not exist: residual unknown.
    const std::string raw = copySample(dir, "flight1", "f");
    const std::string prefs = dir.write("p.ini", "[pref]\nendFlt=p\nendFltPr=20\n[o3]\nresidual=tabel\n"
                                                 "residualTable=" + dir.file("none.toz") + "\n");
    const Json j = onlyLine(runBatch(dir, {"process", "--json", "--prefs", prefs, raw}));
    EXPECT_EQ(j["ok"], true);
    std::vector<std::string> codes;
    for (const Json& w : j["warnings"])
        codes.push_back(w["code"]);
    EXPECT_EQ(codes, (std::vector<std::string>{"residual-method", "residual-unknown", "burst-above-10hpa"}));
    EXPECT_EQ(keysOf(j["warnings"][2]), (std::vector<std::string>{"code", "message", "values"}));
    EXPECT_NEAR(j["warnings"][2]["values"]["pressure"].get<double>(), 20, 0.5);
    EXPECT_NE(j["warnings"][0]["message"].get<std::string>().find("\"tabel\""), std::string::npos);
    EXPECT_TRUE(j["sondes"][0]["residual"].is_null());
    EXPECT_TRUE(j["sondes"][0]["total"].is_null());
    EXPECT_GT(j["sondes"][0]["measured"].get<double>(), 100);

    const BatchResult text = runBatch(dir, {"process", "--prefs", prefs, raw});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("residual unknown, total unknown"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("total unknown (doubtful: residual-unknown, burst-above-10hpa)\n"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("  warning burst-above-10hpa: Burst at "), std::string::npos) << text.out;

    const std::string clean = copySample(dir, "flight1", "clean");
    const std::string noGps = copySample(dir, "flight1", "nogps", {{"GPS_inst=1", "GPS_inst=0"}});
    const BatchResult strict = runBatch(dir, {"process", "--json", "--strict", "--export", "o3", noGps, clean});
    EXPECT_EQ(strict.exitCode, 1);
    const auto lines = strict.lines();
    ASSERT_EQ(lines.size(), 2u);
    const Json failed = Json::parse(lines[0]);
    EXPECT_EQ(failed["ok"], false);
    EXPECT_TRUE(failed["exports"].empty()); // a doubtful flight is not exported
    EXPECT_EQ(failed["warnings"][0]["code"], "gps-not-configured");
    EXPECT_EQ(Json::parse(lines[1])["ok"], true);

    const Json absent = onlyLine(runBatch(dir, {"process", "--json", "--prefs", dir.file("absent.ini"), clean}));
    EXPECT_EQ(absent["warnings"][0]["code"], "prefs-missing");
}

TEST(BatchProcess, OutputFolderMadeOrRefusedAndNoFlightOverwritesAnother)
{
    TempDir dir;
    const std::string raw = copySample(dir, "flight1", "f");
    const std::string made = dir.file("new/out");
    const Json j = onlyLine(runBatch(dir, {"process", "--json", "--export", "o3", "--out-dir", made, raw}));
    ASSERT_EQ(j["exports"].size(), 1u);
    EXPECT_TRUE(std::filesystem::is_regular_file(made + "/f.o3csv"));

    // A folder below a file can be neither made nor written: said before any processing.
    const std::string blocked = dir.write("plain.txt", "") + "/out";
    const BatchResult refused = runBatch(dir, {"process", "--export", "o3", "--out-dir", blocked, raw});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("cannot create the output folder " + blocked + ": "), std::string::npos)
        << refused.err;

    std::filesystem::create_directory(dir.file("other"));
    const std::string twin = dir.write("other/f.raw", readFile(raw));
    dir.write("other/f.cfg", readFile(dir.file("f.cfg")));
    const BatchResult clash = runBatch(dir, {"process", "--export", "all", "--out-dir", made, raw, twin});
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_NE(clash.err.find(raw + " and " + twin + " would both write " + made + "/f.csv"), std::string::npos)
        << clash.err;
    EXPECT_FALSE(std::filesystem::exists(made + "/f.csv"));
    // Beside their own raw files the two flights do not collide.
    EXPECT_EQ(runBatch(dir, {"process", "--export", "all", raw, twin}).exitCode, 0);
}

namespace {

// The standard method from the preferences: the report says what it did and
// skipped, the classic column stays beside, the export header names it.
TEST(BatchProcess, StandardMethodIsReported)
{
    TempDir dir;
    const std::string raw = copySample(dir, "flight1", "f");
    const Json plain = onlyLine(runBatch(dir, {"process", "--json", raw}));
    const std::string prefs = dir.write("lumo.ini", "[o3]\nmethod=standard\nresponseCorrection=yes\n");
    const Json j = onlyLine(runBatch(dir, {"process", "--json", "--prefs", prefs, "--export", "o3", raw}));
    const Json& s = j["sondes"][0];
    EXPECT_EQ(s["method"], "standard");
    EXPECT_EQ(s["responseCorrected"], false); // no solution type in the sample's configuration
    EXPECT_EQ(s["classicMeasured"], plain["sondes"][0]["measured"]);
    EXPECT_NE(s["measured"], plain["sondes"][0]["measured"]);
    ASSERT_GE(s["stepsSkipped"].size(), 1u);
    EXPECT_EQ(s["stepsSkipped"][0]["step"], "responseCorrection");
    EXPECT_NE(s["stepsSkipped"][0]["warning"].get<std::string>().find("no solution type"), std::string::npos);
    EXPECT_NE(s["stepsApplied"], Json::array());
    bool warned = false;
    for (const Json& w : j["warnings"])
        warned = warned || w["code"] == "o3-step-skipped";
    EXPECT_TRUE(warned);
    EXPECT_NE(readFile(dir.file("f.o3csv")).find("  Method = standard (background, pumpTemperature"),
              std::string::npos);
    const BatchResult text = runBatch(dir, {"process", "--prefs", prefs, raw});
    EXPECT_NE(text.out.find("method standard: background, pumpTemperature"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("skipped: responseCorrection, absorption"), std::string::npos) << text.out;
}

} // namespace
