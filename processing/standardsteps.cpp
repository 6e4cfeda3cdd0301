#include "standardsteps.h"

#include <cmath>

namespace lumo {

namespace {

bool near(double a, double b) { return std::fabs(a - b) < 0.05; }

constexpr double AbsorptionTopP = 100.0;  // hPa
constexpr double AbsorptionBaseP = 1050.0; // hPa

// Z 1.0 % full buffer to Z 0.5 % half buffer (Deshler et al. 2017).
double zFullToHalf(double p) { return p > TransferKneeP ? 0.96 : 0.90 + 0.041 * std::log10(p); }
// Z 1.0 % full buffer to 6A 1.0 % full buffer.
double zToSixA(double p) { return p > TransferKneeP ? ZToSixAHighFactor : 0.764 + 0.133 * std::log10(p); }

double floorP(double p) { return p > PumpTempFloorP ? p : PumpTempFloorP; }

// Built-in tables, pressures in hPa; each starts at the ground node.
constexpr double Komhyr86P[] = {GroundNodeP, 100, 50, 30, 20, 10, 7, 5, 3};
constexpr double Komhyr86C[] = {1.0, 1.007, 1.018, 1.022, 1.032, 1.055, 1.070, 1.092, 1.124};
constexpr double Komhyr86S[] = {0.0, .005, .006, .008, .009, .010, .012, .014, .025};
constexpr double Komhyr95C[] = {1.0, 1.007, 1.018, 1.029, 1.041, 1.066, 1.087, 1.124, 1.241};
constexpr double Komhyr95S[] = {0.0, .005, .005, .008, .012, .023, .024, .024, .043};
// NOAA average (Johnson 2002) as the Boulder files carry it; no 7 hPa node.
constexpr double NoaaP[] = {GroundNodeP, 200, 100, 50, 30, 20, 10, 5, 3, 2};
constexpr double NoaaC[] = {1.0, 1.020, 1.033, 1.051, 1.070, 1.091, 1.146, 1.261, 1.306, 1.329};
// JMA (Nakano & Morofuji 2023, attribution assumed). The 200 hPa sigma is
// taken as the 100 hPa one and the 4 hPa one between its neighbours (assumed).
constexpr double JmaP[] = {GroundNodeP, 200, 100, 50, 30, 20, 10, 7, 5, 4, 3};
constexpr double JmaC[] = {1.0, 1.012, 1.022, 1.038, 1.055, 1.076, 1.133, 1.180, 1.239, 1.288, 1.361};
constexpr double JmaS[] = {0.0, .009, .009, .011, .014, .016, .022, .028, .035, .0425, .050};

constexpr PumpEffTable Komhyr1986Table{Komhyr86P, Komhyr86C, Komhyr86S, 9};
constexpr PumpEffTable Komhyr1995Table{Komhyr86P, Komhyr95C, Komhyr95S, 9};
constexpr PumpEffTable NoaaTable{NoaaP, NoaaC, nullptr, 10};
constexpr PumpEffTable JmaTable{JmaP, JmaC, JmaS, 11};

} // namespace

std::optional<double> absorptionEfficiency(double volumeCm3, double p)
{
    if (near(volumeCm3, 3.0))
        return 1.0;
    if (!near(volumeCm3, 2.5))
        return std::nullopt;
    if (p <= AbsorptionTopP)
        return 1.0;
    return 1.0044 - 4.4e-5 * (p < AbsorptionBaseP ? p : AbsorptionBaseP);
}

std::optional<Transfer> transferFactor(SondeFamily family, double ki, double buffer, TransferTo to, double p)
{
    const bool z = family == SondeFamily::Z, sixA = family == SondeFamily::SixA;
    const bool full10 = near(ki, 1.0) && near(buffer, 1.0);
    const bool half05 = near(ki, 0.5) && near(buffer, 0.5);
    if (to == TransferTo::None)
        return Transfer{1.0, StoichiometrySigma};
    if (to == TransferTo::Z05) {
        if (z && half05)
            return Transfer{1.0, StoichiometrySigma};
        if (z && full10)
            return Transfer{zFullToHalf(p), TransferSigma};
        return std::nullopt;
    }
    if (sixA && full10)
        return Transfer{1.0, StoichiometrySigma};
    if (z && full10)
        return Transfer{zToSixA(p), TransferSigma};
    if (sixA && half05)
        return Transfer{1.0 / zFullToHalf(p), TransferSigma};
    return std::nullopt;
}

double pumpInternalOffsetK(double p) { return pumpInternalOffsetK(p, std::log10(floorP(p))); }
double pumpInternalOffsetK(double, double lp) { return 3.9 - 0.8 * lp; }

double thermistorOffsetK(Thermistor place, double p) { return thermistorOffsetK(place, p, std::log10(floorP(p))); }

double thermistorOffsetK(Thermistor place, double p, double lp)
{
    p = floorP(p);
    switch (place) {
    case Thermistor::Box:
        return p >= 40 ? 7.43 - 0.393 * lp : p > 6 ? 2.7 + 2.6 * lp : 4.5;
    case Thermistor::Taped:
        return p > 70 ? 20.6 - 6.7 * lp : p >= 15 ? 8.25 : 3.25 + 4.25 * lp;
    case Thermistor::Glued:
        return p > 40 ? 6.4 - 2.14 * lp : 3.0;
    case Thermistor::Internal:
    case Thermistor::Unknown:
        break;
    }
    return 0;
}

double thermistorSigmaK(Thermistor place)
{
    switch (place) {
    case Thermistor::Box:
        return 1.0;
    case Thermistor::Taped:
    case Thermistor::Glued:
        return 0.5;
    case Thermistor::Internal:
        return 0;
    case Thermistor::Unknown:
        break;
    }
    return UnknownPlaceSigmaK;
}

double saturationVapourHpa(double t) { return std::pow(10.0, 7.5 * t / (t + 237.3) + 0.7858); }

double moisteningFactor(double tLab, std::optional<double> rhLab, double pLab)
{
    const double heating = 2.0 / (tLab + 273.15); // c_PL
    const double drying = rhLab ? (1 - *rhLab / 100) * saturationVapourHpa(tLab) / pLab : 0.0; // c_PH
    return 1 + heating - drying;
}

const PumpEffTable* builtInPumpTable(PumpTable t)
{
    switch (t) {
    case PumpTable::Komhyr1986:
        return &Komhyr1986Table;
    case PumpTable::Komhyr1995:
        return &Komhyr1995Table;
    case PumpTable::Noaa:
        return &NoaaTable;
    case PumpTable::Jma:
        return &JmaTable;
    case PumpTable::Auto:
    case PumpTable::File:
        break;
    }
    return nullptr;
}

double pumpCorrection(const PumpEffTable& t, double p, double* sigma)
{
    double logs[MaxPumpNodes];
    const int n = t.n < MaxPumpNodes ? t.n : MaxPumpNodes;
    for (int i = 0; i < n; ++i)
        logs[i] = std::log10(t.p[i]);
    return pumpCorrection(t, logs, p, std::log10(p), sigma);
}

double pumpCorrection(const PumpEffTable& t, const double* logs, double p, double lp, double* sigma)
{
    const auto result = [&](double c, double s) {
        if (sigma)
            *sigma = s;
        return c;
    };
    if (t.n < 1 || !(p < t.p[0]))
        return result(t.n < 1 ? 1.0 : t.c[0], t.sigma && t.n > 0 ? t.sigma[0] : 0);
    int j = 1;
    while (j < t.n && t.p[j] > p)
        ++j;
    if (j == t.n)
        return result(t.c[t.n - 1], t.sigma ? t.sigma[t.n - 1] : 0);
    const double f = (logs[j - 1] - lp) / (logs[j - 1] - logs[j]);
    const double s = t.sigma ? t.sigma[j - 1] + f * (t.sigma[j] - t.sigma[j - 1]) : 0;
    return result(t.c[j - 1] + f * (t.c[j] - t.c[j - 1]), s);
}

std::optional<CellConstants> cellConstants(SondeFamily family, double ki, double buffer)
{
    const bool z = family == SondeFamily::Z;
    if (family == SondeFamily::Unknown)
        return std::nullopt;
    const double tau = z ? 25.0 : 21.0;
    if (near(ki, 0.5) && near(buffer, 0.5))
        return z ? CellConstants{tau, 0.017, 9.67, -2.65} : CellConstants{tau, 0.017, 6.43, -2.81};
    if (near(ki, 1.0) && near(buffer, 1.0))
        return z ? CellConstants{tau, 0.047, 14.94, -3.68} : CellConstants{tau, 0.051, 8.79, -2.31};
    if (near(ki, 1.0) && std::fabs(buffer - 0.1) < 0.01)
        return z ? CellConstants{tau, 0.023, -3.58, 1.31} : CellConstants{tau, 0.023, -1.60, -0.64};
    return std::nullopt;
}

double calibratedCurrent(const CellConstants& c, double iFast, double p)
{
    return calibratedCurrentLog(c, iFast, std::log10(p));
}

double calibratedCurrentLog(const CellConstants& c, double iFast, double lp) { return iFast * 100 / (100 + c.a + c.b * lp); }

} // namespace lumo
