#pragma once

#include <memory>

#include "flight/rawrecord.h"

namespace lumo {

class OzoneLowPass;
class StandardSonde;

// The time-response correction of one sonde's cell current, fed its ozone
// records in time order: Gaussian smoothing (sigma 0.2 tauFast, +/- 3 sigma),
// the slow current as a first-order lag of beta (I - Ib0) started from the
// preparation's Ib1, the fast current's lag undone, then the calibration and
// the partial pressure of the standard method. A record's result is written
// once the smoothing window past it is complete; `flush` writes the rest at
// the end of a list, the cell's state running on into the next list. The
// buffer is allocated once, none per record.
class ResponseCorrection {
public:
    ResponseCorrection(const StandardSonde& sonde, double tauFast);
    ~ResponseCorrection();

    // A sample at time t (s, any origin), pressure p (hPa; <= 0 unknown).
    // Results go to o3pp of the records, each passed through `filter`
    // (nullptr: none) as it is written.
    void push(RawRecord& r, double t, double p, OzoneLowPass* filter);
    void flush(OzoneLowPass* filter);

    // Steps 2-4 on an already smoothed current: the deconvolved fast
    // current (uA) after a step of dt seconds (dt < 0: the first sample).
    double fastCurrent(double smoothed, double dt);

    static constexpr int Capacity = 1024; // samples within one smoothing window
    static constexpr double WeightStep = 0.01; // s

private:
    void emit(OzoneLowPass* filter);
    double smoothedAt(long c) const;
    double smoothedSteady(long c);

    const StandardSonde& sonde_;
    double tauFast_, window_; // s
    // The samples of the window, times (s) and currents (uA) each written
    // twice, at i and i + Capacity, so that any window is one contiguous run.
    std::unique_ptr<double[]> t_, ic_;
    std::unique_ptr<double[]> p_;      // hPa
    std::unique_ptr<RawRecord*[]> r_;
    std::unique_ptr<float[]> weights_; // Gaussian by |dt| in steps of WeightStep
    long weightCount_ = 0;
    long head_ = 0, center_ = 0, tail_ = 0;
    // At a steady rate (every step within SteadyTolerance of `steadyStep_`
    // from entry `steadyFrom_` on) the weights depend on the entries'
    // distance alone: one vector, recomputed when the rate changes.
    static constexpr double SteadyTolerance = 0.001; // s
    long steadyFrom_ = 0;
    double steadyStep_ = 0, weightsStep_ = 0; // s
    long steadyTaps_ = 0;                     // entries on each side within the window
    std::unique_ptr<double[]> steadyWeights_; // 2 Capacity + 1, by distance + Capacity
    bool started_ = false;
    double lastT_ = 0;
    double slow_ = 0, fast_ = 0, fastDc_ = 0; // uA
    double lastDt_ = -1, xs_ = 0, xf_ = 0;    // s, and the decay factors over it
};

} // namespace lumo
