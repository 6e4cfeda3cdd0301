#include "ozonesonde.h"

#include <algorithm>
#include <cmath>


namespace lumo::sim {

std::vector<OzonesondeSetup> makeChain(int count, Random& rng)
{
    std::vector<OzonesondeSetup> chain;
    for (int i = 1; i <= count; ++i) {
        OzonesondeSetup s;
        s.position = i;
        // ECC serial numbers: model and year letters, then a running number.
        static const char* const models[] = {"2Z", "6A", "5A"};
        s.sn = std::string(models[rng.integer(0, 2)]) + std::to_string(rng.integer(10000, 99999));
        s.bkg = quantize(rng.uniform(0.01, 0.08), 0.001);
        s.flow = quantize(rng.uniform(27.0, 31.0), 0.01);
        s.response = 1.0 + rng.normal(0, 0.02);
        s.tp0 = rng.uniform(22, 30);
        s.tpRise = rng.uniform(6, 12);
        s.ip0 = rng.uniform(55, 75);
        s.bat0 = rng.uniform(13.5, 14.5);
        chain.push_back(s);
    }
    return chain;
}

double pumpTemperature(const OzonesondeSetup& s, double t)
{
    return s.tp0 + s.tpRise * (1.0 - std::exp(-std::max(0.0, t) / 4000.0));
}

double cellCurrent(double o3pp, double p, double tp, double bkgRef, double flow, const CorrectionTables& tables)
{
    const double gain = EccConstant * (tp + 273.15) * flow * tables.efficiencyFactor(p);
    return o3pp / gain + bkgRef * tables.backgroundFactor(p);
}

double ozonePartialPressure(double ic, double p, double tp, double bkgRef, double flow, const CorrectionTables& tables)
{
    return (ic - bkgRef * tables.backgroundFactor(p)) * EccConstant * (tp + 273.15) * flow *
           tables.efficiencyFactor(p);
}

} // namespace lumo::sim
