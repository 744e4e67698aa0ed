// The checks every shipped level passes: it loads cleanly and fits the playfield, its
// solution solves it, it is not solved without cuts within 30 s, nothing blows up, and
// its recorded solution plays to the end and cuts what the solution cuts.
#pragma once

#include "tools/sim/sim_level.h"

#include <string>
#include <vector>

struct sim_verify_result {
    bool passed = false;
    std::string summary;                 // what was found, for a passing level
    std::vector<std::string> failures;   // one entry per failed check
};

// Verifies the level file `level_path` against its solution file and replay beside it.
sim_verify_result sim_verify_level(sim_context& ctx, const std::string& level_path);
// Every "*.LEVL.txt" under root that has a solution file beside it, sorted.
std::vector<std::string> sim_find_solved_levels(const std::string& root);
