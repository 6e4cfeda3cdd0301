#include "responsecorrection.h"

#include <cmath>

#include "flight/missing.h"
#include "ozone.h"
#include "standardmethod.h"

namespace lumo {

ResponseCorrection::ResponseCorrection(const StandardSonde& sonde, double tauFast)
    : sonde_(sonde), tauFast_(tauFast), window_(SmoothingHalfWidth * SmoothingSigmaPerTau * tauFast),
      ring_(new Entry[Capacity])
{
    const double sigma = SmoothingSigmaPerTau * tauFast;
    weightCount_ = static_cast<long>(window_ * 1000) + 1;
    weights_.reset(new float[weightCount_]);
    for (long i = 0; i < weightCount_; ++i) {
        const double dt = i * 0.001;
        weights_[i] = static_cast<float>(std::exp(-dt * dt / (2 * sigma * sigma)));
    }
}

ResponseCorrection::~ResponseCorrection() = default;

void ResponseCorrection::push(RawRecord& r, double t, double p, OzoneLowPass* filter)
{
    const double ic = r.data.o3.ic;
    if (ic == Missing) {
        r.data.o3.o3pp = Missing; // no current, no sample of the series
        return;
    }
    // Each centre whose window is now complete is written.
    while (center_ < tail_ && t - ring_[center_ % Capacity].t > window_)
        emit(filter);
    if (tail_ - head_ == Capacity) {
        if (head_ == center_)
            emit(filter);
        ++head_;
    }
    ring_[tail_ % Capacity] = Entry{&r, t, p, ic};
    ++tail_;
}

void ResponseCorrection::flush(OzoneLowPass* filter)
{
    while (center_ < tail_)
        emit(filter);
    head_ = center_ = tail_ = 0;
}

double ResponseCorrection::smoothedAt(long c) const
{
    const double tc = ring_[c % Capacity].t;
    double sum = 0, wsum = 0;
    for (long k = head_; k < tail_; ++k) {
        const Entry& e = ring_[k % Capacity];
        const double dt = std::fabs(e.t - tc);
        if (!(dt <= window_))
            continue;
        long ms = static_cast<long>(dt * 1000 + 0.5);
        if (ms >= weightCount_)
            ms = weightCount_ - 1;
        const double w = weights_[ms];
        sum += w * e.ic;
        wsum += w;
    }
    return sum / wsum; // the centre itself has weight 1
}

double ResponseCorrection::fastCurrent(double smoothed, double dt)
{
    const CellConstants& c = sonde_.cell();
    const double ib0 = sonde_.ib0();
    const double active = smoothed - ib0; // I_A
    if (dt < 0) {
        slow_ = sonde_.slowStart();
        fast_ = smoothed - slow_ - ib0;
        fastDc_ = fast_;
        return fastDc_;
    }
    const double xs = std::exp(-dt / sonde_.tauSlow());
    slow_ = c.beta * active - (c.beta * active - slow_) * xs;
    const double fast = smoothed - slow_ - ib0;
    const double xf = std::exp(-dt / tauFast_);
    if (xf < 1) // two samples at one time leave the last result
        fastDc_ = (fast - fast_ * xf) / (1 - xf);
    fast_ = fast;
    return fastDc_;
}

void ResponseCorrection::emit(OzoneLowPass* filter)
{
    const long c = center_++;
    const Entry& e = ring_[c % Capacity];
    const double fast = fastCurrent(smoothedAt(c), started_ ? e.t - lastT_ : -1.0);
    started_ = true;
    lastT_ = e.t;
    // Older samples than one window before the next centre are not needed.
    if (center_ < tail_)
        while (head_ < center_ && ring_[center_ % Capacity].t - ring_[head_ % Capacity].t > window_)
            ++head_;
    O3Data& o = e.r->data.o3;
    o.o3pp = e.p > 0 ? sonde_.o3ppFromCalibrated(e.p, calibratedCurrent(sonde_.cell(), fast, e.p), o.tp) : Missing;
    if (filter)
        filter->apply(*e.r);
}

} // namespace lumo
