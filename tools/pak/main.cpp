// tamble-pak: the command-line front end to scripts, archives, images and sounds.
#include "tools/pak/commands.h"

#include <cstdio>
#include <cstring>

int pak_tool_fail(const char* command, const std::string& message, int status)
{
    if (command)
        std::fprintf(stderr, "tamble-pak: %s: %s\n", command, message.c_str());
    else
        std::fprintf(stderr, "tamble-pak: %s\n", message.c_str());
    return status;
}

const pak_tool_command pak_tool_commands[] = {
    {"list",
     "list ARCHIVE|DIR          one line per chunk, in enumeration order:\n"
     "                             NAME[CODE,F] METHOD SIZE STORED (F: C container, - leaf;\n"
     "                             METHOD 0 stored, else compressed; SIZE uncompressed bytes)",
     cmd_list},
    {"cat",
     "cat ARCHIVE|DIR NAME      the chunk's bytes to standard output\n"
     "  cat FILE.CODE.pkc | ARCHIVE:NAME   the same for a chunk file or a named chunk",
     cmd_cat},
    {"extract",
     "extract ARCHIVE DIR       every chunk as a chunk file DIR/NAME.CODE.pkc\n"
     "                             (backslashes in names become subdirectories)",
     cmd_extract},
    {"build",
     "build -o OUT ROOT...      an archive from source roots: NAME.CODE.txt script text\n"
     "                             (compressed), NAME.CODE.pkc chunk files, and the other\n"
     "                             source kinds of build_converters.cpp; later roots\n"
     "                             override earlier ones; same sources, same bytes",
     cmd_build},
    {"dump-script", "dump-script [--merge] FILE...     parse script text, print it with the text writer",
     cmd_dump_script},
    {"dump-config", "dump-config FILE                  print a binary script file (config.dat) as text",
     cmd_dump_config},
    {"make-config", "make-config [--root NAME] IN OUT  save script text in the binary form (root \"config\")",
     cmd_make_config},
    {"sound",
     "sound encode IN.wav OUT.SAMP.pkc [--block N] [--step Q]\n"
     "                             a WAVE file (mono or stereo) as a SAMP chunk file;\n"
     "                             N a power of two 16..4096 (default 512), Q 1..255 (28)\n"
     "  sound decode SOURCE OUT.wav   a SAMP chunk (FILE.SAMP.pkc or ARCHIVE:NAME) as WAVE",
     cmd_sound},
    {"image",
     "image encode IN.png OUT.IMAG.pkc [--quality Q] [--raw]\n"
     "                             an IMAG chunk file, coded at quality Q (0..100, default 90)\n"
     "                             or as raw RGBA\n"
     "  image decode SOURCE OUT.png [--half] [--plain]\n"
     "                             SOURCE is FILE.IMAG.pkc or ARCHIVE:NAME; --half decodes at\n"
     "                             half size (as on small screens), --plain without vectors",
     cmd_image},
    {nullptr, nullptr, nullptr},
};

namespace {

void print_help(FILE* out)
{
    std::fprintf(out, "usage: tamble-pak COMMAND [ARGS...]\n\ncommands:\n");
    for (const pak_tool_command* c = pak_tool_commands; c->name; ++c)
        std::fprintf(out, "  %s\n", c->usage);
}

}  // namespace

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
