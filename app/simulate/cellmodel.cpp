#include "cellmodel.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "numberformat.h"
#include "packetencoder.h"
#include "random.h"

namespace lumo::sim {

namespace {

// R/(2F) in the units of the measurement equation: P [mPa] = 0.043085 T [K]
// I [uA] / Phi [cm3/s].
constexpr double EquationConstant = 0.043085;

struct ResponseRow {
    CellFamily family;
    double kiPct, buffer;
    ResponseConstants constants;
};

const ResponseRow ResponseTable[] = {
    {CellFamily::Z, 0.5, 0.5, {25, 0.017, 9.67, -2.65}},
    {CellFamily::Z, 1.0, 1.0, {25, 0.047, 14.94, -3.68}},
    {CellFamily::Z, 1.0, 0.1, {25, 0.023, -3.58, 1.31}},
    {CellFamily::SixA, 0.5, 0.5, {21, 0.017, 6.43, -2.81}},
    {CellFamily::SixA, 1.0, 1.0, {21, 0.051, 8.79, -2.31}},
    {CellFamily::SixA, 1.0, 0.1, {21, 0.023, -1.60, -0.64}},
};

// Inverse pump efficiencies at 100, 50, 30, 20, 10, 7, 5 and 3 hPa.
const double EfficiencyP[] = {100, 50, 30, 20, 10, 7, 5, 3};
const double Komhyr1986[] = {1.007, 1.018, 1.022, 1.032, 1.055, 1.070, 1.092, 1.124};
const double Komhyr1995[] = {1.007, 1.018, 1.029, 1.041, 1.066, 1.087, 1.124, 1.241};

// Thermistor place offset (O3S-DQA guidelines, Eq. 12), K.
double placeOffset(ThermistorPlace place, double lp, double p)
{
    switch (place) {
    case ThermistorPlace::Box:
        return p >= 40 ? 7.43 - 0.393 * lp : p > 6 ? 2.7 + 2.6 * lp : 4.5;
    case ThermistorPlace::Taped:
        return p > 70 ? 20.6 - 6.7 * lp : p >= 15 ? 8.25 : 3.25 + 4.25 * lp;
    case ThermistorPlace::Glued:
        return p > 40 ? 6.4 - 2.14 * lp : 3.0;
    case ThermistorPlace::Internal: break;
    }
    return 0;
}

} // namespace

const char* familyModel(CellFamily f) { return f == CellFamily::SixA ? "6A" : "2Z"; }

const char* thermistorName(ThermistorPlace t)
{
    switch (t) {
    case ThermistorPlace::Taped: return "taped";
    case ThermistorPlace::Glued: return "glued";
    case ThermistorPlace::Internal: return "internal";
    case ThermistorPlace::Box: break;
    }
    return "box";
}

bool parseFamily(const std::string& s, CellFamily& f)
{
    if (s == "6A" || s == "6a" || s == "5A" || s == "5a" || s == "4A" || s == "4a")
        f = CellFamily::SixA;
    else if (s == "Z" || s == "z" || s == "2Z" || s == "2z")
        f = CellFamily::Z;
    else
        return false;
    return true;
}

bool parseThermistor(const std::string& s, ThermistorPlace& t)
{
    for (ThermistorPlace p :
        {ThermistorPlace::Box, ThermistorPlace::Taped, ThermistorPlace::Glued, ThermistorPlace::Internal})
        if (s == thermistorName(p)) {
            t = p;
            return true;
        }
    return false;
}

std::string CellOptions::validate() const
{
    if (kiPct && !(*kiPct > 0 && *kiPct <= 5))
        return "the KI concentration must be above 0 and at most 5 %";
    if (buffer && !(*buffer >= 0 && *buffer <= 1))
        return "the buffer fraction must be 0 to 1";
    if (tauFast && !(*tauFast >= 0 && *tauFast <= 120))
        return "the fast time constant must be 0 (no lag) to 120 s";
    if (!(tauSlow >= 60 && tauSlow <= 20000))
        return "the slow time constant must be 60 to 20000 s";
    if (beta && !(*beta >= 0 && *beta <= 0.2))
        return "the slow share beta must be 0 to 0.2";
    if ((calA && !(std::fabs(*calA) <= 50)) || (calB && !(std::fabs(*calB) <= 20)))
        return "the calibration coefficients must be within 50 % (a) and 20 % (b)";
    if (!(noise >= 0 && noise <= 0.1))
        return "the cell noise must be 0 to 0.1 uA";
    return {};
}

bool responseConstants(CellFamily f, double ki, double buffer, ResponseConstants& out)
{
    for (const ResponseRow& r : ResponseTable)
        if (r.family == f && std::fabs(r.kiPct - ki) < 1e-6 && std::fabs(r.buffer - buffer) < 1e-6) {
            out = r.constants;
            return true;
        }
    return false;
}

double CellSetup::slowStart() const { return (ib1 - ib0) * std::exp(-ib1Delay / tauSlow); }

double CellSetup::flowFactor() const
{
    if (!moistening)
        return 1;
    const double tK = flowTempC + 273.15;
    const double heating = 2 / tK;
    const double drying = (1 - flowHumidity / 100) * saturationPressure(flowTempC) / flowPressure;
    return 1 + heating - drying;
}

std::string solutionText(double kiPct, double buffer)
{
    const char* b = buffer == 1 ? "full buffer" : buffer == 0.5 ? "half buffer" : buffer == 0.1 ? "1/10 buffer"
                                                : buffer == 0   ? "no buffer"
                                                                : nullptr;
    return formatFixed(kiPct, 1) + "% KI, " + (b ? std::string(b) : formatFixed(buffer, 2) + " buffer");
}

std::string CellSetup::solutionText() const { return sim::solutionText(kiPct, buffer); }

namespace {

// Each family's reference solution: 6A with 1.0 % KI full buffer, Z with
// 0.5 % KI half buffer.
void chooseSolution(const CellOptions& o, CellSetup& c)
{
    const bool sixA = c.family == CellFamily::SixA;
    c.kiPct = o.kiPct.value_or(sixA ? 1.0 : 0.5);
    c.buffer = o.buffer.value_or(sixA ? 1.0 : 0.5);
}

} // namespace

std::string cellOptionsProblem(const CellOptions& o)
{
    if (std::string problem = o.validate(); !problem.empty())
        return problem;
    if (o.tauFast && o.beta && o.calA && o.calB)
        return {};
    for (CellFamily f : {CellFamily::SixA, CellFamily::Z}) {
        if (o.family && *o.family != f)
            continue;
        CellSetup c;
        c.family = f;
        chooseSolution(o, c);
        if (!responseConstants(f, c.kiPct, c.buffer, c.response))
            return std::string("no reaction constants for ") + familyModel(f) + " with " + c.solutionText() +
                   ": give --tau-fast, --beta, --cal-a and --cal-b";
    }
    return {};
}

void makeCell(const CellOptions& o, CellFamily family, double surfaceP, Random& rng, CellSetup& c)
{
    c.family = o.family.value_or(family);
    chooseSolution(o, c);
    responseConstants(c.family, c.kiPct, c.buffer, c.response);
    c.response.tauFast = o.tauFast.value_or(c.response.tauFast);
    c.response.beta = o.beta.value_or(c.response.beta);
    c.response.calA = o.calA.value_or(c.response.calA);
    c.response.calB = o.calB.value_or(c.response.calB);
    c.tauSlow = o.tauSlow;
    c.thermistor = o.thermistor;
    c.moistening = o.moistening;
    // Preparation: the backgrounds as the packet resolution reads them.
    c.ib0 = quantize(rng.uniform(0.01, 0.04), 0.001);
    c.ib1 = c.ib0 + quantize(rng.uniform(0.02, 0.06), 0.001);
    c.ib1Delay = std::round(rng.uniform(1200, 3600));
    c.ib2 = quantize(c.ib0 + c.slowStart(), 0.001);
    c.flowTempC = quantize(rng.uniform(20, 26), 0.1);
    c.flowHumidity = quantize(rng.uniform(25, 55), 0.1);
    c.flowPressure = quantize(surfaceP, 0.1);
}

double pumpTemperatureOffset(ThermistorPlace place, double p)
{
    p = std::max(p, 3.0);
    const double lp = std::log10(p);
    return placeOffset(place, lp, p) + 3.9 - 0.8 * lp;
}

double pumpEfficiencyFactor(CellFamily f, double p)
{
    const double* v = f == CellFamily::SixA ? Komhyr1986 : Komhyr1995;
    if (p > EfficiencyP[0])
        return 1;
    const std::size_t n = std::size(EfficiencyP);
    if (p <= EfficiencyP[n - 1])
        return v[n - 1];
    std::size_t j = 1;
    while (EfficiencyP[j] > p)
        ++j;
    const double w = std::log10(EfficiencyP[j - 1] / p) / std::log10(EfficiencyP[j - 1] / EfficiencyP[j]);
    return v[j - 1] + w * (v[j] - v[j - 1]);
}

double saturationPressure(double tC) { return std::pow(10.0, 7.5 * tC / (tC + 237.3) + 0.7858); }

double settledFastCurrent(const CellSetup& c, double pO3, double p, double tPumpK, double flow)
{
    const double groundFlow = 100.0 / flow * c.flowFactor();        // cm3/s
    const double pumpFlow = groundFlow / pumpEfficiencyFactor(c.family, p);
    const double ideal = pO3 * pumpFlow / (EquationConstant * tPumpK); // photometer-equivalent current
    const double excess = c.response.calA + c.response.calB * std::log10(std::max(p, 1e-3));
    return ideal * (1 + excess / 100);
}

CellResponse::CellResponse(const CellSetup& cell, double settledFast)
    : cell_(cell), fast_(settledFast), slow_(cell.slowStart()), input_(settledFast)
{
}

void CellResponse::advance(double dt, double settledFast)
{
    if (dt <= 0)
        return;
    // Fast pathway: a first-order lag of the settled current, exact for an
    // input linear over the step.
    const double tau = cell_.response.tauFast;
    if (tau > 0) {
        const double e = std::exp(-dt / tau);
        const double slope = settledFast - input_;
        fast_ = fast_ * e + input_ * (1 - e) + slope - slope * tau / dt * (1 - e);
    } else {
        fast_ = settledFast;
    }
    input_ = settledFast;
    // Slow pathway: a lag of beta times the ozone current, which holds the
    // slow current itself (solved for the end of the step).
    const double k = 1 - std::exp(-dt / cell_.tauSlow);
    const double beta = cell_.response.beta;
    slow_ = (beta * fast_ * k + slow_ * (1 - k)) / (1 - beta * k);
}

} // namespace lumo::sim
