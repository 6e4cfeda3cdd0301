#pragma once

#include <memory>

#include "flight/q5.h"

namespace lumo {

class StandardSonde;

// One-sigma uncertainty of the ozone partial pressure and of the columns, by
// first-order propagation of independent terms of the ozonesonde equation
//   P = 0.004307 x T_P x (I_M - I_B) x t100 x f_eff(p),
// relative terms added in quadrature:
//   (dP/P)^2 = (dI_M^2 + dI_B^2) / (I_M - I_B)^2 + (dT_P/T_P)^2 + (dflow)^2
//            + (dhum)^2 + (deff(p))^2 + (dconv)^2.

// Uncertainty of the residual above the burst by constant mixing ratio, as a
// fraction of the residual (assumed; the sonde records use 20 %).
constexpr double CmrResidualUncertainty = 0.20;

// Pump-efficiency uncertainty (%) at pressure p (hPa): the 100-hPa value from
// the ground up, linear in log p to the 10-hPa and 5-hPa values, held at the
// 5-hPa value above.
double pumpEffUncertaintyPct(const UncertaintySettings& s, double p);

// Relative 1-sigma uncertainty (fraction) of a partial pressure measured at
// pressure p (hPa) with cell current ic and applied background ib (uA) and
// pump temperature tp (degC). Missing when ic - ib is at or below 0 (the
// relative uncertainty has no bound there) or an input is Missing.
double relativeO3ppUncertainty(const UncertaintySettings& s, double p, double ic, double ib, double tp);

// Absolute 1-sigma uncertainty, in the unit of o3pp, for any sign of the net
// current: the current terms through `slope` (o3pp per uA of net current at
// this sample), the others relative to o3pp. Equals |o3pp| x the relative
// uncertainty where ic - ib > 0 and o3pp = slope x (ic - ib).
double absoluteO3ppUncertainty(const UncertaintySettings& s, double p, double ic, double tp, double o3pp,
                               double slope);

// 1-sigma uncertainty (nb) of the partial pressure of one flight ozone record
// as the last processing run left it: Missing when the record has no partial
// pressure or pressure, its ozonesonde no flow, or its cell current is at or
// below the applied background.
double o3ppUncertainty(const Q5& q, const RawRecord& r);

// Uncertainties of the measured, residual and total columns (o3MeasuredUnc,
// o3ResidualUnc, o3TotalUnc) of every ozonesonde with a serial number, after
// the columns were computed. The profile errors are mostly systematic, so
// the measured column's is the column integral of dP itself; residual and
// measured combine in quadrature. A residual from a table carries no
// uncertainty of its own: its uncertainty, and the total's, stay unknown.
void columnUncertainties(Q5& q);

// The same: the measured column's uncertainty summed over the column
// samples (forEachColumnSample), then all three written once the columns
// are known.
class ColumnUncertaintySum {
public:
    explicit ColumnUncertaintySum(const Q5& q);
    void add(int h, const RawRecord* prev, double prevP, const RawRecord& r, double p);
    void finish(Q5& q) const;

private:
    const Q5& q_;
    double p0_;
    double measured_[MaxSondes] = {};
    bool known_[MaxSondes] = {true, true, true, true};
    double prevDp_[MaxSondes] = {};
    // The standard method's terms per sonde, when it made the partial pressures.
    std::shared_ptr<const StandardSonde> standard_[MaxSondes];

    double classicSampleUncertainty(const RawRecord& r) const;
    double standardSampleUncertainty(int h, const RawRecord& r, double p) const;
};

// Sounding must reach this pressure (hPa) for a correction factor.
constexpr double CorrFactorMaxBurstP = 10.0;
// Correction factors outside this range point to a faulty sonde or reference.
constexpr double CorrFactorLow = 0.8;
constexpr double CorrFactorHigh = 1.2;

// o3CorrFactor: reference total ozone over the sonde's total, for every
// ozonesonde with a serial number and a positive total, when the reference
// is given and the burst is at or above CorrFactorMaxBurstP; Missing
// otherwise. Reported only, never applied to the data.
void correctionFactors(Q5& q);

} // namespace lumo
