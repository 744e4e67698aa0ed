// A solved test run written as the level's solution: the solution file that the solution
// check reads ("STEP:INDEX" a line and the seconds it may take) and the replay recorded
// from it exactly as the check records it, so that the check finds the pair in order and
// the game's Show Solution plays it.
#pragma once

#include "editors/level/level_editor.h"
#include "tools/sim/sim_cuts.h"

#include <cstdint>
#include <string>
#include <vector>

// The run as a solution: its cuts in step order, and the seconds they need (two past the
// catch, so the check's run and the replay's tail both fit).
sim_solution le_solution_of(const le_solved_run& run);
// The solution file's text.
std::string le_solution_text(const le_solved_run& run);
// V: the solution check of the run on the level text (without the files a save writes),
// then, when it passes, the level's measured difficulty. `summary` is one line for the
// status, `detail` the text of a dialog. False when the check fails.
bool le_check_level(const std::string& level_text, const le_solved_run& run, std::string& summary,
                    std::string& detail);
// Records the replay of the run on the level text: its cuts, one second past the verdict.
bool le_record_solution(const std::string& level_text, const le_solved_run& run, std::vector<uint8_t>& bytes,
                        std::string& error);
// Writes "<level>.solution" and "<level>_r.RPLY.pkc" beside a saved level file, each with
// the replacing write.
bool le_save_solution(const std::string& level_path, const le_solved_run& run, std::string& error);
