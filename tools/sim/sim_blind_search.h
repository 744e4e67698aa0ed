// The blind search over cut schedules: every one-cut schedule (each cuttable constraint at
// every time of a grid) and every two-cut schedule of two different constraints (on a
// coarser grid), each run as a player's cuts would run it, counting those that solve the
// level. The difficulty report counts them to see how often luck solves a level; the
// level generator runs the same search over a longer time, keeps the schedules that solve
// or catch a ball, and searches again after those that only catch one.
//
// Every schedule may follow a fixed prefix of cuts (the generator's partial solutions);
// the searched cuts then come at or after `from`. Schedules start from the world kept by
// the prefix's own run at their first cut; pairs whose second cut comes later go on from
// their first cut's run; a run decided before the second cut decides every pair that goes
// on from it.
#pragma once

#include "physics/world.h"
#include "tools/sim/sim_cuts.h"
#include "tools/sim/sim_kept_run.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct sim_tally {
    int32_t tried = 0;
    int32_t hits = 0;
};

struct sim_blind_options {
    int32_t single_grid = 15;  // steps between the cut times of the one-cut schedules
    int32_t pair_grid = 45;    // the same for the two-cut schedules
    int32_t from = 0;          // the searched cuts come at or after this step
    int32_t horizon = 0;       // ... and before this one
    int32_t max_steps = 0;     // every run ends here at the latest
    bool pairs = true;         // search the two-cut schedules as well
    bool collect = false;      // keep the schedules that solve, or catch a ball and go on
};

// A searched schedule worth keeping: it solves the level, or it ends undecided with fewer
// balls left than the prefix alone leaves (a ball caught, none lost).
struct sim_found_schedule {
    std::vector<sim_cut> cuts;  // the searched cuts only, in step order
    bool solved = false;
    int32_t decided_step = -1;  // when it solved
    int32_t balls_left = 0;     // balls still in play when its run ended
};

class sim_blind_search {
public:
    // `start` (a level at step 0) must outlive the search; `cuttable` lists the constraints
    // the search cuts, ascending.
    sim_blind_search(const v_world& start, std::vector<sim_cut> prefix, std::vector<int32_t> cuttable,
                     const sim_blind_options& options);
    sim_blind_search(const sim_blind_search&) = delete;
    sim_blind_search& operator=(const sim_blind_search&) = delete;

    // The prefix's own run, kept at every cut time of either grid: the run every schedule
    // branches from. Runs before the search's tasks (it may be one task of a batch).
    void prepare();
    // The search, a task for each first cut and time (the earliest, longest, first); each
    // task writes only its own results. After prepare().
    void add_tasks(std::vector<std::function<void()>>& tasks);
    // Adds up what the tasks found, once they have all run.
    void finish();

    // The prefix's run alone (after prepare()).
    const sim_run_result& prefix_result() const;

    sim_tally singles;                      // one-cut schedules: tried, solved
    sim_tally pairs;                        // two-cut schedules: tried, solved
    std::vector<sim_found_schedule> found;  // with `collect`: by first cut time, then constraint

private:
    struct hits_from;
    void search_from(size_t i, size_t j);

    const v_world& start;
    std::vector<sim_cut> prefix;
    std::vector<int32_t> cuttable;
    sim_blind_options options;
    std::vector<int32_t> single_times, pair_times, first_times;
    std::unique_ptr<sim_kept_run> base;
    std::vector<sim_tally> single_hits, pair_hits;             // per task
    std::vector<std::vector<sim_found_schedule>> task_found;  // per task
    int32_t base_balls = 0;
};

// The colored balls still in play in a world.
int32_t sim_balls_in_play(const v_world& world);
