// tamble-pak: the command-line front end to scripts, archives, images and sounds.
#include "tools/pak/commands.h"

#include <cstdio>
#include <cstring>

const pak_tool_command pak_tool_commands[] = {
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
