#pragma once

#include <optional>
#include <string_view>

#include "o3sondecfg.h"

namespace lumo {

class IniFile;
struct FlightConfig;

// The sonde family of a model name ("6A", "5A", "4A"; "Z", "2Z"), else of
// the serial number's prefix; Unknown when neither tells.
SondeFamily sondeFamily(std::string_view model, std::string_view serial);

// KI concentration (%) and buffer fraction of a solution text such as
// "1.0% KI, full buffer", "0.5% KI, half buffer", "1% KI, 1/10 buffer" or
// "2% KI, no buffer"; each unknown when the text does not say it.
void parseSolutionType(std::string_view text, std::optional<double>& kiPct, std::optional<double>& bufferFraction);

// Place of the thermistor from "box", "taped", "glued", "internal" (any case).
Thermistor thermistorPlace(std::string_view text);
// The configuration's word for a place; "unknown" for Unknown.
const char* thermistorName(Thermistor t);

// The keys of [ozonesonde#N] the standard method needs: kiPct,
// bufferFraction (else from solutionType), thermistor, flowPressure,
// ib1Delay, and the family from model or serial. None of them makes a
// configuration unusable; a value that does not read is unknown.
void readSondeInputs(FlightConfig& cfg, const IniFile& ini);

} // namespace lumo
