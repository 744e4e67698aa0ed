// tamble: the game. Reads the command line, finds the data and the save file, and hands
// over to the menu flow.
//
//   tamble [--windowed] [--config FILE] [--archive FILE] [--data DIR]... [test driver options]
#include "app/log.h"
#include "app/window/pref_path.h"
#include "game/screens/menu_flow.h"
#include "tools/sim/sim_source_store.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char usage[] =
    "usage: tamble [options]\n"
    "  --config FILE          the save file (default: config.dat in the per-user folder)\n"
    "  --archive FILE         the game data (default: tamble.pk2 here, then beside the program)\n"
    "  --data DIR             a source tree (script sources and chunk files) read before the\n"
    "                         archive, so its files override the archive's; repeatable\n"
    "  --help                 this text\n";

// The archive: the working directory's, else the one beside the program.
std::string find_archive(std::vector<std::string>& looked_in)
{
    std::error_code ec;
    std::vector<fs::path> places{fs::current_path(ec) / "tamble.pk2"};
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        places.push_back(exe.parent_path() / "tamble.pk2");
    for (const fs::path& p : places) {
        looked_in.push_back(p.string());
        if (fs::is_regular_file(p, ec))
            return p.string();
    }
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    game_options options;
    std::string error;
    if (!driver_parse_options(argc, argv, options.driver, error)) {
        std::fprintf(stderr, "tamble: %s\n%s%s", error.c_str(), usage, driver_options_help);
        return 2;
    }
    std::string archive, command_line;
    std::vector<std::string> data_roots;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool has_value = i + 1 < argc;
        if (arg == "--help") {
            std::printf("%s%s", usage, driver_options_help);
            return 0;
        } else if ((arg == "--config" || arg == "--archive" || arg == "--data") && !has_value) {
            std::fprintf(stderr, "tamble: %s needs a value\n%s", arg.c_str(), usage);
            return 2;
        } else if (arg == "--config") {
            options.config_path = argv[++i];
        } else if (arg == "--archive") {
            archive = argv[++i];
        } else if (arg == "--data") {
            data_roots.push_back(argv[++i]);
        } else if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "tamble: unknown option %s\n%s%s", arg.c_str(), usage, driver_options_help);
            return 2;
        } else {
            command_line += (command_line.empty() ? "" : " ") + arg;
        }
    }
    log_mute_for_game(command_line);

    if (options.config_path.empty()) {
        std::string folder = glw_pref_path("tamble");
        options.config_path = folder + "config.dat";
    }
    options.add_stores = [&](pak_system& pak, std::string& message) {
        for (const std::string& root : data_roots) {
            std::error_code ec;
            if (!fs::is_directory(root, ec)) {
                message = "The data folder " + root + " does not exist.";
                return false;
            }
            pak.add_module(std::make_unique<sim_source_store>(&pak, root));
        }
        std::vector<std::string> looked_in;
        std::string path = archive.empty() ? find_archive(looked_in) : archive;
        if (path.empty() && data_roots.empty()) {
            message = "The game data tamble.pk2 was not found. Looked in:";
            for (const std::string& p : looked_in)
                message += "\n" + p;
            return false;
        }
        if (!path.empty() && !pak.add_archive(path.c_str(), false)) {
            message = "The game data " + path + " cannot be read.";
            return false;
        }
        return true;
    };
    return menu_begin(options);
}
