#include "uncertainty.h"

#include <cmath>

#include "column.h"
#include "ozone.h"
#include "standardmethod.h"

namespace lumo {

namespace {

constexpr double KelvinOffset = 273.15;
constexpr double NbPerUaKs = 0.004307; // nb per (uA x K x s/100 ml), as in the partial pressure
constexpr double PumpEffStep1 = 100.0;  // hPa
constexpr double PumpEffStep2 = 10.0;   // hPa
constexpr double PumpEffStep3 = 5.0;    // hPa

double sq(double x) { return x * x; }

// The squared relative terms that do not involve the cell currents.
double otherTermsSq(const UncertaintySettings& s, double p, double tp)
{
    return sq(s.pumpTempK / (tp + KelvinOffset)) + sq(s.flowPct / 100) + sq(s.humidityPct / 100)
        + sq(pumpEffUncertaintyPct(s, p) / 100) + sq(s.conversionPct / 100);
}

// The squared absolute uncertainty (uA^2) of the net cell current.
double currentTermsSq(const UncertaintySettings& s, double ic)
{
    return sq(s.currentPct / 100 * ic) + sq(s.backgroundUa);
}

// The inputs of the partial pressure of one ozone record.
struct Sample {
    bool known = false;
    double p = 0, ic = 0, ib = 0, tp = 0, o3pp = 0;
    double slope = 0; // nb per uA of net cell current at this sample
};

Sample sampleOf(const Q5& q, const RawRecord& r)
{
    Sample x;
    const int h = r.isOzone() ? r.o3Slot() : -1;
    if (h < 0)
        return x;
    const O3Data& o = r.data.o3;
    x.p = o3SamplePressure(q, r);
    x.ic = o.ic;
    x.tp = o.tp;
    x.o3pp = o.o3pp;
    const double flow = q.o3Sonde[h].flow;
    if (!(x.p > 0) || x.ic == Missing || x.tp == Missing || x.o3pp == Missing || !(flow > 0))
        return x;
    x.ib = q.bkgRef[h] * bkgFactor(q, x.p);
    x.slope = NbPerUaKs * (x.tp + KelvinOffset) * flow * effFactor(q, x.p);
    x.known = true;
    return x;
}

// With a low-pass filter the stored partial pressure is the filtered one.
double absoluteUncertainty(const UncertaintySettings& s, const Sample& x)
{
    return absoluteO3ppUncertainty(s, x.p, x.ic, x.tp, x.o3pp, x.slope);
}

} // namespace

double pumpEffUncertaintyPct(const UncertaintySettings& s, double p)
{
    if (p >= PumpEffStep1)
        return s.pumpEffPct100;
    if (p >= PumpEffStep2)
        return s.pumpEffPct100
            + (s.pumpEffPct10 - s.pumpEffPct100) * std::log(PumpEffStep1 / p) / std::log(PumpEffStep1 / PumpEffStep2);
    if (p >= PumpEffStep3)
        return s.pumpEffPct10
            + (s.pumpEffPct5 - s.pumpEffPct10) * std::log(PumpEffStep2 / p) / std::log(PumpEffStep2 / PumpEffStep3);
    return s.pumpEffPct5;
}

double relativeO3ppUncertainty(const UncertaintySettings& s, double p, double ic, double ib, double tp)
{
    if (p == Missing || ic == Missing || ib == Missing || tp == Missing || !(ic - ib > 0))
        return Missing;
    return std::sqrt(currentTermsSq(s, ic) / sq(ic - ib) + otherTermsSq(s, p, tp));
}

double absoluteO3ppUncertainty(const UncertaintySettings& s, double p, double ic, double tp, double o3pp,
                               double slope)
{
    return std::sqrt(sq(slope) * currentTermsSq(s, ic) + sq(o3pp) * otherTermsSq(s, p, tp));
}

double o3ppUncertainty(const Q5& q, const RawRecord& r)
{
    if (q.o3Method.standard())
        return standardO3ppUncertainty(q, r, r.isOzone() ? o3SamplePressure(q, r) : Missing);
    const Sample x = sampleOf(q, r);
    if (!x.known || !(x.ic - x.ib > 0))
        return Missing;
    return absoluteUncertainty(q.uncertainty, x);
}

ColumnUncertaintySum::ColumnUncertaintySum(const Q5& q)
    : q_(q), p0_(columnBasePressure(q))
{
    if (!q.o3Method.standard())
        return;
    for (int h = 0; h < MaxSondes; ++h)
        if (q.o3Sonde[h].sn[0] && q.o3MethodResult[h].method == O3Method::Standard)
            standard_[h] = std::make_shared<StandardSonde>(q, h, false);
}

void ColumnUncertaintySum::add(int h, const RawRecord* prev, double prevP, const RawRecord& r, double p)
{
    const double dp = q_.o3Method.standard() ? standardSampleUncertainty(h, r, p) : classicSampleUncertainty(r);
    if (dp == Missing) {
        known_[h] = false;
        return;
    }
    // The surface value shares the first sample's instrument errors.
    measured_[h] += std::log((prev ? prevP : p0_) / p) * ((prev ? prevDp_[h] : dp) + dp) * DobsonPerNbLnP;
    prevDp_[h] = dp;
}

double ColumnUncertaintySum::classicSampleUncertainty(const RawRecord& r) const
{
    const Sample x = sampleOf(q_, r);
    return x.known ? absoluteUncertainty(q_.uncertainty, x) : Missing;
}

double ColumnUncertaintySum::standardSampleUncertainty(int h, const RawRecord& r, double p) const
{
    if (!standard_[h])
        return Missing;
    const O3Data& o = r.data.o3;
    return standard_[h]->uncertainty(q_.uncertainty, p, o.ic, o.tp, o.o3pp);
}

void ColumnUncertaintySum::finish(Q5& q) const
{
    const bool cmr = !q.resTable;
    for (int h = 0; h < MaxSondes; ++h) {
        q.o3MeasuredUnc[h] = q.o3ResidualUnc[h] = q.o3TotalUnc[h] = Missing;
        if (!q.o3Sonde[h].sn[0])
            continue;
        if (known_[h] && q.o3Measured[h] != Missing)
            q.o3MeasuredUnc[h] = measured_[h];
        if (q.burstRec && cmr && q.o3Residual[h] != Missing)
            q.o3ResidualUnc[h] = CmrResidualUncertainty * std::fabs(q.o3Residual[h]);
        if (q.o3MeasuredUnc[h] != Missing && q.o3ResidualUnc[h] != Missing)
            q.o3TotalUnc[h] = std::hypot(q.o3MeasuredUnc[h], q.o3ResidualUnc[h]);
    }
}

void columnUncertainties(Q5& q)
{
    ColumnUncertaintySum sum(q);
    forEachColumnSample(q, [&sum](int h, const RawRecord* prev, double prevP, const RawRecord& r, double p) {
        sum.add(h, prev, prevP, r, p);
    });
    sum.finish(q);
}

void correctionFactors(Q5& q)
{
    const double ref = q.reference.totalO3.value_or(Missing);
    const double pb = burstPressure(q);
    const bool usable = ref > 0 && pb != Missing && pb > 0 && pb <= CorrFactorMaxBurstP;
    for (int h = 0; h < MaxSondes; ++h) {
        const double total = q.o3Total(h);
        q.o3CorrFactor[h] = usable && q.o3Sonde[h].sn[0] && total != Missing && total > 0 ? ref / total : Missing;
    }
}

} // namespace lumo
