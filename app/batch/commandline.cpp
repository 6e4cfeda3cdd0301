#include <exception>
#include <iostream>

#include <CLI/CLI.hpp>

#include "commands.h"

namespace lumo::batch {

int runCommandLine(CLI::App& app, int argc, char** argv, const int& exitCode)
{
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help arrives here as well, with exit code 0; it prints to stdout.
        const int code = app.exit(e, std::cout, std::cerr);
        return code == 0 ? ExitOk : ExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "lumo-batch: " << e.what() << '\n';
        return ExitFailed;
    }
    return exitCode;
}

} // namespace lumo::batch
