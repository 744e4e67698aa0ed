// The tamble program's command line. Options that start with "--" are the program's own and
// are taken out first; the remaining arguments are joined with blanks into the one command
// line whose substrings choose the run mode: "body_editor", then "editor", else the game,
// which keeps its log quiet unless the command line contains "log".
//
//   tamble                         the game, full screen
//   tamble --windowed log          the game in a window, with the log on stderr
//   tamble editor --data base      the level editor on a source tree
#pragma once

#include "app/driver_script.h"

#include <string>
#include <string_view>
#include <vector>

enum class run_mode { game, level_editor, body_editor };

// The run-mode rule on the joined command line (case-sensitive substrings; "body_editor"
// holds "editor", so it is tested first).
run_mode choose_run_mode(std::string_view command_line);

struct entry_options {
    bool help = false;
    bool version = false;
    std::string archive;                  // --archive FILE
    std::string config;                   // --config FILE
    std::vector<std::string> data_roots;  // --data DIR, repeatable, before the archive
    driver_options driver;                // --windowed, --size and the test driver's options
    std::string command_line;             // every other argument, joined with blanks
};

// False with `error` set for an unknown "--" option or a missing or bad value; the program
// then prints the usage and exits with status 2.
bool entry_parse_options(int argc, char** argv, entry_options& out, std::string& error);

// The usage text, the test driver's options included.
std::string entry_usage();
// "tamble 1.0.0"
std::string entry_version();
