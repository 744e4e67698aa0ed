// A solved test run written as the level's solution: the solution file that the solution
// check reads ("STEP:INDEX" a line and the seconds it may take) and the replay recorded
// from it exactly as the check records it, so that the check finds the pair in order and
// the game's Show Solution plays it.
#pragma once

#include "editors/level/level_editor.h"

#include <cstdint>
#include <string>
#include <vector>

// The solution file's text.
std::string le_solution_text(const le_solved_run& run);
// Records the replay of the run on the level text: its cuts, one second past the verdict.
bool le_record_solution(const std::string& level_text, const le_solved_run& run, std::vector<uint8_t>& bytes,
                        std::string& error);
// Writes "<level>.solution" and "<level>_r.RPLY.pkc" beside a saved level file, each with
// the replacing write.
bool le_save_solution(const std::string& level_path, const le_solved_run& run, std::string& error);
