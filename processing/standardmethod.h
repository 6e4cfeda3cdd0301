#pragma once

#include <optional>
#include <string>

#include "flight/q5.h"
#include "standardsteps.h"

namespace lumo {

// One ozonesonde's standard method for a run: which steps apply, with the
// per-flight values they need, worked out once from the configuration and
// the preferences. Each step that lacks an input is skipped and says so.
class StandardSonde {
public:
    StandardSonde() = default;
    // `describe` false leaves out the texts of the steps and warnings, for
    // the uncertainty of single samples.
    StandardSonde(const Q5& q, int h, bool describe = true);

    // Partial pressure (nb) from pressure p (hPa), cell current ic (uA) and
    // pump temperature tp (degC) without the response correction; Missing
    // when an input is missing or the result is implausible.
    double o3pp(double p, double ic, double tp) const;
    // The same from the response-corrected fast current (uA): calibrated,
    // it replaces the background and the conversion efficiency.
    double o3ppFromFastCurrent(double p, double iFast, double tp) const;
    // Absolute 1-sigma (nb) of o3pp (nb) from the terms of the applied steps
    // (measured current ic, uA), for any sign of the net current.
    double uncertainty(const UncertaintySettings& s, double p, double ic, double tp, double o3pp) const;

    bool responseCorrected() const { return cell_.has_value(); }
    const CellConstants& cell() const { return *cell_; }
    double ib0() const { return ib0_; }
    double slowStart() const { return slowStart_; } // uA, the slow current at the first record
    double tauSlow() const { return tauSlow_; }

    O3MethodResult result;    // steps applied and skipped
    FlightWarnings warnings;  // one per skipped step or substituted input

private:
    void skip(const std::string& step, const std::string& why);
    void note(const std::string& why);
    void choosePumpTable(const Q5& q, PumpTable wanted);
    void chooseBackground(BackgroundChoice wanted);
    // A pressure (hPa) with its log10, and that of max(p, 3 hPa): each
    // sample takes its logarithms once.
    struct Level {
        explicit Level(double pressure);
        double p, lp, lpFloor;
    };
    double pumpTemperatureK(const Level& l, double tp) const;
    double pumpFactor(const Level& l, double* sigma) const;
    // nb of o3pp per uA of net current at the level, without the transfer.
    double slope(const Level& l, double tpK) const;

    bool describe_ = true;
    int slot_ = 0;
    const O3SondeCfg* cfg_ = nullptr;
    std::optional<double> volume_;   // cm3, absorption applied when known
    bool transfer_ = false;
    TransferTo transferTo_ = TransferTo::None;
    double ki_ = 0, buffer_ = 0;
    double background_ = 0;          // uA
    Thermistor thermistor_ = Thermistor::Unknown;
    bool pumpHeat_ = true; // add the offset of the pump's own heat
    double flow0_ = 0;               // cm3/s at the ground, moistening applied
    bool moistened_ = false;
    const PumpEffTable* table_ = nullptr; // nullptr: the configuration's own table
    PumpEffTable fileTable_{};
    double nodeLogs_[MaxPumpNodes] = {}; // log10 of the table's pressures
    std::optional<CellConstants> cell_;
    double ib0_ = 0, slowStart_ = 0, tauSlow_ = 1500;
};

// The standard method over the run: keeps the classic values (o3ppClassic,
// classicSfcO3), rewrites o3pp of every ozone record of both lists by the
// standard method (with the response correction when chosen, on each
// sonde's time series), the filter after it, the surface ozone from the
// new values, and the steps per sonde in o3MethodResult with their
// warnings. Follows the classic partial pressures of a run.
void applyStandardMethod(Q5& q);

// The classic partial pressure (nb) of an ozone record, whichever method
// made its o3pp.
double classicO3pp(const Q5& q, const RawRecord& r);

// Absolute 1-sigma (nb) of the standard o3pp of an ozone record at pressure
// p (hPa); Missing when it cannot be given or o3pp is not > 0.
double standardO3ppUncertainty(const Q5& q, const RawRecord& r, double p);

// The measured column (DU) by the classic partial pressures (o3ppClassic,
// classicSfcO3) over the column samples of the run, into classicMeasured.
class ClassicColumnSum {
public:
    explicit ClassicColumnSum(Q5& q);
    void add(int h, const RawRecord* prev, double prevP, const RawRecord& r, double p);
    void finish(Q5& q) const;

private:
    double p0_;
    double sfcO3_[MaxSondes];
    double sum_[MaxSondes] = {Missing, Missing, Missing, Missing};
    bool known_[MaxSondes] = {true, true, true, true};
};

} // namespace lumo
