// The game's entry: finds the game data and the save file for the options of the command
// line, and runs the menu flow until the player quits.
#pragma once

#include "program/entry_options.h"

#include <chrono>

// The program's exit status. `argv0` helps find the archive beside the program; `started`
// is when the program began, for the log line that measures start-up.
int game_entry(const entry_options& entry, const char* argv0, std::chrono::steady_clock::time_point started);
