// tamble: the program. Reads the command line, chooses the run mode, finds the game data and
// the save file, and hands over to the menu flow.
//
//   tamble [--windowed] [--archive FILE] [--data DIR]... [--config FILE] [log] [test driver options]
#include "app/entry/data_search.h"
#include "app/entry_options.h"
#include "app/log.h"
#include "app/window/pref_path.h"
#include "editors/body/body_editor_screen.h"
#include "editors/level/level_editor_screen.h"
#include "game/screens/game_assets.h"
#include "game/screens/menu_flow.h"
#include "game/user_world.h"
#include "game/screens/play_screen.h"
#include "tools/sim/sim_source_store.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    game_options options;
    options.started = std::chrono::steady_clock::now();
    entry_options entry;
    std::string error;
    if (!entry_parse_options(argc, argv, entry, error)) {
        std::fprintf(stderr, "tamble: %s\n%s", error.c_str(), entry_usage().c_str());
        return 2;
    }
    if (entry.help) {
        std::printf("%s", entry_usage().c_str());
        return 0;
    }
    if (entry.version) {
        std::printf("%s\n", entry_version().c_str());
        return 0;
    }
    run_mode mode = choose_run_mode(entry.command_line);
    if (mode == run_mode::game)
        log_mute_for_game(entry.command_line);

    options.driver = entry.driver;
    std::string user_folder = glw_pref_path("tamble");
    options.config_path = !entry.config.empty() ? entry.config : user_folder + "config.dat";
    options.screenshot_folder = user_folder;
    play_set_capture_folder(entry.data_roots.empty() ? "base" : entry.data_roots.front());

    std::string archive = entry.archive;
    std::vector<std::string> looked_in;
    if (archive.empty())
        archive = find_game_archive(argv[0], looked_in);
    // Without an archive a source tree alone is played, with what has no texture drawn plainly.
    options.plain_drawing = archive.empty();
    options.data_name = !archive.empty() ? archive : entry.data_roots.empty() ? "" : entry.data_roots.front();
    // The player's own levels (the level editor saves them beside the configuration) are
    // read after the game data, so a name they share with a shipped level stays the game's.
    std::string own_root = fs::path(options.config_path).parent_path().string();
    pak_module* own_levels = nullptr;
    options.add_stores = [&](pak_system& pak, std::string& message) {
        for (const std::string& root : entry.data_roots) {
            std::error_code ec;
            if (!fs::is_directory(root, ec)) {
                message = "The data folder " + root + " does not exist.";
                return false;
            }
            pak.add_module(std::make_unique<sim_source_store>(&pak, root));
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
        if (!own_root.empty() && fs::is_directory(own_root + "/levels", ec)) {
            pak.add_module(std::make_unique<sim_source_store>(&pak, own_root));
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
    if (mode == run_mode::level_editor || mode == run_mode::body_editor) {
        editor_options editor;
        editor.driver = entry.driver;
        editor.add_stores = options.add_stores;
        editor.data_root = entry.data_roots.empty() ? "" : entry.data_roots.front();
        editor.data_roots = entry.data_roots;
        editor.archive = archive;
        // The editors keep their files beside the configuration: its folder is the
        // per-user folder, or the folder of the file --config names.
        editor.user_folder = fs::path(options.config_path).parent_path().string();
        if (!editor.user_folder.empty())
            editor.user_folder += '/';
        return mode == run_mode::level_editor ? level_editor_main(editor) : bedit::body_editor_main(editor);
    }
    return menu_begin(options);
}
