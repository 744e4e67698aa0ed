// Where a program finds the game's archive, "tamble.pk2": the game, the benchmarks and
// anything else that plays the built data search one way. The places, in order: the
// working directory, beside the program, in ../share/tamble beside it (so that an installed
// tree can be moved), then the folders the program was built to know (the install's data
// folder for the game, the build folder for the benchmarks).
#pragma once

#include <string>
#include <vector>

// The first "tamble.pk2" found, or an empty string; `looked_in` lists every place tried,
// in order, for the message that says it is missing. `argv0` locates the program when
// /proc/self/exe cannot; it may be null.
std::string pak_find_game_archive(const char* argv0, const std::vector<std::string>& known_folders,
                                  std::vector<std::string>& looked_in);
