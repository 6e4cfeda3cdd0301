#pragma once

#include <vector>

#include "flight/q5.h"

namespace lumo {

// WMO (1957) lapse-rate tropopause. First: the lowest level at which the
// lapse rate falls to 2 K/km or less, provided the average lapse rate
// between it and every higher level within 2 km does not exceed 2 K/km.
// Second: above the first, from a level where the average lapse rate to
// every higher level within 1 km exceeds 3 K/km, the first criterion again.
constexpr double TropopauseLapse = 2.0;        // K/km
constexpr double TropopauseLayer = 2000.0;     // m
constexpr double SecondTropopauseLapse = 3.0;  // K/km
constexpr double SecondTropopauseLayer = 1000.0; // m
// Only levels at or above this one qualify (not a WMO rule: it keeps
// surface and frontal inversions out).
constexpr double TropopauseMaxP = 500.0; // hPa

// One recorded level of the ascent.
struct TropopauseLevel {
    double p; // hPa
    double z; // m, height as the processing computes it
    double t; // degC
};

struct Tropopauses {
    Tropopause first;
    Tropopause second;
};

// Both tropopauses of an ascent given as levels of increasing height. A
// temperature spike of a single record is removed first (median of three
// neighbours) so that it cannot trigger the criterion; lapse rates are then
// taken between the recorded levels.
Tropopauses findTropopauses(const std::vector<TropopauseLevel>& levels);

// The ascent levels of the flight from launch to burst: PTU records with
// the radiosonde pressure, or, without the pressure sensor, GPS fixes with
// their derived pressure and altitude; levels that do not rise above the
// previous one are left out.
std::vector<TropopauseLevel> ascentLevels(const Q5& q);

// The same levels gathered one record at a time over the whole flight list,
// in list order, for a walk that does more than one thing.
class AscentLevels {
public:
    explicit AscentLevels(const Q5& q);
    void visit(const RawRecord& r);
    const std::vector<TropopauseLevel>& levels() const { return levels_; }

private:
    const Q5& q_;
    const RawRecord* start_;
    const RawRecord* end_;
    bool started_ = false, ended_ = false;
    std::vector<TropopauseLevel> levels_;
};

// q.tropopause and q.tropopause2 from the ascent.
void tropopauses(Q5& q);
void tropopauses(Q5& q, const std::vector<TropopauseLevel>& levels);

} // namespace lumo
