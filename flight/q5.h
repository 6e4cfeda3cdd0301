#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "missing.h"
#include "flightwarning.h"
#include "o3method.h"
#include "o3sondecfg.h"
#include "rawrecord.h"
#include "referenceozone.h"
#include "recordlist.h"
#include "tropopause.h"
#include "uncertaintysettings.h"
#include "windrecord.h"

namespace lumo {

class PlotSink;
class UserDialogs;

constexpr int MaxSondes = 4;
constexpr int MaxTableRows = 64;

// The configuration group: everything the flight configuration file
// describes. Import clears it as a whole before reading a configuration.
struct FlightConfig {
    char stnName[41] = {};
    double stnLat = 0;  // degrees, north positive
    double stnLong = 0; // degrees, east positive
    double stnAlt = 0;  // m
    std::uint16_t fltYear = 0, fltMonth = 0, fltDay = 0;
    char rsSondeId[41] = {};
    char rsProbeId[41] = {};
    std::uint8_t rsPrInst = 0;  // pressure sensor installed
    std::uint8_t rsGpsInst = 0; // GPS receiver installed
    double sfcP = 0, sfcT = 0, sfcU = 0; // radiosonde surface values: hPa, degC, %
    double stdP = 0, stdT = 0, stdU = 0; // reference instrument surface values
    double sfcO3[MaxSondes] = {};        // surface ozone partial pressure, nb
    char bkgFile[255] = {};
    double bkgP[MaxTableRows] = {};   // hPa
    double bkgVal[MaxTableRows] = {}; // factor
    std::uint8_t bkgCount = 0;
    char effFile[255] = {};
    double effP[MaxTableRows] = {};
    double effVal[MaxTableRows] = {};
    std::uint8_t effCount = 0;
    O3SondeCfg o3Sonde[MaxSondes] = {};
    ReferenceOzone reference; // ground instrument's total ozone, for the archive files
};

// The flight currently loaded: configuration, processing settings, the
// decoded records and the results of the last processing run.
class Q5 : public FlightConfig {
public:
    Q5() = default;
    Q5(const Q5&) = delete;
    Q5& operator=(const Q5&) = delete;

    // Settings and state flags.
    std::uint8_t lDetGps = 0;   // launch/burst from GPS (else PTU)
    std::uint8_t sfcUseStd = 0; // reference surface values are the standard ones
    double bkgRef[MaxSondes] = {}; // uA
    double endFltPr = 0;  // hPa, 0 = not used
    double endFltAlt = 0; // m, 0 = not used
    double sfcCorrP = 0, sfcCorrT = 0, sfcCorrU = 0;
    double lpFilter = 0; // s, 0 = no filtering
    double lDetVal = 2.0; // m/s
    std::uint32_t o3Count = 0;
    std::uint8_t showAll = 1;
    std::uint8_t hasPtuExt = 0;
    std::uint8_t hasGpsVel = 0;

    RecordList<RawRecord> sfcRecs;
    RecordList<RawRecord> fltRecs;
    RecordList<WindRecord> windRecs;

    std::uint8_t resTable = 0;
    std::string resTableFile;
    double o3Measured[MaxSondes] = {}; // DU
    double o3TopMix[MaxSondes] = {};   // nb/hPa
    double o3Residual[MaxSondes] = {}; // DU; Missing when it could not be determined
    RawRecord* launchRec = nullptr;
    RawRecord* burstRec = nullptr;

    // Uncertainty settings and the results derived from them; every result
    // is Missing when it could not be determined.
    UncertaintySettings uncertainty;
    double o3MeasuredUnc[MaxSondes] = {Missing, Missing, Missing, Missing}; // DU, 1 sigma
    double o3ResidualUnc[MaxSondes] = {Missing, Missing, Missing, Missing}; // DU, 1 sigma
    double o3TotalUnc[MaxSondes] = {Missing, Missing, Missing, Missing};    // DU, 1 sigma
    // Reference total ozone over the sonde's total; reported, never applied.
    double o3CorrFactor[MaxSondes] = {Missing, Missing, Missing, Missing};
    // The processing method (preferences [o3]) and what it did per sonde.
    O3MethodSettings o3Method;
    O3MethodResult o3MethodResult[MaxSondes];
    Tropopause tropopause;  // first lapse-rate tropopause of the ascent
    Tropopause tropopause2; // second one, where present
    // Found about the preferences and files before the run (a preferences
    // file that does not exist, a residual method nobody knows); every run
    // starts its `warnings` with them.
    FlightWarnings setupWarnings;
    // The quality checks of the last processing run.
    FlightWarnings warnings;

    // Not owned: how a processing run asks the user, and the windows it
    // refills at its end (in the order surface, flight, wind).
    UserDialogs* dialogs = nullptr;
    std::vector<PlotSink*> plotSinks;

    // Releases all records; configuration, settings and results stay.
    void Reset();
    void clearConfig() { static_cast<FlightConfig&>(*this) = FlightConfig{}; }
    bool isLoaded() const { return !sfcRecs.empty() && !fltRecs.empty(); }
    // Measured plus residual column (DU) of ozonesonde h; Missing when
    // either part is unknown.
    double o3Total(int h) const
    {
        return o3Measured[h] == Missing || o3Residual[h] == Missing ? Missing : o3Measured[h] + o3Residual[h];
    }

    bool ReadConfig(const std::string& path);
    bool ReadRaw(const std::string& path);
    bool processFlight();
};

} // namespace lumo
