// Quality checks of the ozonesondes: data present, cell alive, pump
// temperature and surface ozone plausible, a positive column.

#include "flight/numbertext.h"
#include "flight/q5.h"
#include "flightsurvey.h"
#include "qualitychecks.h"
#include "qualitylimits.h"
#include "uncertainty.h"

namespace lumo {

using namespace quality;

namespace {

std::string sondeName(const Q5& q, int h)
{
    return "Ozonesonde " + std::to_string(h + 1) + " (" + q.o3Sonde[h].sn + ")";
}

// Message numbers with "." whatever the process locale.
std::string number(const char* fmt, double value) { return formatNumbers(fmt, {value}); }

void checkChain(Q5& q, const FlightSurvey& s)
{
    for (int h = 0; h < MaxSondes; ++h)
        if (q.o3Sonde[h].sn[0] && s.records[h] == 0)
            addWarning(q.warnings, "sonde-without-data",
                       sondeName(q, h) + " is configured but the flight holds no ozone record of it.",
                       {{"sonde", double(h + 1)}});
    if (s.stray > 0)
        addWarning(q.warnings, "ozone-without-sonde",
                   std::to_string(s.stray) + " ozone record" + (s.stray > 1 ? "s" : "") + " from "
                       + clockOf(s.firstStray) + " carry a chain number (first " + std::to_string(s.strayNum)
                       + ") without a configured ozonesonde; they were not used.",
                   {{"count", double(s.stray)}, {"chainNumber", double(s.strayNum)}, {"time", s.firstStray}});
}

void checkSonde(Q5& q, int h, const SondeAscent& a)
{
    const std::string name = sondeName(q, h);
    const double sonde = h + 1;
    if (a.samples > 0 && a.atBackground > MaxShareAtBackground * a.samples)
        addWarning(q.warnings, "cell-at-background",
                   name + ": cell current at or below the background " + number("%.3f", q.o3Sonde[h].bkg)
                       + " uA for " + number("%.0f", 100.0 * a.atBackground / a.samples)
                       + " % of the ascent: dead or unconditioned cell.",
                   {{"sonde", sonde}, {"share", double(a.atBackground) / a.samples}});
    if (q.o3Measured[h] != Missing && q.o3Measured[h] <= 0)
        addWarning(q.warnings, "column-not-positive",
                   name + ": measured column " + number("%.1f", q.o3Measured[h])
                       + " DU is not positive: dead or unconditioned cell.",
                   {{"sonde", sonde}, {"measured", q.o3Measured[h]}});
    if (a.pumpOut > 0)
        addWarning(q.warnings, "pump-temperature",
                   name + ": pump temperature between " + number("%.1f", a.pumpMin) + " and "
                       + number("%.1f", a.pumpMax) + " degC during the ascent, outside "
                       + number("%.0f", MinPumpTemperature) + " to " + number("%.0f", MaxPumpTemperature)
                       + " degC in " + std::to_string(a.pumpOut) + " samples from " + clockOf(a.pumpFirst) + ".",
                   {{"sonde", sonde}, {"min", a.pumpMin}, {"max", a.pumpMax}, {"samples", double(a.pumpOut)},
                    {"time", a.pumpFirst}});
}

bool hasSurfaceSample(const Q5& q, int h)
{
    for (const RawRecord& r : q.sfcRecs)
        if (r.isOzone() && r.o3Slot() == h && r.data.o3.o3pp != Missing)
            return true;
    return false;
}

} // namespace

void checkOzonesondes(Q5& q, const FlightSurvey& survey)
{
    checkChain(q, survey);
    for (int h = 0; h < MaxSondes; ++h) {
        if (!q.o3Sonde[h].sn[0] || survey.records[h] == 0)
            continue;
        checkSonde(q, h, survey.sonde[h]);
        const double cf = q.o3CorrFactor[h];
        if (cf != Missing && (cf < CorrFactorLow || cf > CorrFactorHigh))
            addWarning(q.warnings, "correction-factor-range",
                       sondeName(q, h) + ": correction factor " + number("%.3f", cf) + " against the reference "
                           + number("%.1f", q.reference.totalO3.value_or(Missing)) + " DU lies outside "
                           + number("%.1f", CorrFactorLow) + " to " + number("%.1f", CorrFactorHigh)
                           + "; check the ozonesonde and the reference.",
                       {{"sonde", double(h + 1)}, {"correctionFactor", cf}});
        const double s = q.sfcO3[h];
        if (s == Missing)
            addWarning(q.warnings, "surface-ozone",
                       sondeName(q, h) + ": every surface ozone sample is invalid; surface ozone and the measured"
                                         " column are unknown.",
                       {{"sonde", double(h + 1)}});
        else if (hasSurfaceSample(q, h) && (s < MinSurfaceOzone || s > MaxSurfaceOzone))
            addWarning(q.warnings, "surface-ozone",
                       sondeName(q, h) + ": surface ozone " + number("%.2f", s) + " nb is implausible (expected "
                           + number("%.0f", MinSurfaceOzone) + " to " + number("%.0f", MaxSurfaceOzone) + " nb).",
                       {{"sonde", double(h + 1)}, {"sfcO3", s}});
        else if (!hasSurfaceSample(q, h))
            addWarning(q.warnings, "surface-ozone",
                       sondeName(q, h) + ": the surface records hold no ozone sample of it, so its surface ozone"
                                         " counts as 0 nb and the lowest layer of the measured column is too low.",
                       {{"sonde", double(h + 1)}, {"sfcO3", s}});
    }
}

} // namespace lumo
