// Parsing the tamble program's command line.
#include "program/entry_options.h"

#ifndef TAMBLE_VERSION
#define TAMBLE_VERSION "0"
#endif

run_mode choose_run_mode(std::string_view command_line)
{
    if (command_line.find("body_editor") != std::string_view::npos)
        return run_mode::body_editor;
    if (command_line.find("editor") != std::string_view::npos)
        return run_mode::level_editor;
    return run_mode::game;
}

bool entry_parse_options(int argc, char** argv, entry_options& out, std::string& error)
{
    // The driver's and the window's options are taken out first; argv keeps the rest.
    std::vector<char*> args(argv, argv + argc);
    int count = argc;
    if (!driver_parse_options(count, args.data(), out.driver, error))
        return false;
    for (int i = 1; i < count; ++i) {
        std::string_view a = args[size_t(i)];
        auto value = [&](std::string& dst) {
            if (i + 1 >= count) {
                error = std::string(a) + " needs a value";
                return false;
            }
            dst = args[size_t(++i)];
            return true;
        };
        if (a == "--help" || a == "-h") {
            out.help = true;
        } else if (a == "--version") {
            out.version = true;
        } else if (a == "--archive") {
            if (!value(out.archive))
                return false;
        } else if (a == "--config") {
            if (!value(out.config))
                return false;
        } else if (a == "--data") {
            std::string dir;
            if (!value(dir))
                return false;
            out.data_roots.push_back(dir);
        } else if (a.size() > 2 && a.substr(0, 2) == "--") {
            error = "unknown option " + std::string(a);
            return false;
        } else {
            if (!out.command_line.empty())
                out.command_line += ' ';
            out.command_line += a;
        }
    }
    return true;
}

std::string entry_usage()
{
    return std::string(
               "usage: tamble [options] [editor | body_editor] [log]\n"
               "  Plays Tamble: cut the ropes, springs and rods so that every ball drops into\n"
               "  the pot of its colour. \"editor\" starts the level editor, \"body_editor\" the\n"
               "  body editor; \"log\" writes the game's log to stderr. The editors read and\n"
               "  write levels/ and bodies/ of the first --data tree, else beside the save file.\n"
               "  --help                 this text\n"
               "  --version              the program's version\n"
               "  --archive FILE         the game data (default: tamble.pk2 in the working\n"
               "                         directory, beside the program, then where it was installed)\n"
               "  --data DIR             a source tree (script sources, chunk files) read before the\n"
               "                         archive, so that its files override the archive's; repeatable.\n"
               "                         With --data and no archive found, the game plays from the tree\n"
               "  --config FILE          the save file (default: config.dat in the per-user folder)\n") +
           driver_options_help;
}

std::string entry_version()
{
    return std::string("tamble ") + TAMBLE_VERSION;
}
