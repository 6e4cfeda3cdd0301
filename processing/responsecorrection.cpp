#include "responsecorrection.h"

#include <cmath>

#include "flight/missing.h"
#include "ozone.h"
#include "standardmethod.h"

namespace lumo {

ResponseCorrection::ResponseCorrection(const StandardSonde& sonde, double tauFast)
    : sonde_(sonde), tauFast_(tauFast), window_(SmoothingHalfWidth * SmoothingSigmaPerTau * tauFast),
      t_(new double[2 * Capacity]), ic_(new double[2 * Capacity]), p_(new double[Capacity]),
      r_(new RawRecord*[Capacity]), steadyWeights_(new double[2 * Capacity + 1])
{
    const double sigma = SmoothingSigmaPerTau * tauFast;
    weightCount_ = static_cast<long>(window_ / WeightStep) + 2;
    weights_.reset(new float[weightCount_]);
    for (long i = 0; i < weightCount_; ++i) {
        const double dt = i * WeightStep;
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
    while (center_ < tail_ && t - t_[center_ % Capacity] > window_)
        emit(filter);
    if (tail_ - head_ == Capacity) {
        if (head_ == center_)
            emit(filter);
        ++head_;
    }
    if (tail_ == steadyFrom_ + 1)
        steadyStep_ = t - t_[(tail_ - 1) % Capacity];
    else if (tail_ > steadyFrom_ + 1 && std::fabs(t - t_[(tail_ - 1) % Capacity] - steadyStep_) > SteadyTolerance) {
        steadyFrom_ = tail_ - 1;
        steadyStep_ = t - t_[(tail_ - 1) % Capacity];
    }
    const long i = tail_ % Capacity;
    t_[i] = t_[i + Capacity] = t;
    ic_[i] = ic_[i + Capacity] = ic;
    p_[i] = p;
    r_[i] = &r;
    ++tail_;
}

void ResponseCorrection::flush(OzoneLowPass* filter)
{
    while (center_ < tail_)
        emit(filter);
    head_ = center_ = tail_ = steadyFrom_ = 0;
}

double ResponseCorrection::smoothedAt(long c) const
{
    const double tc = t_[c % Capacity];
    const long first = head_ % Capacity, end = first + (tail_ - head_);
    const double perStep = 1 / WeightStep;
    double sum = 0, wsum = 0;
    for (long k = first; k < end; ++k) {
        const double dt = std::fabs(t_[k] - tc);
        if (!(dt <= window_))
            continue;
        const double w = weights_[static_cast<long>(dt * perStep + 0.5)];
        sum += w * ic_[k];
        wsum += w;
    }
    return sum / wsum; // the centre itself has weight 1
}

double ResponseCorrection::smoothedSteady(long c)
{
    if (steadyStep_ != weightsStep_) {
        weightsStep_ = steadyStep_;
        const double sigma = SmoothingSigmaPerTau * tauFast_;
        steadyTaps_ = static_cast<long>(window_ / steadyStep_ + 1e-9);
        if (steadyTaps_ > Capacity)
            steadyTaps_ = Capacity;
        for (long d = -steadyTaps_; d <= steadyTaps_; ++d) {
            const double dt = d * steadyStep_;
            steadyWeights_[d + Capacity] = std::exp(-dt * dt / (2 * sigma * sigma));
        }
    }
    if (c - head_ > steadyTaps_ || tail_ - 1 - c > steadyTaps_)
        return smoothedAt(c);
    const long first = head_ % Capacity, n = tail_ - head_;
    const double* w = steadyWeights_.get() + Capacity - (c - head_);
    const double* ic = ic_.get() + first;
    double sum = 0, wsum = 0;
    for (long k = 0; k < n; ++k) {
        sum += w[k] * ic[k];
        wsum += w[k];
    }
    return sum / wsum;
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
    if (dt != lastDt_) { // the records come at a steady rate: the factors mostly stay
        lastDt_ = dt;
        xs_ = std::exp(-dt / sonde_.tauSlow());
        xf_ = std::exp(-dt / tauFast_);
    }
    const double xs = xs_, xf = xf_;
    slow_ = c.beta * active - (c.beta * active - slow_) * xs;
    const double fast = smoothed - slow_ - ib0;
    if (xf < 1) // two samples at one time leave the last result
        fastDc_ = (fast - fast_ * xf) / (1 - xf);
    fast_ = fast;
    return fastDc_;
}

void ResponseCorrection::emit(OzoneLowPass* filter)
{
    const long c = center_++;
    const long i = c % Capacity;
    const double t = t_[i];
    const bool steady = head_ >= steadyFrom_ && steadyStep_ > 0;
    const double fast = fastCurrent(steady ? smoothedSteady(c) : smoothedAt(c), started_ ? t - lastT_ : -1.0);
    started_ = true;
    lastT_ = t;
    // Older samples than one window before the next centre are not needed.
    if (center_ < tail_)
        while (head_ < center_ && t_[center_ % Capacity] - t_[head_ % Capacity] > window_)
            ++head_;
    RawRecord& r = *r_[i];
    r.data.o3.o3pp = p_[i] > 0 ? sonde_.o3ppFromFastCurrent(p_[i], fast, r.data.o3.tp) : Missing;
    if (filter)
        filter->apply(r);
}

} // namespace lumo
