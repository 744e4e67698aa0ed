// The game's menu flow: start-up, the screens one after another, shutdown.
#pragma once

#include "app/driver_script.h"
#include "data/pak.h"

#include <functional>
#include <string>

struct game_options {
    // The test driver's and the window's options (--windowed, --size, --fixed-frame...).
    driver_options driver;
    // Where the configuration lives ("config.dat" in the per-user folder by default).
    std::string config_path;
    // Adds the stores the game reads from (earlier stores win a name); false with a
    // message when none can be opened.
    std::function<bool(pak_system&, std::string&)> add_stores;
};

// Runs the game until the player quits; the program's exit status (0, or 1 when the game
// could not start).
int menu_begin(const game_options& options);
