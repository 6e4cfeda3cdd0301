#include "ozone.h"

#include <cmath>

#include "flight/datetime.h"
#include "flight/q5.h"

namespace lumo {

namespace {

constexpr double MaxTablePressure = 1200.0; // hPa
constexpr double MinTablePressure = 0.5;    // hPa

// Row count of a table, never beyond its capacity.
int rows(std::uint8_t count) { return count < MaxTableRows ? count : MaxTableRows; }

// Linear interpolation in pressure between rows j-1 and j.
double interpolateRows(const double* tp, const double* tv, int j, double x)
{
    return tv[j - 1] - (tp[j - 1] - x) * (tv[j - 1] - tv[j]) / (tp[j - 1] - tp[j]);
}

// The factor look-up shared by both tables, except for the region above the
// last row (lower pressure) which the caller decides.
enum class Beyond { Hold, Extrapolate };

double tableFactor(const double* tp, const double* tv, std::uint8_t count, double x, Beyond beyond)
{
    const int n = rows(count);
    if (n == 0 || x > MaxTablePressure || x < MinTablePressure)
        return 1.0;
    int j = 0;
    while (j < n && !(tp[j] <= x))
        ++j;
    if (j == 0)
        return 1.0;
    if (j < n) {
        if (tp[j] == x)
            return tv[j];
        if (tp[j - 1] == tp[j])
            return tv[j - 1];
        return interpolateRows(tp, tv, j, x);
    }
    if (beyond == Beyond::Hold || n < 2 || tp[n - 2] == tp[n - 1])
        return tv[n - 1];
    const double s = (tv[n - 2] - tv[n - 1]) / (tp[n - 2] - tp[n - 1]);
    return s * x + (tv[n - 1] - s * tp[n - 1]);
}

} // namespace

double bkgAtSurface(const Q5& q, double b, double ps)
{
    const int n = rows(q.bkgCount);
    if (n == 0 || !(ps > 0) || !(b > 0))
        return b;
    int j = 0;
    while (j < n && !(q.bkgP[j] <= ps))
        ++j;
    if (j == 0)
        return b;
    double factor;
    if (j < n) {
        if (q.bkgP[j] == ps)
            factor = q.bkgVal[j];
        else if (q.bkgP[j - 1] == q.bkgP[j])
            return b;
        else
            factor = interpolateRows(q.bkgP, q.bkgVal, j, ps);
    } else {
        factor = q.bkgVal[n - 1];
    }
    if (factor == 0)
        return b;
    return b / factor;
}

double bkgFactor(const Q5& q, double x) { return tableFactor(q.bkgP, q.bkgVal, q.bkgCount, x, Beyond::Hold); }

double effFactor(const Q5& q, double x) { return tableFactor(q.effP, q.effVal, q.effCount, x, Beyond::Extrapolate); }

double o3PartialPressure(const Q5& q, double p, double ic, double tp, int k)
{
    if (p == Missing || ic == Missing || tp == Missing || k < 1 || k > MaxSondes)
        return Missing;
    const double fb = bkgFactor(q, p);
    const double fe = effFactor(q, p);
    const double ib = q.bkgRef[k - 1];
    const double t100 = q.o3Sonde[k - 1].flow;
    // 0.004307 turns uA x K x s/100 ml into nanobar.
    const double o3pp = (ic - ib * fb) * 0.004307 * (tp + 273.15) * t100 * fe;
    if (o3pp < -100 || o3pp > 500)
        return Missing;
    return o3pp;
}

void referBackgrounds(Q5& q)
{
    const double ps = q.sfcP - q.sfcCorrP;
    const std::uint32_t n = q.o3Count < MaxSondes ? q.o3Count : MaxSondes;
    for (std::uint32_t i = 0; i < n; ++i)
        q.bkgRef[i] = bkgAtSurface(q, q.o3Sonde[i].bkg, ps);
}

void computeO3pp(const Q5& q, RawRecord& r, double p)
{
    O3Data& o = r.data.o3;
    o.o3pp = o3PartialPressure(q, p, o.ic, o.tp, r.o3Slot() + 1);
}

void OzoneLowPass::apply(RawRecord& r)
{
    const int slot = r.isOzone() ? r.o3Slot() : -1;
    if (slot < 0)
        return;
    double& o3pp = r.data.o3.o3pp;
    if (o3pp == Missing)
        return;
    if (last_[slot] == Missing) {
        last_[slot] = o3pp;
        lastTime_[slot] = r.time;
        return;
    }
    // Elapsed clock time to the millisecond; whole days drop out.
    const DateParts d = decodeDateTime(std::fabs(r.time - lastTime_[slot]));
    const double dt = d.hour * 3600 + d.minute * 60 + d.second + d.msec * 0.001;
    const double g = std::exp(-dt / tau_);
    o3pp = last_[slot] + (1 - g) * (o3pp - last_[slot]);
    last_[slot] = o3pp;
    lastTime_[slot] = r.time;
}

void lowPassFilter(const Q5& q, RawRecord* first)
{
    OzoneLowPass filter(q.lpFilter);
    for (RawRecord* r = first; r; r = r->next)
        filter.apply(*r);
}

} // namespace lumo
