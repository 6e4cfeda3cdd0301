#pragma once

// Figures that compare a processed profile with a reference one: medians of
// the relative difference, the height of the steepest ozone rise, layer
// medians.

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "flight/q5.h"
#include "processing/preferences.h"
#include "support/testfiles.h"

namespace lumo::test {

// One ozone record of the ascent beside the reference value at its time.
struct ComparedLevel {
    double p = 0;    // hPa
    double z = 0;    // m, as the processing found it
    double o3 = 0;   // nb, processed
    double ref = 0;  // nb, reference
};

inline double median(std::vector<double> v)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Median of processed / reference - 1 over the levels that `keep` selects.
template <class Keep>
double medianRelative(const std::vector<ComparedLevel>& levels, Keep keep)
{
    std::vector<double> v;
    for (const auto& l : levels)
        if (keep(l) && l.ref > 0)
            v.push_back(l.o3 / l.ref - 1);
    return median(v);
}

// Profiles on 50 m bins, smoothed over 250 m, for the processed and the
// reference values at the same records.
struct BinnedProfile {
    double bottom = 0;
    static constexpr double Bin = 50;
    std::vector<double> o3, ref;
};

inline BinnedProfile binned(const std::vector<ComparedLevel>& levels, double bottom, double top)
{
    const std::size_t n = static_cast<std::size_t>((top - bottom) / BinnedProfile::Bin);
    std::vector<double> sumO3(n), sumRef(n), count(n);
    for (const auto& l : levels) {
        if (l.z < bottom || l.z >= top)
            continue;
        const auto i = static_cast<std::size_t>((l.z - bottom) / BinnedProfile::Bin);
        if (i >= n)
            continue; // the part of a bin below the top
        sumO3[i] += l.o3;
        sumRef[i] += l.ref;
        count[i] += 1;
    }
    BinnedProfile b;
    b.bottom = bottom;
    b.o3.assign(n, NAN);
    b.ref.assign(n, NAN);
    for (std::size_t i = 2; i + 2 < n; ++i) {
        double o = 0, r = 0, c = 0;
        for (std::size_t k = i - 2; k <= i + 2; ++k) {
            o += sumO3[k];
            r += sumRef[k];
            c += count[k];
        }
        if (c > 0) {
            b.o3[i] = o / c;
            b.ref[i] = r / c;
        }
    }
    return b;
}

// Height (m) of the steepest rise of `v` between the bins around `from` and
// `to` (m).
inline double steepestRise(const BinnedProfile& b, const std::vector<double>& v, double from, double to)
{
    double best = -1, at = NAN;
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
        const double z = b.bottom + (static_cast<double>(i) + 1) * BinnedProfile::Bin;
        if (z < from || z > to || std::isnan(v[i]) || std::isnan(v[i + 1]))
            continue;
        if (v[i + 1] - v[i] > best) {
            best = v[i + 1] - v[i];
            at = z;
        }
    }
    return at;
}

// Height (m) where `v` crosses half its rise between centre - half and
// centre + half: for a steep rise the height of its steepest part, and one
// that a lag or a smooth bias cannot move by itself.
inline double halfRiseHeight(const BinnedProfile& b, const std::vector<double>& v, double centre, double half)
{
    if (!(centre - half >= b.bottom))
        return NAN;
    const auto bin = [&](double z) { return static_cast<std::size_t>((z - b.bottom) / BinnedProfile::Bin); };
    const std::size_t lo = bin(centre - half), hi = bin(centre + half);
    if (hi >= v.size() || std::isnan(v[lo]) || std::isnan(v[hi]))
        return NAN;
    const double mid = (v[lo] + v[hi]) / 2;
    for (std::size_t i = lo; i < hi; ++i)
        if (v[i] < mid && v[i + 1] >= mid)
            return b.bottom + (static_cast<double>(i) + 0.5 + (mid - v[i]) / (v[i + 1] - v[i])) * BinnedProfile::Bin;
    return NAN;
}

// Preferences from INI text, as a preferences file would give them.
inline Preferences preferencesFrom(const TempDir& dir, const std::string& text)
{
    return readPreferences(dir.write("lumo.ini", text));
}

} // namespace lumo::test
