#include "orderedrunner.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace lumo::batch {

namespace {

enum class TaskState { Waiting, Running, Done };

// What the workers and the calling thread share, always under `mutex`.
struct Schedule {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<TaskState> state;
    std::vector<std::exception_ptr> failure;
    std::size_t nextToFinish = 0;
    std::size_t limit = 0;  // tasks from here on never start: one before them failed
    bool stopping = false;  // the calling thread is done with the workers
};

} // namespace

void OrderedRunner::run(std::size_t count, const std::vector<std::size_t>& after,
    const std::function<void(std::size_t)>& work, const std::function<void(std::size_t)>& finish) const
{
    const std::size_t workers = threads_ < count ? threads_ : count;
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            work(i);
            finish(i);
        }
        return;
    }
    const std::size_t window = window_ < workers ? workers : window_;

    Schedule s;
    s.state.assign(count, TaskState::Waiting);
    s.failure.resize(count);
    s.limit = count;
    const auto ready = [&](std::size_t i) {
        return s.state[i] == TaskState::Waiting &&
            (i >= after.size() || after[i] == NoTask || s.state[after[i]] == TaskState::Done);
    };
    // The lowest task within the window that may start, or count for none.
    const auto pick = [&]() -> std::size_t {
        const std::size_t end = s.nextToFinish + window < s.limit ? s.nextToFinish + window : s.limit;
        for (std::size_t i = s.nextToFinish; i < end; ++i)
            if (ready(i))
                return i;
        return count;
    };
    const auto allStarted = [&] {
        for (std::size_t i = s.nextToFinish; i < s.limit; ++i)
            if (s.state[i] == TaskState::Waiting)
                return false;
        return true;
    };

    const auto worker = [&] {
        std::unique_lock lock(s.mutex);
        for (;;) {
            std::size_t i = count;
            s.changed.wait(lock, [&] { return s.stopping || allStarted() || (i = pick()) < count; });
            if (i == count)
                return;
            s.state[i] = TaskState::Running;
            lock.unlock();
            std::exception_ptr failure;
            try {
                work(i);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            s.state[i] = TaskState::Done;
            s.failure[i] = failure;
            // The tasks before a failed one still run, so that everything
            // up to it finishes as a run on one thread would have.
            if (failure && i + 1 < s.limit)
                s.limit = i + 1;
            s.changed.notify_all();
        }
    };

    std::vector<std::thread> pool;
    const auto stopAll = [&] {
        {
            const std::lock_guard lock(s.mutex);
            s.stopping = true;
        }
        s.changed.notify_all();
        for (std::thread& t : pool)
            t.join();
    };
    try {
        for (std::size_t w = 0; w < workers; ++w)
            pool.emplace_back(worker);
        for (std::size_t i = 0; i < count; ++i) {
            std::exception_ptr failure;
            {
                std::unique_lock lock(s.mutex);
                s.changed.wait(lock, [&] { return s.state[i] == TaskState::Done; });
                failure = s.failure[i];
            }
            if (failure)
                std::rethrow_exception(failure);
            finish(i);
            {
                const std::lock_guard lock(s.mutex);
                s.nextToFinish = i + 1;
            }
            s.changed.notify_all();
        }
    } catch (...) {
        stopAll();
        throw;
    }
    stopAll();
}

} // namespace lumo::batch
