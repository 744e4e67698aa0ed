// Runs that share their steps. A schedule is run once with its world kept at chosen steps;
// another schedule that makes the same cuts up to some step goes on from the world kept
// last before that step instead of starting again at step 0. The physics is deterministic,
// so what it gives is what the whole run of that schedule gives, bit for bit. The
// difficulty searches try thousands of schedules that agree on most of their steps.
#pragma once

#include "tools/sim/sim_run.h"

#include <cstdint>
#include <vector>

// The verdict a search counts: failed when a cut was refused or the scene blew up.
int32_t sim_counted_verdict(const sim_run_result& r);

// The first step at which two schedules part: before it they cut the same constraints at
// the same steps (in any order within a step), so their worlds are the same up to it.
// INT32_MAX when they never part.
int32_t sim_parting_step(std::vector<sim_cut> a, std::vector<sim_cut> b);

// Runs a world on from its step count with the cuts of a schedule still to come (those at
// or after that step).
sim_run_result sim_run_on(v_world world, const std::vector<sim_cut>& cuts, int32_t max_steps);

class sim_kept_run {
public:
    // Runs `cuts` (valid ones: a refused cut would end this run where the schedules that
    // share its steps do not end) from `start`, which must outlive this, for at most
    // `max_steps`, keeping the world at each of the `keep` steps (ascending) that the run
    // reaches before it ends.
    sim_kept_run(const v_world& start, std::vector<sim_cut> cuts, int32_t max_steps,
                 const std::vector<int32_t>& keep);
    sim_kept_run(const sim_kept_run&) = delete;
    sim_kept_run& operator=(const sim_kept_run&) = delete;

    const sim_run_result& result() const { return progress.result; }
    // The world kept at `step`, null when none was (the run ended before it, or the step
    // was not asked for).
    const v_world* kept_at(int32_t step) const;

    // The counted verdict of another schedule within `max_steps`, which must not exceed
    // this run's.
    int32_t verdict(const std::vector<sim_cut>& cuts, int32_t max_steps) const;

private:
    const v_world& start;
    sim_run_options options;
    sim_run_progress progress;
    std::vector<v_world> kept;  // ascending steps
};
