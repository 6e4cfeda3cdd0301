#pragma once

#include "missing.h"

namespace lumo {

// A lapse-rate tropopause of the ascent; unknown members are Missing.
struct Tropopause {
    double p = Missing;      // hPa
    double height = Missing; // m
    double t = Missing;      // degC
    // False when the sounding ends less than the 2-km test layer above it.
    bool confirmed = false;

    bool found() const { return p != Missing; }
};

} // namespace lumo
