#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/testfiles.h"

namespace lumo::test {

struct BatchResult {
    int exitCode = -1;
    std::string out;
    std::string err;

    // stdout split into lines (without line ends).
    std::vector<std::string> lines() const
    {
        std::vector<std::string> v;
        std::istringstream in(out);
        for (std::string l; std::getline(in, l);)
            v.push_back(l);
        return v;
    }
};

// Runs lumo-batch with the arguments (each quoted for the shell) and collects
// exit code, stdout and stderr.
// As runBatch, but the program is killed after `seconds` (exit code 124): a
// test of something that might hang ends by itself.
inline BatchResult runBatchWithin(const TempDir& dir, const std::vector<std::string>& args, int seconds);

inline BatchResult runBatch(const TempDir& dir, const std::vector<std::string>& args)
{
    return runBatchWithin(dir, args, 0);
}

inline BatchResult runBatchWithin(const TempDir& dir, const std::vector<std::string>& args, int seconds)
{
    std::string cmd = seconds > 0 ? "timeout -k 5 " + std::to_string(seconds) + " '" LUMO_BATCH_EXE "'"
                                  : std::string("'" LUMO_BATCH_EXE "'");
    for (const std::string& a : args)
        cmd += " '" + a + "'";
    const std::string errFile = dir.file("stderr.txt");
    cmd += " 2>'" + errFile + "'";
    BatchResult r;
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = readFile(errFile);
    return r;
}

// Member names of a JSON object in the order they were printed.
inline std::vector<std::string> keysOf(const nlohmann::ordered_json& j)
{
    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it)
        keys.push_back(it.key());
    return keys;
}

} // namespace lumo::test
