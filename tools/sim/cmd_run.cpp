// tamble-sim run: simulates a level with a cut schedule and reports the verdict; can
// record the run as a replay and trace positions.
#include "tools/sim/commands.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_run.h"
#include "tools/sim/sim_sounds.h"

#include <cstdio>

namespace {

constexpr const char* usage = "usage: tamble-sim run LEVEL [--cut STEP:INDEX]... [--cuts FILE] [--seconds N] "
                              "[--record OUT] [--trace N]\n"
                              "                            [--data ROOT | --archive FILE]\n";

}  // namespace

int sim_cmd_run(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    if (!sim_take_source_options(args, sources, error))
        return sim_tool_fail("run", error, usage);
    std::string level, record;
    sim_run_options options;
    int32_t seconds = 30;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool has_value = i + 1 < args.size();
        if (a == "--cut" || a == "--cuts" || a == "--seconds" || a == "--record" || a == "--trace") {
            if (!has_value)
                return sim_tool_fail("run", a + " needs a value", usage);
            const std::string& v = args[++i];
            if (a == "--cut") {
                sim_cut c;
                if (!sim_parse_cut(v, c))
                    return sim_tool_fail("run", "bad cut '" + v + "' (expected STEP:INDEX)", usage);
                options.cuts.push_back(c);
            } else if (a == "--cuts") {
                sim_solution s;
                if (!sim_read_solution(v, s, error))
                    return sim_tool_fail("run", error, usage);
                options.cuts.insert(options.cuts.end(), s.cuts.begin(), s.cuts.end());
            } else if (a == "--seconds") {
                if (!sim_parse_count(v, seconds) || seconds == 0 || seconds > 3600)
                    return sim_tool_fail("run", "--seconds takes 1 to 3600", usage);
            } else if (a == "--record") {
                record = v;
            } else if (!sim_parse_count(v, options.trace_every) || options.trace_every == 0) {
                return sim_tool_fail("run", "--trace takes a positive step count", usage);
            }
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return sim_tool_fail("run", "unknown option " + a, usage);
        } else if (level.empty()) {
            level = a;
        } else {
            return sim_tool_fail("run", "more than one LEVEL", usage);
        }
    }
    if (level.empty())
        return sim_tool_fail("run", "no LEVEL", usage);
    sim_sort_cuts(options.cuts);
    options.max_steps = seconds * steps_per_second;
    options.out = stdout;
    // A recording goes on for a second after the verdict, so the replay shows the catch.
    if (!record.empty())
        options.tail_steps = steps_per_second;

    sim_context ctx;
    sim_sound_guard sounds;
    v_world world;
    v_level_report report;
    int32_t mode = record.empty() ? v_mode_play : v_mode_record;
    if (!ctx.open(sources, error) || !sim_load_world(ctx, level, mode, nullptr, world, report, error))
        return sim_tool_fail("run", error, usage);
    for (const std::string& p : report.problems)
        std::printf("warning: %s\n", p.c_str());

    sim_run_result r = sim_run_world(world, options);
    if (!r.ok) {
        return sim_tool_fail("run", r.problem);
    }
    if (!record.empty()) {
        if (!v_replay_global().save(record.c_str())) {
            return sim_tool_fail("run", "cannot write replay '" + record + "'");
        }
        std::printf("recorded %u frames to %s\n", v_replay_global().frames, record.c_str());
    }
    double at = double(r.decided_step) / steps_per_second;
    switch (r.verdict) {
    case v_verdict_solved:
        std::printf("solved at step %d (%.2f s)\n", r.decided_step, at);
        return 0;
    case v_verdict_failed:
        std::printf("failed at step %d (%.2f s)\n", r.decided_step, at);
        return 1;
    default:
        std::printf("undecided after %d steps (%d s)\n", r.steps, seconds);
        return 2;
    }
}
