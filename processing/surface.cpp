#include "surface.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "flight/numbertext.h"
#include "flight/q5.h"
#include "flight/userdialogs.h"
#include "ozone.h"
#include "surfacereference.h"

namespace lumo {

void OrderStatistic::add(double sample)
{
    ring_[pos_] = sample;
    pos_ = (pos_ + 1) % RingSize;
    std::array<double, RingSize> sorted = ring_;
    std::sort(sorted.begin(), sorted.end());
    value_ = sorted[Rank];
}

namespace {

constexpr double MinSurfaceP = 500.0; // hPa; below is no launch site
const std::string Blanks(20, ' ');

struct Question {
    const char* caption;
    const char* format;
    double threshold;
};

const Question PressureQ{"Surface Pressure",
                         "Surface pressure saved in file = %1.2f\nMeasured surface pressure = %1.2f\n\n"
                         "Save the new measured pressure?",
                         2.0};
const Question TemperatureQ{"Surface Temperature",
                            "Surface temperature saved in file = %1.1f\nMeasured surface temperature = %1.1f\n\n"
                            "Save the new measured temperature?",
                            2.0};
const Question HumidityQ{"Surface Humidity",
                         "Surface humidity saved in file = %1.1f\nMeasured surface humidity = %1.1f\n\n"
                         "Save the new measured humidity?",
                         10.0};

std::string formatQuestion(const Question& question, double saved, double measured)
{
    return formatNumbers(question.format, {saved, measured}) + Blanks;
}

// Offers the measured statistic when it is further than the threshold from
// the corrected saved value; only Yes replaces the saved value.
void confirm(Q5& q, const Question& question, double& saved, double correction, double measured)
{
    if (!(std::fabs(measured - (saved - correction)) > question.threshold))
        return;
    if (q.dialogs && q.dialogs->askYesNo(question.caption, formatQuestion(question, saved, measured)))
        saved = measured;
}

} // namespace

bool surfaceStatistics(Q5& q)
{
    OrderStatistic p, t, u;
    for (const RawRecord& r : q.sfcRecs) {
        if (!r.isPtu())
            continue;
        if (q.rsPrInst)
            p.add(r.data.ptu.p);
        t.add(r.data.ptu.t);
        u.add(r.data.ptu.u);
    }
    if (q.rsPrInst) {
        confirm(q, PressureQ, q.sfcP, q.sfcCorrP, p.value());
        if (q.sfcP - q.sfcCorrP < MinSurfaceP) {
            if (q.dialogs)
                q.dialogs->showError("Error", "Surface pressure invalid.");
            return false;
        }
    }
    confirm(q, TemperatureQ, q.sfcT, q.sfcCorrT, t.value());
    confirm(q, HumidityQ, q.sfcU, q.sfcCorrU, u.value());
    return true;
}

void surfaceOzone(Q5& q)
{
    const double p = refSurfaceP(q);
    for (RawRecord& r : q.sfcRecs) {
        if (!r.isOzone())
            continue;
        r.data.o3.p = p;
        computeO3pp(q, r, p);
    }
    if (q.lpFilter > 0)
        lowPassFilter(q, q.sfcRecs.first());
    surfaceOzoneFromSamples(q);
}

void surfaceOzoneFromSamples(Q5& q)
{
    OrderStatistic stats[MaxSondes];
    bool seen[MaxSondes] = {};
    bool valid[MaxSondes] = {};
    for (const RawRecord& r : q.sfcRecs) {
        const int slot = r.isOzone() ? r.o3Slot() : -1;
        if (slot < 0)
            continue;
        seen[slot] = true;
        // An invalid sample takes no part in the statistic.
        if (r.data.o3.o3pp != Missing) {
            stats[slot].add(r.data.o3.o3pp);
            valid[slot] = true;
        }
    }
    for (int k = 0; k < MaxSondes; ++k)
        q.sfcO3[k] = valid[k] ? stats[k].value() : seen[k] ? Missing : 0;
}

} // namespace lumo
