// Core-only lumo-batch: no plot windows, so --plots is refused.
#include "plotrender.h"

namespace lumo::batch {

bool plotsAvailable() { return false; }

std::vector<std::string> defaultPlotQuantities() { return {}; }

std::vector<std::string> unknownPlotQuantities(const std::vector<std::string>&) { return {}; }

std::string plotsUnavailableReason()
{
    return "--plots: this lumo-batch was built without the plot windows (LUMO_BUILD_GUI=OFF)";
}

bool renderPlots(Q5&, const std::string&, const std::string&, const std::vector<std::string>&,
    std::vector<std::string>&, std::string& error)
{
    error = plotsUnavailableReason();
    return false;
}

} // namespace lumo::batch
