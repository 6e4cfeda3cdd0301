#pragma once

#include <optional>

#include "flight/o3method.h"
#include "flight/o3sondecfg.h"

namespace lumo {

// The single steps of the standard processing method (O3S-DQA guidelines,
// Smit et al. 2012; ASOPOS 2.0, GAW Report 268) and of the cell's
// time-response correction (Vomel et al. 2020; Smit et al. 2024). Pressures
// in hPa, temperatures in degC unless named K, currents in uA.

// R / 2F in mPa x cm3/s per (uA x K): P_O3 = 0.043085 T_P I / (eta_C Phi_P).
constexpr double MpaCm3PerUaK = 0.043085;

// Absorption efficiency of the cathode solution, by its volume (cm3): 1 for
// 3.0 cm3; for 2.5 cm3, 1.0044 - 4.4e-5 P between 100 and 1050 hPa and 1 at
// or above the 100 hPa level. Unknown (nullopt) for any other volume.
std::optional<double> absorptionEfficiency(double volumeCm3, double p);
constexpr double AbsorptionSigma = 0.01; // absolute, on a value near 1

// The transfer factor on P_O3 that takes a sonde/solution to the reference
// combination `to`, and its 1-sigma; nullopt when no function is known for
// the combination. Reference combinations give 1 (sigma StoichiometrySigma).
struct Transfer {
    double factor = 1;
    double sigma = 0;
};
std::optional<Transfer> transferFactor(SondeFamily family, double kiPct, double buffer, TransferTo to, double p);
constexpr double StoichiometrySigma = 0.03; // reference combinations
constexpr double TransferSigma = 0.05;      // through a transfer function
constexpr double TransferKneeP = 30.0;      // hPa: constant above (higher pressure), log-linear below
// Factor of the Z 1.0 % to 6A 1.0 % function above the knee; the printed
// source repeats 0.96 from the Z 1.0 % to Z 0.5 % function (assumed).
constexpr double ZToSixAHighFactor = 0.96;

// Offsets (K) of the pump temperature (Eqs. 12-13), for P > 3 hPa and held at
// their 3 hPa value above: the air in the pump lies above the pump-body
// reading (pumpInternalOffsetK, always applied), and the reading lies below
// the pump body by an amount set by the thermistor's place.
double pumpInternalOffsetK(double p);
double thermistorOffsetK(Thermistor place, double p);
// The same with lp = log10 of max(p, 3 hPa) given.
double pumpInternalOffsetK(double p, double lp);
double thermistorOffsetK(Thermistor place, double p, double lp);
double thermistorSigmaK(Thermistor place);
constexpr double PumpTempSigmaK = 0.5;      // the reading itself
constexpr double InternalOffsetSigmaK = 0.5;
constexpr double UnknownPlaceSigmaK = 2.0;  // no place known, no offset applied (assumed)
constexpr double PumpTempFloorP = 3.0;      // hPa

// Saturation vapour pressure over water (hPa) at t (degC), Magnus form.
double saturationVapourHpa(double t);

// Moistening factor (1 + c_PL - c_PH) of the flow measured at tLab (degC),
// rhLab (%; nullopt: the pump-heating term alone) and pLab (hPa).
double moisteningFactor(double tLab, std::optional<double> rhLab, double pLab);
constexpr double FlowSigma = 0.02; // relative, of the measured flow

// A pump-efficiency table: correction C_PF (>= 1, a factor on P_O3) at
// decreasing pressures, with its 1-sigma (all zero when the source gives
// none). Interpolated linearly in log10 P, 1 at and above GroundNodeP (which
// every built-in table starts from, so that no step appears at its first
// node), held at the last node below it.
struct PumpEffTable {
    const double* p;
    const double* c;
    const double* sigma; // nullptr: the source gives none
    int n;
};
constexpr double GroundNodeP = 1000.0; // hPa, C_PF = 1
const PumpEffTable* builtInPumpTable(PumpTable t); // nullptr for Auto and File
double pumpCorrection(const PumpEffTable& table, double p, double* sigma = nullptr);
// The same with log10 of the table's pressures and of p given.
constexpr int MaxPumpNodes = 64;
double pumpCorrection(const PumpEffTable& table, const double* logs, double p, double lp, double* sigma);

// Constants of the cell's two reaction pathways (Smit 2024, JOSIE analysis):
// fast time constant (s), slow fraction beta, calibration R = a + b log10 P
// (%) against the reference photometer.
struct CellConstants {
    double tauFast, beta, a, b;
};
std::optional<CellConstants> cellConstants(SondeFamily family, double kiPct, double buffer);
constexpr double DefaultIb1DelayS = 1275.0; // Ib1 reading to the first record when unknown
constexpr double MinCurrentSigmaUa = 0.01; // cell current below 1 uA; 1 % of the reading above
constexpr double CalibrationSigma = 0.03;   // relative, of the calibrated current (assumed)
constexpr double SmoothingSigmaPerTau = 0.2; // Gaussian sigma as a fraction of tauFast
constexpr double SmoothingHalfWidth = 3.0;   // window +/- this many sigma

// Calibration of the deconvolved fast current: I x 100 / (100 + R(P)).
double calibratedCurrent(const CellConstants& c, double iFast, double p);
double calibratedCurrentLog(const CellConstants& c, double iFast, double lp); // lp = log10 p

} // namespace lumo
