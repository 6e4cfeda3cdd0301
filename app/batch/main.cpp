#include <CLI/CLI.hpp>

#include "commands.h"

int main(int argc, char** argv)
{
    CLI::App app{"Lumo batch tool for ozone soundings", "lumo-batch"};
    app.require_subcommand(1);
    int exitCode = lumo::batch::ExitOk;

    // One line per subcommand.
    lumo::batch::addDecodeCommand(app, exitCode);
    lumo::batch::addConfigCommand(app, exitCode);
    lumo::batch::addTableCommand(app, exitCode);
    lumo::batch::addProcessCommand(app, exitCode);

    return lumo::batch::runCommandLine(app, argc, argv, exitCode);
}
