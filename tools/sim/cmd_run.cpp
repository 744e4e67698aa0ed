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

int fail(const std::string& message)
{
    std::fprintf(stderr, "tamble-sim run: %s\n%s", message.c_str(), usage);
    return 3;
}

}  // namespace

int sim_cmd_run(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    if (!sim_take_source_options(args, sources, error))
        return fail(error);
    std::string level, record;
    sim_run_options options;
    int32_t seconds = 30;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool has_value = i + 1 < args.size();
        if (a == "--cut" || a == "--cuts" || a == "--seconds" || a == "--record" || a == "--trace") {
            if (!has_value)
                return fail(a + " needs a value");
            const std::string& v = args[++i];
            if (a == "--cut") {
                sim_cut c;
                if (!sim_parse_cut(v, c))
                    return fail("bad cut '" + v + "' (expected STEP:INDEX)");
                options.cuts.push_back(c);
            } else if (a == "--cuts") {
                sim_solution s;
                if (!sim_read_solution(v, s, error))
                    return fail(error);
                options.cuts.insert(options.cuts.end(), s.cuts.begin(), s.cuts.end());
            } else if (a == "--seconds") {
                if (!sim_parse_count(v, seconds) || seconds == 0 || seconds > 3600)
                    return fail("--seconds takes 1 to 3600");
            } else if (a == "--record") {
                record = v;
            } else if (!sim_parse_count(v, options.trace_every) || options.trace_every == 0) {
                return fail("--trace takes a positive step count");
            }
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return fail("unknown option " + a);
        } else if (level.empty()) {
            level = a;
        } else {
            return fail("more than one LEVEL");
        }
    }
    if (level.empty())
        return fail("no LEVEL");
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
        return fail(error);
    for (const std::string& p : report.problems)
        std::printf("warning: %s\n", p.c_str());

    sim_run_result r = sim_run_world(world, options);
    if (!r.ok) {
        std::fprintf(stderr, "tamble-sim run: %s\n", r.problem.c_str());
        return 3;
    }
    if (!record.empty()) {
        if (!v_replay_global().save(record.c_str())) {
            std::fprintf(stderr, "tamble-sim run: cannot write replay '%s'\n", record.c_str());
            return 3;
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
