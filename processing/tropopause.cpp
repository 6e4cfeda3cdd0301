#include "tropopause.h"

#include <algorithm>
#include <cstddef>

namespace lumo {

namespace {

// Average lapse rate (K/km) from level a up to level b.
double lapse(const TropopauseLevel& a, const TropopauseLevel& b) { return -(b.t - a.t) / (b.z - a.z) * 1000.0; }

double median3(double a, double b, double c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

std::vector<TropopauseLevel> despiked(const std::vector<TropopauseLevel>& levels)
{
    std::vector<TropopauseLevel> out = levels;
    for (std::size_t i = 1; i + 1 < levels.size(); ++i)
        out[i].t = median3(levels[i - 1].t, levels[i].t, levels[i + 1].t);
    return out;
}

// True when the average lapse rate from level i to every higher level within
// `layer` metres is at most (or, with `above`, exceeds) `limit`.
bool layerTest(const std::vector<TropopauseLevel>& lv, std::size_t i, double layer, double limit, bool above)
{
    for (std::size_t j = i + 1; j < lv.size() && lv[j].z - lv[i].z <= layer; ++j) {
        const double g = lapse(lv[i], lv[j]);
        if (above ? !(g > limit) : g > limit)
            return false;
    }
    return true;
}

// The first level from `from` on that meets the first criterion; the level
// count when none does.
std::size_t firstCriterion(const std::vector<TropopauseLevel>& lv, std::size_t from)
{
    for (std::size_t i = from; i + 1 < lv.size(); ++i) {
        if (lv[i].p > TropopauseMaxP || lapse(lv[i], lv[i + 1]) > TropopauseLapse)
            continue;
        if (layerTest(lv, i, TropopauseLayer, TropopauseLapse, false))
            return i;
    }
    return lv.size();
}

Tropopause at(const std::vector<TropopauseLevel>& lv, std::size_t i)
{
    Tropopause t;
    t.p = lv[i].p;
    t.height = lv[i].z;
    t.t = lv[i].t;
    t.confirmed = lv.back().z - lv[i].z >= TropopauseLayer;
    return t;
}

} // namespace

Tropopauses findTropopauses(const std::vector<TropopauseLevel>& levels)
{
    Tropopauses res;
    const std::vector<TropopauseLevel> lv = despiked(levels);
    const std::size_t first = firstCriterion(lv, 0);
    if (first >= lv.size())
        return res;
    res.first = at(lv, first);
    // The 1-km layer that starts the search for a second must lie within
    // the sounding, or its top would pass the test for want of levels.
    for (std::size_t k = first + 1; k < lv.size() && lv.back().z - lv[k].z >= SecondTropopauseLayer; ++k) {
        if (!layerTest(lv, k, SecondTropopauseLayer, SecondTropopauseLapse, true))
            continue;
        const std::size_t second = firstCriterion(lv, k);
        if (second < lv.size())
            res.second = at(lv, second);
        break;
    }
    return res;
}

AscentLevels::AscentLevels(const Q5& q)
    : q_(q), start_(q.launchRec ? q.launchRec : q.fltRecs.first()), end_(q.burstRec ? q.burstRec->next : nullptr)
{
}

// From the launch up to and with the burst; a burst listed before the
// launch does not end the ascent.
void AscentLevels::visit(const RawRecord& r)
{
    if (!started_) {
        if (&r != start_)
            return;
        started_ = true;
    }
    if (ended_ || &r == end_) {
        ended_ = true;
        return;
    }
    TropopauseLevel l{};
    if (q_.rsPrInst && r.isPtu()) {
        const PtuData& d = r.data.ptu;
        if (d.p == Missing || d.t == Missing)
            return;
        l = {d.p - q_.sfcCorrP, d.hgt, d.t - q_.sfcCorrT};
    } else if (!q_.rsPrInst && r.isGps()) {
        const GpsData& g = r.data.gps;
        if (!(g.gpsP > 0) || g.ptuT == Missing)
            return;
        l = {g.gpsP, g.alt, g.ptuT};
    } else {
        return;
    }
    if (!(l.p > 0) || (!levels_.empty() && !(l.z > levels_.back().z)))
        return;
    levels_.push_back(l);
}

std::vector<TropopauseLevel> ascentLevels(const Q5& q)
{
    AscentLevels ascent(q);
    for (const RawRecord& r : q.fltRecs)
        ascent.visit(r);
    return ascent.levels();
}

void tropopauses(Q5& q) { tropopauses(q, ascentLevels(q)); }

void tropopauses(Q5& q, const std::vector<TropopauseLevel>& levels)
{
    const Tropopauses t = findTropopauses(levels);
    q.tropopause = t.first;
    q.tropopause2 = t.second;
}

} // namespace lumo
