// The playback loop shared by play and verify.
#include "tools/sim/sim_play.h"

#include "physics/replay.h"
#include "tools/sim/sim_sounds.h"

sim_play_result sim_play_to_end(v_world& world)
{
    sim_play_result r;
    v_replay& replay = v_replay_global();
    sim_reset_sounds_played();
    if (world.replay) {
        // Ten steps a frame, a hundred for each cut shown: anything longer is stuck.
        int64_t bound =
            int64_t(replay.stream.size()) + 2 * 10 + int64_t(world.constraints.size()) * 100 + 1000;
        while (!(replay.ended() && world.cut_events.empty()) && world.step_count < bound)
            world.step();
    }
    r.ended = replay.ended();
    r.frames = replay.frames;
    r.steps = world.step_count;
    for (const auto& c : world.constraints)
        r.cuts += c->cut ? 1 : 0;
    r.sounds = sim_sounds_played();
    return r;
}
