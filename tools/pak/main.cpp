// tamble-pak: the command-line front end to scripts, archives, images and sounds.
#include "tools/pak/commands.h"

#include <cstdio>
#include <cstring>

const pak_tool_command pak_tool_commands[] = {
    {"dump-script", "dump-script [--merge] FILE...     parse script text, print it with the text writer", cmd_dump_script},
    {"dump-config", "dump-config FILE                  print a binary script file (config.dat) as text", cmd_dump_config},
    {"make-config", "make-config [--root NAME] IN OUT  save script text in the binary form (root \"config\")", cmd_make_config},
    {nullptr, nullptr, nullptr},
};

namespace {

void print_help(FILE* out)
{
    std::fprintf(out, "usage: tamble-pak COMMAND [ARGS...]\n\ncommands:\n");
    for (const pak_tool_command* c = pak_tool_commands; c->name; ++c)
        std::fprintf(out, "  %s\n", c->usage);
}

}

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        print_help(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const pak_tool_command* c = pak_tool_commands; c->name; ++c)
        if (!std::strcmp(argv[1], c->name))
            return c->run(argc - 2, argv + 2);
    std::fprintf(stderr, "tamble-pak: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
