// The game's entry: stores, save file and capture folder from the command line, and the
// player's own levels as a world of their own.
#include "program/game_entry.h"

#include "app/log.h"
#include "app/window/pref_path.h"
#include "data/pak_source_dir.h"
#include "game/screens/game_assets.h"
#include "game/screens/menu_flow.h"
#include "game/screens/play_screen.h"
#include "game/user_world.h"
#include "program/entry_stores.h"

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
    entry_stores stores = entry_find_stores(entry, argv0);
    options.config_path = stores.config_path;
    options.screenshot_folder = glw_pref_path("tamble");
    play_set_capture_folder(entry.data_roots.empty() ? "base" : entry.data_roots.front());
    // Without an archive a source tree alone is played, with what has no texture drawn plainly.
    options.plain_drawing = stores.archive.empty();
    options.data_name = !stores.archive.empty()       ? stores.archive
                        : entry.data_roots.empty() ? ""
                                                   : entry.data_roots.front();
    // The player's own levels (the level editor saves them beside the configuration) are
    // read after the game data, so a name they share with a shipped level stays the game's.
    pak_module* own_levels = nullptr;
    options.add_stores = [&](pak_system& pak, std::string& message) {
        if (!stores.add(pak, message))
            return false;
        std::error_code ec;
        if (!stores.own_folder.empty() && fs::is_directory(stores.own_folder + "levels", ec)) {
            pak.add_module(std::make_unique<pak_source_dir>(&pak, stores.own_folder));
            own_levels = pak.modules.back().get();
        }
        return true;
    };
    options.after_loading = [&] {
        if (!own_levels)
            return;
        std::vector<std::string> names;
        pak_system& pak = game_pak();
        pak_enum_function collect([&](ref_ptr<pak_chunkref> ref) {
            if (ref && pak.get(ref->name) == ref)
                names.push_back(ref->name);
        });
        own_levels->enumerate(pak_code_levl, collect);
        int32_t placed = user_world_add(script_global_tree().get("worlds"), names);
        if (placed < int32_t(names.size()))
            log_line(log_always) << "Your Levels: " << placed << " of " << names.size()
                                 << " levels fit the map; the others are left out";
    };
    return menu_begin(options);
}
