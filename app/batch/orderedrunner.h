#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace lumo::batch {

// Runs numbered tasks 0..count-1 on worker threads and finishes them on the
// calling thread in number order, so that whatever `finish` prints comes out
// as a run on one thread would print it.
//
// `work(i)` runs on a worker; `finish(i)` runs on the calling thread once
// work(i) has returned and every task before i has been finished. At most
// `window` tasks are started ahead of the next one to finish, which bounds
// what waits in memory. `after[i]`, when not NoTask, names an earlier task
// whose work must be done before task i starts (two tasks writing the same
// files). With one thread everything runs on the calling thread, task after
// task.
//
// An exception from work(i) is thrown on the calling thread when task i's
// turn to finish comes, after the workers have stopped; tasks not yet started
// then never start. An exception from finish(i) likewise.
class OrderedRunner {
public:
    static constexpr std::size_t NoTask = static_cast<std::size_t>(-1);

    OrderedRunner(unsigned threads, std::size_t window) : threads_(threads < 1 ? 1 : threads), window_(window) {}

    void run(std::size_t count, const std::vector<std::size_t>& after, const std::function<void(std::size_t)>& work,
        const std::function<void(std::size_t)>& finish) const;

private:
    unsigned threads_;
    std::size_t window_;
};

} // namespace lumo::batch
