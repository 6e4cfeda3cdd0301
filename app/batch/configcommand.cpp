#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "configjson.h"
#include "fileproblems.h"
#include "flight/q5.h"
#include "flight/readconfig.h"
#include "jsonout.h"

namespace lumo::batch {

namespace {

int runConfig(const std::string& path)
{
    if (const std::string reason = unsafeInputReason(path); !reason.empty()) {
        std::fprintf(stderr, "lumo-batch: %s: %s\n", path.c_str(), reason.c_str());
        return ExitFailed;
    }
    auto q5 = std::make_unique<Q5>();
    q5->clearConfig();
    const unsigned status = readFlightConfig(*q5, path);
    writeJsonLine(stdout, configJson(*q5, status));
    std::fflush(stdout);
    return status == 0 ? ExitOk : ExitFailed;
}

} // namespace

void addConfigCommand(CLI::App& app, int& exitCode)
{
    auto path = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("config", "Read a flight configuration file and print it as one JSON object");
    cmd->add_option("CFGFILE", *path, "flight configuration file (*.cfg)")->required();
    cmd->callback([path, &exitCode] { exitCode = runConfig(*path); });
}

} // namespace lumo::batch
