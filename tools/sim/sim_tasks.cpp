// A plain pool of threads for one batch of tasks.
#include "tools/sim/sim_tasks.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

int32_t sim_thread_count(int32_t wanted)
{
    if (wanted > 0)
        return wanted;
    return std::max(1, int32_t(std::thread::hardware_concurrency()));
}

void sim_run_tasks(const std::vector<std::function<void()>>& tasks, int32_t threads)
{
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next.fetch_add(1); i < tasks.size(); i = next.fetch_add(1))
            tasks[i]();
    };
    std::vector<std::thread> helpers;
    size_t wanted = std::min(size_t(std::max(threads, 1)), tasks.size());
    for (size_t i = 1; i < wanted; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running share the work
        }
    }
    work();
    for (std::thread& t : helpers)
        t.join();
}
