// tamble: the program. Reads the command line, chooses the run mode and hands over to its
// entry: the game's (program/game_entry.h) or an editor's (program/editor_entry.h).
//
//   tamble [--windowed] [--archive FILE] [--data DIR]... [--config FILE] [log] [test driver options]
#include "program/editor_entry.h"
#include "program/entry_options.h"
#include "program/game_entry.h"

#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    auto started = std::chrono::steady_clock::now();
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
    if (mode == run_mode::level_editor)
        return level_editor_entry(entry, argv[0]);
    if (mode == run_mode::body_editor)
        return body_editor_entry(entry, argv[0]);
    return game_entry(entry, argv[0], started);
}
