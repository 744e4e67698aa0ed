// tamble-sim: headless simulation of levels: listing, running with cuts, recording and
// playing replays, timing, and verifying the levels of a data root.
#include "tools/sim/commands.h"

#include "app/log.h"

#include <cstdio>
#include <cstring>

int sim_tool_fail(const char* command, const std::string& message, const char* usage)
{
    std::fprintf(stderr, "tamble-sim %s: %s\n%s", command, message.c_str(), usage ? usage : "");
    return 3;
}

const sim_tool_command sim_tool_commands[] = {
    {"info", "info LEVEL [--data ROOT | --archive FILE]", sim_cmd_info},
    {"run", "run LEVEL [--cut STEP:INDEX]... [--cuts FILE] [--seconds N] [--record OUT] [--trace N]",
     sim_cmd_run},
    {"play", "play LEVEL REPLAY", sim_cmd_play},
    {"bench", "bench LEVEL [--seconds N] [--repeat N]", sim_cmd_bench},
    {"verify", "verify ROOT [--record] [--report]", sim_cmd_verify},
    {"report", "report LEVEL.LEVL.txt... [--grid STEPS] [--pair-grid STEPS] [--threads N]", sim_cmd_report},
    {"generate",
     "generate OUTDIR [--count N] [--seed S] [--difficulty MIN-MAX] [--templates FILE] [--prefix NAME]\n"
     "           [--threads N] [--max-candidates N] [--no-pictures] [--size PIXELS] [--data ROOT | --archive FILE]",
     sim_cmd_generate},
#ifdef TAMBLE_SIM_VIEW
    {"view", "view LEVEL [--data ROOT | --archive FILE] [--windowed] [--size WxH] [test driver options]",
     sim_cmd_view},
    {"previews", "previews ROOT [LEVEL...] [--size PIXELS] [--data ROOT | --archive FILE]", sim_cmd_previews},
#endif
    {nullptr, nullptr, nullptr},
};

namespace {

void print_help(FILE* out)
{
    std::fprintf(out,
                 "usage: tamble-sim COMMAND [ARGS...]\n\n"
                 "LEVEL is a .LEVL.txt file or a level chunk name (levels\\Title); types and level\n"
                 "chunks resolve from --data ROOT (a source or chunk-file tree, default base/)\n"
                 "and/or --archive FILE. Exit status of run: 0 solved, 1 failed, 2 undecided, 3 error.\n\n"
                 "commands:\n");
    for (const sim_tool_command* c = sim_tool_commands; c->name; ++c)
        std::fprintf(out, "  %s\n", c->usage);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        print_help(argc < 2 ? stderr : stdout);
        return argc < 2 ? 3 : 0;
    }
    // Progress lines such as "LOADING LEVEL" stay quiet; problems (log_problem) still show.
    log_set_channel_flag(log_info, 0, false);
    for (const sim_tool_command* c = sim_tool_commands; c->name; ++c)
        if (!std::strcmp(argv[1], c->name))
            return c->run(argc - 2, argv + 2);
    std::fprintf(stderr, "tamble-sim: unknown command '%s' (try --help)\n", argv[1]);
    return 3;
}
