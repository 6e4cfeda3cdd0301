#pragma once

#include <optional>
#include <string>

namespace lumo {

// One ozonesonde of the chain; an empty serial number marks a position not
// in use.
struct O3SondeCfg {
    char sn[21] = {};
    double bkg = 0;  // cell background current without ozone, uA
    double flow = 0; // pump flow rate, s per 100 ml

    // Archive metadata: optional, never needed to process a flight; a
    // missing or unreadable value stays empty or unknown.
    std::string model;        // e.g. "6A"
    std::string solutionType; // e.g. "1.0% KI, full buffer"
    std::optional<double> solutionVolume; // ml
    std::optional<double> ib0, ib1, ib2;  // backgrounds of the preparation, uA
    std::optional<double> flowTemp;       // temperature of the flow measurement, degC
    std::optional<double> flowHumidity;   // humidity of the flow measurement, %
    std::string thermistor;               // where the pump temperature is measured, e.g. "Pump", "Box"
};

} // namespace lumo
