#pragma once

namespace lumo {

// One-sigma uncertainties of the terms of the ozonesonde equation, combined
// by first-order propagation of independent terms. The defaults are the
// typical values of the reprocessed sonde records (SHADOZ: Witte et al. 2018,
// JGR 123, 3243; NOAA: Sterling et al. 2018, AMT 11, 3661); a station
// overrides them in the preferences, section [uncertainty].
struct UncertaintySettings {
    double currentPct = 1.0;     // cell current, % of the reading
    double backgroundUa = 0.02;  // background current, uA absolute
    double pumpTempK = 0.5;      // pump temperature, K
    double flowPct = 1.0;        // pump flow rate, %
    double humidityPct = 0.5;    // humidity correction of the flow, %
    double pumpEffPct100 = 1.0;  // pump efficiency from the ground up to 100 hPa, %
    double pumpEffPct10 = 3.0;   // pump efficiency at 10 hPa (linear in log p from 100 hPa), %
    double pumpEffPct5 = 5.0;    // pump efficiency at 5 hPa and above, %
    double conversionPct = 3.0;  // conversion efficiency of the cell, %
};

} // namespace lumo
