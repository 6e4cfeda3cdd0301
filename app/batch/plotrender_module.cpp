// lumo-batch built with the plot windows: the pictures come from the plot
// module beside the program, loaded on first use.
#include "plotrender.h"

#include <dlfcn.h>

#include <filesystem>

#include "plotmodule.h"

namespace lumo::batch {

namespace {

struct LoadedModule {
    const PlotModule* module = nullptr;
    std::string problem; // why it could not be loaded
};

std::string modulePath()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ((ec ? std::filesystem::path(".") : exe.parent_path()) / LUMO_PLOT_MODULE).string();
}

// Loaded once and kept for the rest of the program.
const LoadedModule& plotModule()
{
    static const LoadedModule loaded = [] {
        LoadedModule m;
        const std::string path = modulePath();
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            m.problem = "--plots: cannot load the plot module " + path + ": " + (why ? why : "unknown reason");
            return m;
        }
        using Entry = const PlotModule* (*)();
        const auto entry = reinterpret_cast<Entry>(dlsym(handle, PlotModuleEntry));
        m.module = entry ? entry() : nullptr;
        if (!m.module)
            m.problem = "--plots: " + path + " is not lumo-batch's plot module";
        return m;
    }();
    return loaded;
}

} // namespace

bool plotsAvailable() { return plotModule().module != nullptr; }

std::string plotsUnavailableReason() { return plotModule().problem; }

std::vector<std::string> defaultPlotQuantities()
{
    return plotsAvailable() ? plotModule().module->defaultQuantities() : std::vector<std::string>{};
}

std::vector<std::string> unknownPlotQuantities(const std::vector<std::string>& quantities)
{
    return plotsAvailable() ? plotModule().module->unknownQuantities(quantities) : std::vector<std::string>{};
}

bool renderPlots(Q5& q5, const std::string& dir, const std::string& flightName,
    const std::vector<std::string>& quantities, std::vector<std::string>& written, std::string& error)
{
    if (!plotsAvailable()) {
        error = plotsUnavailableReason();
        return false;
    }
    return plotModule().module->render(q5, dir, flightName, quantities, written, error);
}

} // namespace lumo::batch
