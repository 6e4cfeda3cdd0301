#pragma once

#include <string>
#include <vector>

namespace lumo {
class Q5;
}

namespace lumo::batch {

// What the plot module (a shared module built with the plot windows) gives
// lumo-batch. Qt's libraries take longer to load than a summary takes to
// decode, so lumo-batch links only the core and loads this module on the
// first use of --plots. Module and program come from one build.
struct PlotModule {
    std::vector<std::string> (*defaultQuantities)();
    std::vector<std::string> (*unknownQuantities)(const std::vector<std::string>& quantities);
    bool (*render)(Q5& q5, const std::string& dir, const std::string& flightName,
        const std::vector<std::string>& quantities, std::vector<std::string>& written, std::string& error);
};

// The module's one exported symbol: extern "C" const PlotModule* lumoBatchPlotModule().
constexpr const char* PlotModuleEntry = "lumoBatchPlotModule";

} // namespace lumo::batch
