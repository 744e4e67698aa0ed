// The game: `menu_begin` brings the services up in order (window, data, sound, render
// targets, configuration), plays the start-up sequence and the title logo, leads the player
// from screen to screen until they quit (game/menu_states.h), plays the exit sequence and
// takes everything down again in order.
#pragma once

#include "app/driver_script.h"
#include "data/pak.h"

#include <chrono>
#include <functional>
#include <string>

struct game_options {
    // The test driver's and the window's options (--windowed, --size, --fixed-frame...).
    driver_options driver;
    // Where the configuration lives ("config.dat" in the per-user folder by default).
    std::string config_path;
    // Where F12 writes screenshots; empty: nowhere.
    std::string screenshot_folder;
    // Adds the stores the game reads from (earlier stores win a name); false with a
    // message naming the file and where it was looked for when none can be opened.
    std::function<bool(pak_system&, std::string&)> add_stores;
    // Runs once the start-up data is loaded (the player's own levels become a world).
    std::function<void()> after_loading;
    // What the stores are, for the message when they hold no game: the archive's path.
    std::string data_name;
    // No archive: what has no texture is drawn plainly (a source tree without art).
    bool plain_drawing = false;
    // When the program started, for the log line that measures start-up.
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

// Runs the game until the player quits; the program's exit status (0, or 1 when the game
// could not start: no window, or no readable game data).
int menu_begin(const game_options& options);
