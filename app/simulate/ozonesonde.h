#pragma once

#include <string>
#include <vector>

#include "cellmodel.h"
#include "correctiontables.h"
#include "packetencoder.h"
#include "random.h"

namespace lumo::sim {

// ECC conversion constant: current in uA, pump temperature in K and flow
// time in s per 100 ml give the ozone partial pressure in nanobar.
constexpr double EccConstant = 0.004307;

// One ozonesonde of the chain as prepared before the flight.
struct OzonesondeSetup {
    int position = 1;   // chain number 1..4
    std::string sn;     // serial number
    double bkg = 0;     // background current measured before launch, uA
    double flow = 0;    // pump flow time, s per 100 ml
    double response = 1; // this instrument's reading relative to the true ozone
    double tp0 = 0;     // pump temperature when switched on, degC
    double tpRise = 0;  // warming of the pump box over the flight, K
    double ip0 = 0;     // pump motor current on the ground, mA
    double bat0 = 0;    // battery voltage at the start, V
    bool hasCell = false; // the current follows the cell model below, not the classic equation
    CellSetup cell;
};

std::vector<OzonesondeSetup> makeChain(int count, Random& rng);

// Pump temperature t seconds after switch-on: the pump heats its box, most
// of it within the first hours.
double pumpTemperature(const OzonesondeSetup& sonde, double t);

// The cell current at which the ozone equation
//   o3pp = (ic - bkgRef fb(p)) x 0.004307 x (tp + 273.15) x flow x fe(p)
// gives the wanted partial pressure (nb) at pressure p.
double cellCurrent(double o3pp, double p, double tp, double bkgRef, double flow, const CorrectionTables& tables);
// The equation itself, for checks.
double ozonePartialPressure(double ic, double p, double tp, double bkgRef, double flow, const CorrectionTables& tables);

} // namespace lumo::sim
