#pragma once

#include <string>
#include <vector>

#include "missing.h"

namespace lumo {

// How cell current becomes ozone: the classic equation (background scaled by
// the configuration's table, its pump-efficiency table, no conversion
// efficiency) or the field's current standard (conversion efficiency and
// transfer functions, a constant background, the pump-temperature and
// moistening corrections, pump-efficiency tables by sonde type), optionally
// with the correction of the cell's time response.
enum class O3Method { Classic, Standard };
enum class PumpTable { Auto, Komhyr1986, Komhyr1995, Noaa, Jma, File };
enum class BackgroundChoice { Auto, Ib0, Ib1, Ib2, Bkg };
// The sonde/solution combination the profile is homogenised to.
enum class TransferTo { None, Z05, SixA10 };

// Preferences section [o3]; the defaults are the classic run.
struct O3MethodSettings {
    O3Method method = O3Method::Classic;
    bool responseCorrection = false; // with the standard method only
    PumpTable pumpTable = PumpTable::Auto;
    BackgroundChoice background = BackgroundChoice::Auto;
    double tauFast = Missing;  // s; Missing = by sonde type
    double tauSlow = 1500.0;   // s
    TransferTo transferTo = TransferTo::None;
    // The offset of the pump's own heat on its measured temperature
    // (3.9 - 0.8 log10 p K); off only to reproduce processing that left it out.
    bool pumpHeatOffset = true;

    bool standard() const { return method == O3Method::Standard; }
    bool operator==(const O3MethodSettings&) const = default;
};

// A step of the standard method that could not be done, and why.
struct SkippedStep {
    std::string name;    // short name, e.g. "transfer"
    std::string warning; // one line for a person, naming the missing input
};

// What the processing method did to one ozonesonde in the last run.
struct O3MethodResult {
    O3Method method = O3Method::Classic;
    bool responseCorrected = false;
    std::vector<std::string> stepsApplied; // short names, in the order applied
    std::vector<SkippedStep> stepsSkipped;
    double classicMeasured = Missing; // DU: the measured column by the classic equation
    double classicSfcO3 = Missing;    // nb: the surface ozone by the classic equation
    // The standard method's choices, for the archive files.
    std::string background;           // "ib2", "ib1", "ib0", "bkg", or "ib0+slow" with the response correction
    double backgroundUa = Missing;    // uA, the constant subtracted
    double moistening = Missing;      // factor on the measured flow; Missing when not applied
    PumpTable pumpTable = PumpTable::File; // the table used
    double tauFast = Missing;         // s, with the response correction
};

} // namespace lumo
