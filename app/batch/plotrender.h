#pragma once

#include <string>
#include <vector>

namespace lumo {
class Q5;
}

namespace lumo::batch {

// Pictures of the plot windows for `process --plots`. The command line sees
// only this interface: a build with the plot windows (LUMO_BUILD_GUI) renders
// them offscreen, a core-only build says that it cannot.

// Whether this lumo-batch can render plots at all.
bool plotsAvailable();

// Ozone partial pressure and temperature of every ozonesonde present, wind
// direction and speed.
std::vector<std::string> defaultPlotQuantities();

// The names of a --plot-quantities list that are no quantity (none in a
// build without plots, which refuses --plots anyway).
std::vector<std::string> unknownPlotQuantities(const std::vector<std::string>& quantities);

// Writes DIR/NAME-surface.png, NAME-flight.png, NAME-profile.png and, for a
// flight with GPS winds, NAME-winds.png of a processed flight; `written` gets the paths.
// False with `error` set when a picture cannot be written.
bool renderPlots(Q5& q5, const std::string& dir, const std::string& flightName,
    const std::vector<std::string>& quantities, std::vector<std::string>& written, std::string& error);

// Why --plots cannot be used in this build ("" when it can).
std::string plotsUnavailableReason();

} // namespace lumo::batch
