#include "standardmethod.h"

#include <cmath>
#include <memory>

#include "column.h"
#include "flight/numbertext.h"
#include "o3methodprefs.h"
#include "ozone.h"
#include "responsecorrection.h"
#include "surface.h"
#include "uncertainty.h"

namespace lumo {

namespace {

constexpr double KelvinOffset = 273.15;
constexpr double NbPerMpa = 10.0;
constexpr double MinO3pp = -100, MaxO3pp = 500; // nb, the plausible range of the classic equation

double sq(double x) { return x * x; }

const char* familyText(SondeFamily f) { return f == SondeFamily::Z ? "Z" : f == SondeFamily::SixA ? "6A" : "?"; }

std::string solutionText(double ki, double buffer)
{
    return formatNumbers("%.1f %% KI, buffer %.1f", {ki, buffer});
}

const char* const NoFamily = "no sonde type (model 6A, 5A, 4A, Z or 2Z, or a serial number beginning so)";
const char* const NoSolution = "no solution type (kiPct and bufferFraction, or a solutionType text)";

} // namespace

StandardSonde::StandardSonde(const Q5& q, int h, bool describe)
    : describe_(describe), slot_(h), cfg_(&q.o3Sonde[h])
{
    const O3SondeCfg& c = *cfg_;
    const O3MethodSettings& m = q.o3Method;
    result.method = O3Method::Standard;
    const bool familyKnown = c.family != SondeFamily::Unknown;
    const bool solutionKnown = c.kiPct && c.bufferFraction;
    if (solutionKnown) {
        ki_ = *c.kiPct;
        buffer_ = *c.bufferFraction;
    }
    if (m.responseCorrection) {
        const auto constants = familyKnown && solutionKnown ? cellConstants(c.family, ki_, buffer_) : std::nullopt;
        if (!familyKnown)
            skip("responseCorrection", std::string(NoFamily) + ", so no response correction");
        else if (!solutionKnown)
            skip("responseCorrection", std::string(NoSolution) + ", so no response correction");
        else if (!constants)
            skip("responseCorrection", std::string("no cell constants for a ") + familyText(c.family) + " sonde with "
                                           + solutionText(ki_, buffer_) + ", so no response correction");
        else if (!c.ib0)
            skip("responseCorrection", "no ib0 (the background current before ozone exposure), so no response correction");
        else {
            cell_ = constants;
            if (m.tauFast != Missing)
                cell_->tauFast = m.tauFast;
            ib0_ = *c.ib0;
            result.tauFast = cell_->tauFast;
            result.background = "ib0+slow";
            result.backgroundUa = ib0_;
            tauSlow_ = m.tauSlow;
            if (c.ib1) {
                if (!c.ib1Delay)
                    note(formatNumbers("no ib1Delay: the slow current decays for %.0f s from the Ib1 reading to the "
                                       "first record",
                                       {DefaultIb1DelayS}));
                slowStart_ = (*c.ib1 - ib0_) * std::exp(-c.ib1Delay.value_or(DefaultIb1DelayS) / tauSlow_);
            } else {
                note("no ib1: the slow current starts at 0 at the first record");
            }
        }
    }
    if (!cell_) {
        if (!c.solutionVolume)
            skip("absorption", "no solutionVolume (cm3 of cathode solution), so no absorption efficiency");
        else if (!absorptionEfficiency(*c.solutionVolume, 1000))
            skip("absorption", formatNumbers("a solution volume of %.2f cm3 has no absorption efficiency (2.5 or "
                                             "3.0 cm3 only)",
                                             {*c.solutionVolume}));
        else {
            volume_ = c.solutionVolume;
            result.stepsApplied.push_back("absorption");
        }
        transferTo_ = m.transferTo;
        if (transferTo_ != TransferTo::None) {
            if (!familyKnown)
                skip("transfer", std::string(NoFamily) + ", so no transfer function");
            else if (!solutionKnown)
                skip("transfer", std::string(NoSolution) + ", so no conversion factor");
            else if (!transferFactor(c.family, ki_, buffer_, transferTo_, 1000))
                skip("transfer", std::string("no transfer function from a ") + familyText(c.family) + " sonde with "
                                     + solutionText(ki_, buffer_) + " to " + transferName(transferTo_));
            else {
                transfer_ = true;
                result.stepsApplied.push_back("transfer");
            }
        }
        chooseBackground(m.background);
        result.stepsApplied.push_back("background");
    }
    result.stepsApplied.push_back("pumpTemperature");
    pumpHeat_ = m.pumpHeatOffset;
    if (!pumpHeat_)
        skip("pumpHeatOffset", "the preferences leave out the offset of the pump's own heat ([o3] pumpHeatOffset=no), "
                               "so the pump temperature lacks its 3.9 - 0.8 log10 p K");
    thermistor_ = c.thermistor;
    if (thermistor_ == Thermistor::Unknown)
        skip("thermistorPlace", "no thermistor place (box, taped, glued or internal), so only the pump's internal "
                                "offset was added to the pump temperature");
    double moistening = 1.0;
    const double pLab = c.flowPressure.value_or(q.sfcP);
    if (!c.flowTemp)
        skip("moistening", "no flowTemp (temperature of the flow measurement), so no moistening correction of the flow");
    else if (!(pLab > 0))
        skip("moistening", "no flowPressure and no surface pressure, so no moistening correction of the flow");
    else {
        moistening = moisteningFactor(*c.flowTemp, c.flowHumidity, pLab);
        moistened_ = true;
        result.moistening = moistening;
        result.stepsApplied.push_back("moistening");
        if (!c.flowHumidity)
            note("no flowHumidity: the moistening correction has the pump-heating term only");
    }
    flow0_ = c.flow > 0 ? moistening * 100 / c.flow : 0;
    choosePumpTable(q, m.pumpTable);
    result.stepsApplied.push_back("pumpEfficiency");
    if (cell_) {
        result.responseCorrected = true;
        result.stepsApplied.push_back("responseCorrection");
        result.stepsApplied.push_back("calibration");
    }
}

void StandardSonde::skip(const std::string& step, const std::string& why)
{
    if (!describe_)
        return;
    const std::string text = formatNumbers("Ozonesonde %.0f: ", {slot_ + 1.0}) + why + ".";
    result.stepsSkipped.push_back(SkippedStep{step, text});
    addWarning(warnings, "o3-step-skipped", text, {{"sonde", slot_ + 1.0}});
}

void StandardSonde::note(const std::string& why)
{
    if (describe_)
        addWarning(warnings, "o3-method-input", formatNumbers("Ozonesonde %.0f: ", {slot_ + 1.0}) + why + ".",
                   {{"sonde", slot_ + 1.0}});
}

void StandardSonde::chooseBackground(BackgroundChoice wanted)
{
    const O3SondeCfg& c = *cfg_;
    const std::optional<double> named = wanted == BackgroundChoice::Ib0 ? c.ib0
        : wanted == BackgroundChoice::Ib1                               ? c.ib1
        : wanted == BackgroundChoice::Ib2                               ? c.ib2
        : wanted == BackgroundChoice::Bkg                               ? std::optional<double>(c.bkg)
                                                                        : std::nullopt;
    if (named) {
        background_ = result.backgroundUa = *named;
        result.background = backgroundName(wanted);
        return;
    }
    const char* used = c.ib2 ? "ib2" : c.ib1 ? "ib1" : c.ib0 ? "ib0" : "bkg";
    background_ = result.backgroundUa = c.ib2 ? *c.ib2 : c.ib1 ? *c.ib1 : c.ib0 ? *c.ib0 : c.bkg;
    result.background = used;
    if (wanted != BackgroundChoice::Auto)
        note(std::string("no ") + backgroundName(wanted) + " in the configuration: the background subtracted is "
             + used + formatNumbers(" = %.4f uA", {background_}));
}

void StandardSonde::choosePumpTable(const Q5& q, PumpTable wanted)
{
    if (wanted == PumpTable::Auto) {
        if (cfg_->family == SondeFamily::SixA)
            wanted = PumpTable::Komhyr1986;
        else if (cfg_->family == SondeFamily::Z)
            wanted = PumpTable::Komhyr1995;
        else {
            wanted = PumpTable::File;
            note(std::string(NoFamily) + ": the configuration's own pump-efficiency table was used");
        }
    }
    table_ = builtInPumpTable(wanted);
    fileTable_ = PumpEffTable{q.effP, q.effVal, nullptr, q.effCount < MaxTableRows ? q.effCount : MaxTableRows};
    const PumpEffTable& t = table_ ? *table_ : fileTable_;
    for (int i = 0; i < t.n && i < MaxPumpNodes; ++i)
        nodeLogs_[i] = t.p[i] > 0 ? std::log10(t.p[i]) : 0;
    result.pumpTable = wanted;
}

StandardSonde::Level::Level(double pressure)
    : p(pressure), lp(std::log10(pressure)), lpFloor(pressure > PumpTempFloorP ? lp : std::log10(PumpTempFloorP))
{
}

double StandardSonde::pumpTemperatureK(const Level& l, double tp) const
{
    const double heat = pumpHeat_ ? pumpInternalOffsetK(l.p, l.lpFloor) : 0.0;
    return tp + KelvinOffset + heat + thermistorOffsetK(thermistor_, l.p, l.lpFloor);
}

double StandardSonde::pumpFactor(const Level& l, double* sigma) const
{
    return pumpCorrection(table_ ? *table_ : fileTable_, nodeLogs_, l.p, l.lp, sigma);
}

double StandardSonde::slope(const Level& l, double tpK) const
{
    const double alpha = volume_ ? *absorptionEfficiency(*volume_, l.p) : 1.0;
    return NbPerMpa * MpaCm3PerUaK * tpK * pumpFactor(l, nullptr) / (alpha * flow0_);
}

double StandardSonde::o3pp(double p, double ic, double tp) const
{
    if (p == Missing || !(p > 0) || ic == Missing || tp == Missing || !(flow0_ > 0))
        return Missing;
    const Level l(p);
    const double transfer = transfer_ ? transferFactor(cfg_->family, ki_, buffer_, transferTo_, p)->factor : 1.0;
    const double o3pp = slope(l, pumpTemperatureK(l, tp)) * (ic - background_) * transfer;
    return o3pp < MinO3pp || o3pp > MaxO3pp ? Missing : o3pp;
}

double StandardSonde::o3ppFromFastCurrent(double p, double iFast, double tp) const
{
    if (p == Missing || !(p > 0) || tp == Missing || !(flow0_ > 0))
        return Missing;
    const Level l(p);
    const double iCal = calibratedCurrentLog(*cell_, iFast, l.lp);
    const double o3pp = NbPerMpa * MpaCm3PerUaK * pumpTemperatureK(l, tp) * iCal * pumpFactor(l, nullptr) / flow0_;
    return o3pp < MinO3pp || o3pp > MaxO3pp ? Missing : o3pp;
}

double StandardSonde::uncertainty(const UncertaintySettings& s, double p, double ic, double tp, double o3pp) const
{
    if (p == Missing || !(p > 0) || ic == Missing || tp == Missing || o3pp == Missing || !(flow0_ > 0))
        return Missing;
    const Level l(p);
    const double tpK = pumpTemperatureK(l, tp);
    double etaSq = 0, k = slope(l, tpK);
    if (cell_)
        etaSq = sq(CalibrationSigma);
    else {
        if (volume_)
            etaSq += sq(AbsorptionSigma / *absorptionEfficiency(*volume_, p));
        const Transfer t = transfer_ ? *transferFactor(cfg_->family, ki_, buffer_, transferTo_, p)
                                     : Transfer{1.0, StoichiometrySigma};
        etaSq += sq(t.sigma / t.factor);
        k *= t.factor;
    }
    double pumpSigma = 0;
    const double cpf = pumpFactor(l, &pumpSigma);
    const bool tableSigma = table_ && table_->sigma;
    const double pumpRel = tableSigma ? pumpSigma / cpf : pumpEffUncertaintyPct(s, p) / 100;
    const double currentSigma = std::fmax(MinCurrentSigmaUa, s.currentPct / 100 * ic);
    const double flowSq = sq(FlowSigma) + sq(s.humidityPct / 100) + sq(pumpRel);
    const double tempSq = (sq(PumpTempSigmaK) + sq(InternalOffsetSigmaK) + sq(thermistorSigmaK(thermistor_))) / sq(tpK);
    // The current terms through the slope, so that any sign of the net
    // current gives a value; |o3pp| x the relative uncertainty where it is > 0.
    return std::sqrt(sq(k) * (sq(currentSigma) + sq(s.backgroundUa)) + sq(o3pp) * (etaSq + flowSq + tempSq));
}

void applyStandardMethod(Q5& q)
{
    const int n = q.o3Count < MaxSondes ? static_cast<int>(q.o3Count) : MaxSondes;
    StandardSonde sondes[MaxSondes];
    bool used[MaxSondes] = {};
    std::unique_ptr<ResponseCorrection> response[MaxSondes];
    for (int h = 0; h < n; ++h) {
        if (!q.o3Sonde[h].sn[0])
            continue;
        used[h] = true;
        sondes[h] = StandardSonde(q, h);
        if (sondes[h].responseCorrected())
            response[h] = std::make_unique<ResponseCorrection>(sondes[h], sondes[h].cell().tauFast);
    }
    const double t0 = !q.sfcRecs.empty() ? q.sfcRecs.first()->time : q.fltRecs.first()->time;
    for (RecordList<RawRecord>* list : {&q.sfcRecs, &q.fltRecs}) {
        const bool surface = list == &q.sfcRecs;
        OzoneLowPass lowPass(q.lpFilter);
        OzoneLowPass* filter = q.lpFilter > 0 ? &lowPass : nullptr;
        for (RawRecord& r : *list) {
            const int h = r.isOzone() ? r.o3Slot() : -1;
            if (h < 0 || !used[h])
                continue;
            O3Data& o = r.data.o3;
            o.o3ppClassic = o.o3pp;
            const double p = surface ? o.p : o3SamplePressure(q, r);
            if (response[h]) {
                response[h]->push(r, (r.time - t0) * 86400, p, filter);
                continue;
            }
            o.o3pp = sondes[h].o3pp(p > 0 ? p : Missing, o.ic, o.tp);
            if (filter)
                filter->apply(r);
        }
        for (int h = 0; h < n; ++h)
            if (response[h])
                response[h]->flush(filter);
    }
    for (int h = 0; h < n; ++h) {
        if (!used[h])
            continue;
        O3MethodResult& res = q.o3MethodResult[h];
        res = sondes[h].result;
        res.classicSfcO3 = q.sfcO3[h];
        q.warnings.insert(q.warnings.end(), sondes[h].warnings.begin(), sondes[h].warnings.end());
    }
    surfaceOzoneFromSamples(q);
}

double classicO3pp(const Q5& q, const RawRecord& r)
{
    const int h = r.isOzone() ? r.o3Slot() : -1;
    return h >= 0 && q.o3MethodResult[h].method == O3Method::Standard ? r.data.o3.o3ppClassic : r.data.o3.o3pp;
}

double standardO3ppUncertainty(const Q5& q, const RawRecord& r, double p)
{
    const int h = r.isOzone() ? r.o3Slot() : -1;
    if (h < 0 || !q.o3Sonde[h].sn[0] || q.o3MethodResult[h].method != O3Method::Standard)
        return Missing;
    const O3Data& o = r.data.o3;
    if (o.o3pp == Missing || !(o.o3pp > 0))
        return Missing; // no relative uncertainty without a net current
    return StandardSonde(q, h, false).uncertainty(q.uncertainty, p, o.ic, o.tp, o.o3pp);
}

ClassicColumnSum::ClassicColumnSum(Q5& q) : p0_(columnBasePressure(q))
{
    for (int h = 0; h < MaxSondes; ++h)
        sfcO3_[h] = q.o3MethodResult[h].classicSfcO3;
}

void ClassicColumnSum::add(int h, const RawRecord* prev, double prevP, const RawRecord& r, double p)
{
    const double o3pp = r.data.o3.o3ppClassic;
    const double below = prev ? prev->data.o3.o3ppClassic : sfcO3_[h];
    if (o3pp == Missing || below == Missing) {
        known_[h] = false;
        return;
    }
    const double layer = std::log((prev ? prevP : p0_) / p) * (below + o3pp) * DobsonPerNbLnP;
    sum_[h] = prev && sum_[h] != Missing ? sum_[h] + layer : layer;
}

void ClassicColumnSum::finish(Q5& q) const
{
    for (int h = 0; h < MaxSondes; ++h)
        q.o3MethodResult[h].classicMeasured = known_[h] ? sum_[h] : Missing;
}

} // namespace lumo
