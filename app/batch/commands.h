#pragma once

namespace CLI {
class App;
}

namespace lumo::batch {

// Exit codes of lumo-batch.
constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

// Each subcommand adds itself to the program's argument parser. Its callback
// runs once the command line has been parsed and stores the program's exit
// code in `exitCode`.
void addDecodeCommand(CLI::App& app, int& exitCode);
void addConfigCommand(CLI::App& app, int& exitCode);
void addTableCommand(CLI::App& app, int& exitCode);
void addProcessCommand(CLI::App& app, int& exitCode);

// Parses the command line, which runs the chosen subcommand, and returns the
// exit code: the subcommand's, or ExitUsage (message on stderr) for a usage
// error; --help prints the help and returns ExitOk.
int runCommandLine(CLI::App& app, int argc, char** argv, const int& exitCode);

} // namespace lumo::batch
