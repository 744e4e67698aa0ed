// The measured difficulty of a level, from its solution: how many cuts it takes, how
// early or late each cut may come and still solve it, how many extra wrong cuts spoil it,
// and how many one- and two-cut schedules found by a blind search over every cuttable
// constraint and a grid of times solve it. Ratings are set from these figures; a level
// that a random short schedule solves shows up here as one with an unintended way out.
#pragma once

#include "app/step.h"
#include "tools/sim/sim_blind_search.h"
#include "tools/sim/sim_cuts.h"
#include "tools/sim/sim_level.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct sim_difficulty_options {
    int32_t single_grid = 15;  // steps between the cut times of the one-cut search
    int32_t pair_grid = 45;    // the same for the two-cut search and the wrong cuts
    // A searched schedule counts when it solves at most this long after the solution does.
    int32_t slack_steps = 5 * steps_per_second;
    // A window is followed at most this far on either side of the solution's step.
    int32_t window_reach = 3 * steps_per_second;
    int32_t threads = 0;  // threads the schedules run on (0: one per core)
};

// The span of steps at which one cut of the solution, the other cuts held, still solves
// the level: every step from first to last does but `misses` lone ones (runs of at most
// four failing steps between solving ones, where a ball clips a rim by chance).
struct sim_cut_window {
    sim_cut cut;
    int32_t first = 0;
    int32_t last = 0;
    int32_t misses = 0;
    bool open = false;  // the span reached window_reach on a side: "any time"
    // The same span when the later cuts of the solution move with this one, as a player
    // times each cut by what the one before it set in motion, re-timing them together by
    // up to 30 steps either way (the last cut: as above).
    int32_t follow_steps = 0;
    bool follow_open = false;

    int32_t steps() const { return last - first + 1; }
};

// A constraint the solution leaves alone, cut once more at the grid times before the
// solution's verdict: how many of those times spoil the solution.
struct sim_wrong_cut {
    int32_t index = 0;
    sim_tally spoiled;
};

struct sim_difficulty {
    int32_t balls = 0;
    int32_t pots = 0;
    int32_t cuttable = 0;     // cuttable constraints of the level
    int32_t cuts = 0;         // cuts of the solution
    int32_t solved_step = 0;  // when the solution solves the level
    int32_t horizon = 0;      // the searches cut at grid times below this step
    std::vector<sim_cut_window> windows;
    std::vector<sim_wrong_cut> wrong;
    sim_tally singles;  // one-cut schedules: tried, solved
    sim_tally pairs;    // two-cut schedules of two different constraints: tried, solved

    sim_tally wrong_total() const;
    // The narrowest window in steps (0 without cuts).
    int32_t narrowest() const;
};

// Measures a level against its solution. False (with `error`) when the level does not
// load or the solution does not solve it.
bool sim_measure_difficulty(sim_context& ctx, const std::string& level, const sim_solution& solution,
                            const sim_difficulty_options& options, sim_difficulty& out, std::string& error);
// The same for a level already built (at step 0, in play mode). The worlds it runs call the
// sound hooks: the caller keeps them silent (v_set_sounds(nullptr)) while it measures.
bool sim_measure_world_difficulty(const v_world& world, const sim_solution& solution,
                                  const sim_difficulty_options& options, sim_difficulty& out,
                                  std::string& error);

// The difficulty in half stars (1 to 8) that the measurements suggest: more cuts, more
// balls, narrower windows and wrong cuts that spoil make it harder; a level that random
// one- or two-cut schedules solve often is easier than its solution looks.
int32_t sim_rate_difficulty(const sim_difficulty& d);

// The report: a table of one row per level (the rating given by the worlds data, 0 when
// none, beside the measured one), and the detail of one level.
void sim_print_difficulty_header(std::FILE* out);
void sim_print_difficulty_row(std::FILE* out, const std::string& name, int32_t given,
                              const sim_difficulty& d);
void sim_print_difficulty_detail(std::FILE* out, const sim_difficulty& d);
