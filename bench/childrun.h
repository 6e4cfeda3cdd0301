#pragma once

// Runs a program as a child process, its output thrown away, and measures
// it: wall time, CPU time and peak resident memory. For benchmarks that set
// the command-line tools side by side with each other or with system tools.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace lumo::bench {

struct ChildRun {
    bool ok = false;       // started and exited with a code below 2
    double wallMs = 0;
    double cpuMs = 0;      // user and system
    double peakRssMb = 0;  // MiB
};

inline ChildRun runChild(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.peakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0; // reported in KiB
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) < 2;
    return run;
}

} // namespace lumo::bench
