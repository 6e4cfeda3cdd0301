#include "flightimport.h"

#include "flight/q5.h"

namespace lumo {

void applyImportRules(Q5& q)
{
    // Both instrument boxes start checked; unchecking one forces the other on.
    if (!q.rsPrInst) {
        q.rsGpsInst = 1;
    } else if (!q.rsGpsInst) {
        q.rsPrInst = 1;
    }
    // Launch detection and surface reference follow the installed sensors.
    q.lDetGps = q.rsPrInst ? 0 : 1;
    q.sfcUseStd = q.rsPrInst ? 0 : 1;
    applySurfaceCorrection(q, false);
}

void applySurfaceCorrection(Q5& q, bool apply)
{
    q.sfcCorrP = apply ? q.sfcP - q.stdP : 0;
    q.sfcCorrT = apply ? q.sfcT - q.stdT : 0;
    q.sfcCorrU = apply ? q.sfcU - q.stdU : 0;
}

ImportResult importFlight(Q5& q, const std::string& rawPath, const std::string& cfgPath)
{
    ImportResult result;
    q.clearConfig();
    if (!q.ReadConfig(cfgPath)) {
        result.error = "Error loading flight config, load aborted.";
        return result;
    }
    result.configRead = true;
    applyImportRules(q);
    if (!q.ReadRaw(rawPath))
        result.error = "Error loading flight data, load aborted.";
    return result;
}

} // namespace lumo
