#pragma once

#include <cctype>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "flightsimulator.h"
#include "output/exportfile.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo::test {

// A short simulated sounding (burst at 3 km, a few thousand lines) as the
// valid text that the bad inputs are made from.
inline sim::SimulatedFlight shortFlight(std::uint64_t seed = 11, bool gps = true, bool pressure = true, int sondes = 2)
{
    sim::SimOptions o;
    o.seed = seed;
    o.sondes = sondes;
    o.burstKm = 3.5;
    o.surfaceMin = 1;
    o.groundSec = 30;
    o.gps = gps;
    o.pressureSensor = pressure;
    o.ptuPeriod = o.gpsPeriod = o.ozonePeriod = 2;
    return sim::simulateFlight(o);
}

// True when the text holds a printf rendering of NaN or infinity ("nan",
// "-nan", "inf", "infinity" in any case).
inline bool hasNanOrInf(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

// Every result of a processing run is a finite number.
inline void expectFiniteResults(const Q5& q)
{
    for (int h = 0; h < MaxSondes; ++h) {
        EXPECT_TRUE(std::isfinite(q.o3Measured[h])) << "o3Measured " << h;
        EXPECT_TRUE(std::isfinite(q.o3TopMix[h])) << "o3TopMix " << h;
        EXPECT_TRUE(std::isfinite(q.o3Residual[h])) << "o3Residual " << h;
        EXPECT_TRUE(std::isfinite(q.sfcO3[h])) << "sfcO3 " << h;
    }
    for (const WindRecord& w : q.windRecs)
        EXPECT_TRUE(std::isfinite(w.ws) && std::isfinite(w.wd) && std::isfinite(w.alt));
}

// Writes the three export files of a processed flight into the folder and
// returns their texts; each must be written and free of NaN and infinity.
inline std::vector<std::string> exportAll(const Q5& q, const TempDir& dir, const std::string& base)
{
    std::vector<std::string> texts;
    for (ExportKind kind : {ExportKind::O3, ExportKind::Winds, ExportKind::All}) {
        const std::string path = dir.file(base + std::string(exportExtension(kind)));
        EXPECT_EQ(writeExportFile(q, kind, path, "flight.raw", "flight.cfg"), ExportResult::Ok) << path;
        texts.push_back(readFile(path));
        EXPECT_FALSE(hasNanOrInf(texts.back())) << path;
    }
    return texts;
}

// Imports and processes a raw and a configuration file as the programs do;
// false when one of the steps refuses.
inline bool importAndProcess(Q5& q, ScriptedDialogs& dialogs, const std::string& rawPath, const std::string& cfgPath)
{
    q.dialogs = &dialogs;
    return importFlight(q, rawPath, cfgPath).ok() && q.processFlight();
}

} // namespace lumo::test
