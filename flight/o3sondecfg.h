#pragma once

#include <optional>
#include <string>

namespace lumo {

// The two families of ECC ozonesondes, which differ in pump efficiency,
// response time and transfer functions: the 6A family (models 4A, 5A, 6A)
// and the Z family (models Z, 2Z).
enum class SondeFamily { Unknown, SixA, Z };

// Where the pump-temperature thermistor sits, which sets how far its
// reading lies below the air in the pump.
enum class Thermistor { Unknown, Box, Taped, Glued, Internal };

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

    // Inputs of the standard processing method; unknown when the
    // configuration does not give them.
    SondeFamily family = SondeFamily::Unknown; // from model, else the serial's prefix
    std::optional<double> kiPct;          // KI concentration of the cathode solution, %
    std::optional<double> bufferFraction; // 1 full, 0.5 half, 0.1, 0 no buffer
    Thermistor thermistor = Thermistor::Unknown;
    std::optional<double> flowPressure;   // pressure of the flow measurement, hPa
    std::optional<double> ib1Delay;       // s from the Ib1 reading to the first record
    std::string thermistorText;           // the place as the configuration writes it, e.g. "taped"
};

} // namespace lumo
