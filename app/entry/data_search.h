// Where the tamble program finds its archive: the working directory, beside the program,
// then where it was installed (relative to the program, so that an installed tree can be
// moved, and at the prefix it was configured with).
#pragma once

#include <string>
#include <vector>

// The first "tamble.pk2" found, or an empty string; `looked_in` lists every place tried,
// in order, for the message that says it is missing.
std::string find_game_archive(const char* argv0, std::vector<std::string>& looked_in);
