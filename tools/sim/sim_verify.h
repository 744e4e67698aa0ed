// The checks every shipped level passes: it loads cleanly and fits the playfield, its
// solution solves it, it is not solved without cuts within 30 s, nothing blows up, and
// its recorded solution plays to the end, cuts what the solution cuts, and is exactly what
// recording the solution gives now (a replay left over from older physics or an older
// layout of the level shows a solution that no longer happens).
#pragma once

#include "tools/sim/sim_cuts.h"
#include "tools/sim/sim_level.h"

#include <cstdint>
#include <string>
#include <vector>

struct sim_verify_result {
    bool passed = false;
    std::string summary;                // what was found, for a passing level
    std::vector<std::string> failures;  // one entry per failed check
};

// The checks that need no files beside the level: it loads cleanly and fits the playfield,
// it is not solved without cuts, and the solution's cuts solve it (the level editor checks
// a level this way before it is saved). `name` names the level in messages.
sim_verify_result sim_check_level_text(const std::string& text, const std::string& name, const sim_solution& solution);
// Verifies the level file `level_path` against its solution file and replay beside it.
sim_verify_result sim_verify_level(sim_context& ctx, const std::string& level_path);
// Records the solution of a level as its replay is recorded: the cuts of the solution for at
// most its seconds, going on one second past the verdict so that the replay shows the
// catch; an unattended scene runs all its seconds without cuts. `bytes` are the replay's
// chunk bytes.
bool sim_record_solution(sim_context& ctx, const std::string& level_path, const sim_solution& solution,
                         std::vector<uint8_t>& bytes, std::string& error);
// Records the solution and writes it beside the level as its replay file.
bool sim_rerecord_level(sim_context& ctx, const std::string& level_path, std::string& error);
// Every "*.LEVL.txt" under root that has a solution file beside it, sorted.
std::vector<std::string> sim_find_solved_levels(const std::string& root);
