// Cut schedules and solution files of tamble-sim.
//
// A cut "STEP:INDEX" sets the cut flag of constraint INDEX (its place in the level's
// constraint list, as `tamble-sim info` prints it) once STEP world steps have run, before
// the next step; STEP 0 cuts before the first step. A solution file lies beside its level
// ("levels/Ledge.LEVL.txt" -> "levels/Ledge.solution") and is plain text, one item a line:
//   # a comment; blank lines are ignored
//   120:0          a cut, as on the command line
//   seconds 20     how long the solution may take at most (default 30)
//   unattended     the level plays by itself (the title scene): verify runs it without
//                  cuts and checks only that it stays sane and that its replay plays
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sim_cut {
    int32_t step = 0;
    int32_t index = 0;
};

struct sim_solution {
    std::vector<sim_cut> cuts;  // in step order (stable for equal steps)
    float seconds = 30.0f;
    bool unattended = false;
};

// A non-negative decimal number that fits in int32, nothing else around it.
bool sim_parse_count(std::string_view text, int32_t& out);
// "STEP:INDEX" with non-negative decimal numbers; false for anything else.
bool sim_parse_cut(std::string_view text, sim_cut& out);
// The whole text of a solution file. On failure `error` names the line.
bool sim_parse_solution(std::string_view text, sim_solution& out, std::string& error);
// Reads and parses a solution file of at most sim_solution_file_limit bytes.
bool sim_read_solution(const std::string& path, sim_solution& out, std::string& error);
constexpr uint64_t sim_solution_file_limit = uint64_t(1) << 20;
// Orders cuts by step, keeping the given order among equal steps.
void sim_sort_cuts(std::vector<sim_cut>& cuts);

// The solution file that belongs beside a level file (its replay file is
// v_level_replay_path's).
std::string sim_solution_path(const std::string& level_path);
