// tamble-sim verify: checks every level under a root that has a solution file; with
// --record it first records each level's replay afresh from its solution.
#include "tools/sim/commands.h"
#include "tools/sim/sim_verify.h"

#include <algorithm>
#include <cstdio>

int sim_cmd_verify(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    bool record = false;
    if (sim_take_source_options(args, sources, error)) {
        auto flag = std::find(args.begin(), args.end(), std::string("--record"));
        if (flag != args.end()) {
            record = true;
            args.erase(flag);
        }
    }
    if (!error.empty() || args.size() != 1 || args[0].rfind("--", 0) == 0) {
        return sim_tool_fail("verify", error.empty() ? "expected one ROOT" : error,
                             "usage: tamble-sim verify ROOT [--record] [--data ROOT | --archive FILE]\n");
    }
    // Types resolve from the verified root itself unless told otherwise.
    if (sources.data_roots.empty() && sources.archives.empty())
        sources.data_roots.push_back(args[0]);
    sim_context ctx;
    if (!ctx.open(sources, error))
        return sim_tool_fail("verify", error);
    std::vector<std::string> levels = sim_find_solved_levels(args[0]);
    int failures = 0;
    for (const std::string& level : levels) {
        // --record writes each level's replay afresh from its solution before checking it.
        if (record && !sim_rerecord_level(ctx, level, error)) {
            ++failures;
            std::printf("FAIL  %s: %s\n", level.c_str(), error.c_str());
            continue;
        }
        sim_verify_result v = sim_verify_level(ctx, level);
        if (v.passed) {
            std::printf("ok    %s: %s\n", level.c_str(), v.summary.c_str());
            continue;
        }
        ++failures;
        std::printf("FAIL  %s:", level.c_str());
        for (size_t i = 0; i < v.failures.size(); ++i)
            std::printf("%s %s", i ? ";" : "", v.failures[i].c_str());
        std::printf("\n");
    }
    std::printf("%zu levels, %d failed\n", levels.size(), failures);
    return failures ? 1 : 0;
}
