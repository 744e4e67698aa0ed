// The game's entry: stores, save file and capture folder from the command line.
#include "program/game_entry.h"

#include "app/log.h"
#include "app/window/pref_path.h"
#include "data/archive_search.h"
#include "data/pak_source_dir.h"
#include "game/screens/menu_flow.h"
#include "game/screens/play_screen.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int game_entry(const entry_options& entry, const char* argv0, std::chrono::steady_clock::time_point started)
{
    game_options options;
    options.started = started;
    log_mute_for_game(entry.command_line);

    options.driver = entry.driver;
    std::string user_folder = glw_pref_path("tamble");
    options.config_path = !entry.config.empty() ? entry.config : user_folder + "config.dat";
    options.screenshot_folder = user_folder;
    play_set_capture_folder(entry.data_roots.empty() ? "base" : entry.data_roots.front());

    std::string archive = entry.archive;
    std::vector<std::string> looked_in;
    if (archive.empty())
        archive = pak_find_game_archive(argv0, {TAMBLE_INSTALL_DATADIR}, looked_in);
    // Without an archive a source tree alone is played, with what has no texture drawn plainly.
    options.plain_drawing = archive.empty();
    options.data_name = !archive.empty() ? archive : entry.data_roots.empty() ? "" : entry.data_roots.front();
    options.add_stores = [&](pak_system& pak, std::string& message) {
        for (const std::string& root : entry.data_roots) {
            std::error_code ec;
            if (!fs::is_directory(root, ec)) {
                message = "The data folder " + root + " does not exist.";
                return false;
            }
            pak.add_module(std::make_unique<pak_source_dir>(&pak, root));
        }
        if (archive.empty() && entry.data_roots.empty()) {
            message = "Tamble cannot find its game data, tamble.pk2. It looked in:";
            for (const std::string& place : looked_in)
                message += "\n  " + place;
            message += "\nReinstall the game, or name the file with --archive FILE.";
            return false;
        }
        std::error_code ec;
        if (!archive.empty() && !fs::is_regular_file(archive, ec)) {
            message = "The game data " + archive + " does not exist.";
            return false;
        }
        if (!archive.empty() && !pak.add_archive(archive.c_str(), false)) {
            message = "The game data " + archive + " cannot be read: it is damaged, or not Tamble's data.";
            return false;
        }
        return true;
    };
    return menu_begin(options);
}
