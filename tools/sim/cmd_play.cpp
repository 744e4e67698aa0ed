// tamble-sim play: plays a level's replay back in playback mode to its end.
#include "tools/sim/commands.h"

#include "app/step.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_play.h"
#include "tools/sim/sim_sounds.h"

#include <cstdio>

int sim_cmd_play(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    if (!sim_take_source_options(args, sources, error) || args.size() < 1 || args.size() > 2) {
        return sim_tool_fail("play", error.empty() ? "expected LEVEL and REPLAY" : error,
                             "usage: tamble-sim play LEVEL [REPLAY] [--data ROOT | --archive FILE]\n");
    }
    sim_context ctx;
    sim_sound_guard sounds;
    std::vector<uint8_t> bytes;
    std::string where;
    v_world world;
    v_level_report report;
    if (!ctx.open(sources, error) ||
        !sim_read_replay(ctx, args[0], args.size() > 1 ? args[1] : std::string(), bytes, where, error) ||
        !sim_load_world(ctx, args[0], v_mode_playback, &bytes, world, report, error)) {
        return sim_tool_fail("play", error);
    }
    sim_play_result r = sim_play_to_end(world);
    std::printf("played %u frames of %s; %s at step %d (%.2f s); %d cuts shown, %d sounds\n", r.frames,
                where.c_str(), r.ended ? "ended" : "still running", r.steps,
                double(r.steps) / steps_per_second, r.cuts, r.sounds);
    return r.ended ? 0 : 1;
}
