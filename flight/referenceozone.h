#pragma once

#include <optional>
#include <string>

namespace lumo {

// The range a ground instrument's total ozone can hold (DU); a value
// outside it is a typing error, not a column.
inline constexpr double MinReferenceTotalDu = 100;
inline constexpr double MaxReferenceTotalDu = 700;

// The total ozone a ground instrument measured at the time of the flight,
// from the configuration's "reference" section. Every member is optional;
// text values are kept as written.
struct ReferenceOzone {
    std::optional<double> totalO3; // DU, within the range above
    std::string totalO3Unused;      // the text of a totalO3 that is not such a number ("319 DU", "0")
    std::string instrument;         // e.g. Dobson, Brewer
    std::string model;
    std::string number;
    std::string wlCode;  // wavelength code (Dobson 0 AD ... 9 Brewer)
    std::string obsType; // observation type (0 direct sun ...)
    std::string utcMean; // hh:mm:ss, UTC

    bool given() const
    {
        return totalO3 || !instrument.empty() || !model.empty() || !number.empty() || !wlCode.empty()
            || !obsType.empty() || !utcMean.empty();
    }
};

} // namespace lumo
