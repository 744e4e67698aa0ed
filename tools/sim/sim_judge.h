// What the level generator asks of a candidate before it keeps it, in the order it asks:
// the level loads cleanly onto the playfield; nothing moves much before the first cut;
// it is not solved without cuts; few blind single cuts solve it; a cut schedule found by
// the blind search (over a longer time than the report's, and again after the schedules
// that catch a ball without losing one) solves it; every cut of that solution has a window
// a person can hit; and its measured rating lies in the range asked for. The last rule,
// that it differs from every shipped and kept level, is the generator's (sim_signature.h).
#pragma once

#include "physics/world.h"
#include "tools/sim/sim_difficulty.h"
#include "tools/sim/sim_templates.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

enum class sim_reject : int32_t {
    none,
    placement,    // a piece found no place
    load,         // entries dropped on load
    outside,      // something starts outside the playfield
    unsettled,    // something moves before the first cut
    blows_up,     // positions run away
    idle,         // solved without cuts
    single_cuts,  // too many blind single cuts solve it
    unsolved,     // no schedule found
    window,       // a cut of every solution found is too hard to time
    difficulty,   // rated outside the range asked for
    similar,      // too like a shipped or kept level
    count
};

// The rule a rejection stands for, as the summary prints it ("moves before the first cut").
const char* sim_reject_text(sim_reject r);

struct sim_judge_options {
    sim_generate_rules rules;
    int32_t min_rating = 1, max_rating = 8;
    // When set and true, the search gives up between schedules (the generator has kept
    // enough); what it gives then is not a judgement.
    const std::atomic<bool>* stop = nullptr;
};

struct sim_judgement {
    sim_reject reject = sim_reject::none;
    std::string detail;     // what broke the rule
    sim_solution solution;  // of a kept level
    sim_difficulty difficulty;
    int32_t rating = 0;
    double single_share = 0.0;  // of the search's one-cut schedules that solve it
    int64_t schedules = 0;      // schedules the search ran, for the tool's timing
};

// Judges a level built at step 0 in play mode. `moving_nodes` and `moving_bodies` (indices
// into its free node and body lists) move on purpose and are left out of the settling test.
// Runs on the calling thread only; the caller keeps the sound hooks silent.
sim_judgement sim_judge_candidate(const v_world& world, const std::vector<int32_t>& moving_nodes,
                                  const std::vector<int32_t>& moving_bodies, const sim_judge_options& options);
