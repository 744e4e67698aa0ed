// Independent tasks run on every core: a batch of work that the difficulty searches split
// into pieces that share nothing but read-only worlds.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The threads to use when asked for `wanted` (0: one per core), at least one.
int32_t sim_thread_count(int32_t wanted);

// Runs every task once on up to `threads` threads (the caller's among them) and returns
// when all are done. Tasks are taken in order as threads come free; each must write only
// its own results, so what they give does not depend on which thread ran them.
void sim_run_tasks(const std::vector<std::function<void()>>& tasks, int32_t threads);
