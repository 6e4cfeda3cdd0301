#pragma once

namespace lumo {

// One ozonesonde of the chain; an empty serial number marks a position not
// in use.
struct O3SondeCfg {
    char sn[21] = {};
    double bkg = 0;  // cell background current without ozone, uA
    double flow = 0; // pump flow rate, s per 100 ml
};

} // namespace lumo
