// tamble-sim bench: how fast a level steps, through run_world_for as the play screen
// measures it.
#include "tools/sim/commands.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_run.h"

#include <cstdio>

int sim_cmd_bench(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    std::string level;
    int32_t seconds = 1, repeat = 3;
    bool ok = sim_take_source_options(args, sources, error);
    for (size_t i = 0; ok && i < args.size(); ++i) {
        if ((args[i] == "--seconds" || args[i] == "--repeat") && i + 1 < args.size()) {
            int32_t& target = args[i] == "--seconds" ? seconds : repeat;
            ok = sim_parse_count(args[++i], target) && target > 0 && target <= 600;
        } else if (level.empty() && args[i].rfind("--", 0) != 0) {
            level = args[i];
        } else {
            ok = false;
        }
    }
    if (!ok || level.empty()) {
        return sim_tool_fail("bench", error.empty() ? "bad arguments" : error,
                             "usage: tamble-sim bench LEVEL [--seconds N] [--repeat N]\n");
    }
    sim_context ctx;
    if (!ctx.open(sources, error))
        return sim_tool_fail("bench", error);
    double best = 0.0;
    for (int32_t i = 0; i < repeat; ++i) {
        // A fresh world each time: a level that has settled steps faster than a busy one.
        v_world world;
        v_level_report report;
        if (!sim_load_world(ctx, level, v_mode_play, nullptr, world, report, error))
            return sim_tool_fail("bench", error);
        int32_t steps = run_world_for(world, double(seconds));
        double rate = double(steps) / double(seconds);
        best = rate > best ? rate : best;
        std::printf("run %d: %d steps in %d s: %.0f steps/s, %.1f x real time\n", i + 1, steps, seconds, rate,
                    rate / steps_per_second);
    }
    std::printf("best: %.0f steps/s, %.1f x real time\n", best, best / steps_per_second);
    return 0;
}
