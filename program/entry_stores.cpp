// Finding and opening the stores of a run.
#include "program/entry_stores.h"

#include "app/window/pref_path.h"
#include "data/archive_search.h"
#include "data/pak_source_dir.h"

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

entry_stores entry_find_stores(const entry_options& entry, const char* argv0)
{
    entry_stores s;
    s.data_roots = entry.data_roots;
    s.archive = entry.archive;
    if (s.archive.empty())
        s.archive = pak_find_game_archive(argv0, {TAMBLE_INSTALL_DATADIR}, s.looked_in);
    std::string user_folder = glw_pref_path("tamble");
    s.config_path = !entry.config.empty() ? entry.config : user_folder + "config.dat";
    s.own_folder = fs::path(s.config_path).parent_path().string();
    if (!s.own_folder.empty())
        s.own_folder += '/';
    return s;
}

bool entry_stores::add(pak_system& pak, std::string& message) const
{
    for (const std::string& root : data_roots) {
        std::error_code ec;
        if (!fs::is_directory(root, ec)) {
            message = "The data folder " + root + " does not exist.";
            return false;
        }
        pak.add_module(std::make_unique<pak_source_dir>(&pak, root));
    }
    if (archive.empty() && data_roots.empty()) {
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
}
