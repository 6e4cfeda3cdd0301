// A whole processing run and the three export writers on a fuzzed raw file
// with a fixed valid configuration. The first input byte picks the settings
// (sensors installed, launch detection, filter, residual method); the rest is
// the raw file. No result and no exported number may be NaN or infinite.
// After the classic runs the same records go through the standard method
// (the first sonde with every input it reads, the second with none), whose
// results and files are checked the same way.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "fuzzsupport.h"
#include "output/ameswriter.h"
#include "output/archiveprofile.h"
#include "output/exportwriters.h"
#include "output/woudcwriter.h"

namespace {

template <std::size_t N>
void setText(char (&dst)[N], const char* text)
{
    std::strncpy(dst, text, N - 1);
    dst[N - 1] = '\0';
}

// A two-ozonesonde flight from a mid-latitude station with both correction
// tables, as a configuration file would describe it.
void configure(lumo::Q5& q, std::uint8_t settings)
{
    setText(q.stnName, "Fuzz Station");
    q.stnLat = 46.81;
    q.stnLong = 6.94;
    q.stnAlt = 491;
    q.fltYear = 2024;
    q.fltMonth = 5;
    q.fltDay = 7;
    setText(q.rsSondeId, "R1");
    q.rsPrInst = (settings & 0x01) ? 0 : 1;
    q.rsGpsInst = (settings & 0x02) ? 0 : 1;
    q.sfcP = 962;
    q.sfcT = 12;
    q.sfcU = 70;
    q.stdP = 962.3;
    q.stdT = 12.2;
    q.stdU = 68;
    q.sfcO3[0] = 30;
    q.sfcO3[1] = 28;
    const double bkgP[] = {1050, 500, 10}, bkgVal[] = {1.0, 0.9, 0.8};
    const double effP[] = {1050, 100, 30, 5}, effVal[] = {1.0, 1.007, 1.03, 1.12};
    q.bkgCount = 3;
    q.effCount = 4;
    for (int i = 0; i < 3; ++i) {
        q.bkgP[i] = bkgP[i];
        q.bkgVal[i] = bkgVal[i];
    }
    for (int i = 0; i < 4; ++i) {
        q.effP[i] = effP[i];
        q.effVal[i] = effVal[i];
    }
    setText(q.o3Sonde[0].sn, "6A24001");
    q.o3Sonde[0].bkg = 0.05;
    q.o3Sonde[0].flow = 28.6;
    // Inputs only the standard method reads.
    q.o3Sonde[0].family = lumo::SondeFamily::SixA;
    q.o3Sonde[0].kiPct = 1.0;
    q.o3Sonde[0].bufferFraction = 1.0;
    q.o3Sonde[0].solutionVolume = 3.0;
    q.o3Sonde[0].ib0 = 0.02;
    q.o3Sonde[0].ib1 = 0.06;
    q.o3Sonde[0].ib2 = 0.04;
    q.o3Sonde[0].thermistor = lumo::Thermistor::Box;
    q.o3Sonde[0].flowTemp = 24.0;
    q.o3Sonde[0].flowHumidity = 35.0;
    setText(q.o3Sonde[1].sn, "6A24002");
    q.o3Sonde[1].bkg = 0.0;
    q.o3Sonde[1].flow = 29.1;

    q.lDetGps = (settings & 0x04) ? 1 : 0;
    q.lpFilter = (settings & 0x08) ? 10.0 : 0.0;
    q.sfcUseStd = (settings & 0x10) ? 1 : 0;
    q.endFltPr = (settings & 0x20) ? 8.0 : 0.0;
    q.endFltAlt = (settings & 0x40) ? 25000.0 : 0.0;
    q.resTable = 0;
}

void checkResults(const lumo::Q5& q)
{
    using lumo::fuzz::requireFinite;
    for (int h = 0; h < lumo::MaxSondes; ++h) {
        requireFinite(q.o3Measured[h], "o3Measured");
        requireFinite(q.o3TopMix[h], "o3TopMix");
        requireFinite(q.o3Residual[h], "o3Residual");
        requireFinite(q.sfcO3[h], "sfcO3");
        requireFinite(q.bkgRef[h], "bkgRef");
    }
    requireFinite(q.sfcP, "sfcP");
    requireFinite(q.sfcT, "sfcT");
    requireFinite(q.sfcU, "sfcU");
    for (const lumo::WindRecord& w : q.windRecs) {
        requireFinite(w.alt, "wind alt");
        requireFinite(w.wd, "wind direction");
        requireFinite(w.ws, "wind speed");
    }
}

// Runs one writer into memory and checks its text.
template <typename Writer>
void exportToMemory(const char* what, Writer write)
{
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* f = open_memstream(&buffer, &length);
    if (!f)
        std::abort();
    write(f);
    std::fclose(f);
    lumo::fuzz::requireNoNanInf(std::string_view(buffer, length), what);
    std::free(buffer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    fuzz::InputBytes in(data, size);
    const std::uint8_t settings = in.byte();
    const fuzz::ScratchFile raw("flight", in.rest(), in.restSize());

    Q5 q;
    ScriptedDialogs dialogs((settings & 0x80) != 0);
    q.dialogs = &dialogs;
    configure(q, settings);
    if (!q.ReadRaw(raw.path()) || !q.processFlight())
        return 0;
    checkResults(q);
    // A second run on the same records (re-calculation) must hold up as well.
    if (q.processFlight())
        checkResults(q);
    q.o3Method.method = O3Method::Standard;
    q.o3Method.responseCorrection = (settings & 0x08) == 0;
    if (!q.processFlight())
        return 0;
    checkResults(q);

    exportToMemory("o3 export", [&](std::FILE* f) {
        WriteExportHeader(q, f, "flight.raw", "flight.cfg");
        WriteO3Body(q, f);
    });
    exportToMemory("wind export", [&](std::FILE* f) { WriteWindBody(q, f); });
    exportToMemory("all export", [&](std::FILE* f) { WriteAllBody(q, f); });

    // The archive texts: never a NaN or an infinity, NASA Ames lines within 132 characters.
    const ArchiveProfile profile = buildArchiveProfile(q);
    ArchiveMeta meta;
    meta.baseName = "flight";
    for (const ArchiveSonde& s : profile.sondes) {
        fuzz::requireNoNanInf(woudcFile(q, s, meta).text, "WOUDC file");
        const std::string ames = amesFile(q, s, meta).text;
        fuzz::requireNoNanInf(ames, "NASA Ames file");
        for (std::size_t start = 0, end; (end = ames.find("\r\n", start)) != std::string::npos; start = end + 2)
            if (end - start > 132)
                fuzz::fail("a NASA Ames line longer than 132 characters");
    }
    return 0;
}
