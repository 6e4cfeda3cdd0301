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

std::vector<TropopauseLevel> ascentLevels(const Q5& q)
{
    std::vector<TropopauseLevel> levels;
    const RawRecord* r = q.launchRec ? q.launchRec : q.fltRecs.first();
    const RawRecord* end = q.burstRec ? q.burstRec->next : nullptr;
    for (; r && r != end; r = r->next) {
        TropopauseLevel l{};
        if (q.rsPrInst && r->isPtu()) {
            const PtuData& d = r->data.ptu;
            if (d.p == Missing || d.t == Missing)
                continue;
            l = {d.p - q.sfcCorrP, d.hgt, d.t - q.sfcCorrT};
        } else if (!q.rsPrInst && r->isGps()) {
            const GpsData& g = r->data.gps;
            if (!(g.gpsP > 0) || g.ptuT == Missing)
                continue;
            l = {g.gpsP, g.alt, g.ptuT};
        } else {
            continue;
        }
        if (!(l.p > 0) || (!levels.empty() && !(l.z > levels.back().z)))
            continue;
        levels.push_back(l);
    }
    return levels;
}

void tropopauses(Q5& q)
{
    const Tropopauses t = findTropopauses(ascentLevels(q));
    q.tropopause = t.first;
    q.tropopause2 = t.second;
}

} // namespace lumo
