// How a world drives its replay: the element counts a replay of the world has, and the
// attachment that construction and copying share (recording in mode 2, playback in mode 1).
#include "physics/replay.h"
#include "physics/world.h"

#include "app/log.h"

v_replay_counts v_world_replay_counts(const v_world& world)
{
    v_replay_counts c;
    c.nodes = world.loaded_nodes.size();
    for (const auto& con : world.constraints)
        c.nodes += con->inodes.size();
    c.bodies = world.bodies.size();
    c.cuts = world.constraints.size();
    return c;
}

bool v_world_attach_replay(v_world& world, v_replay& replay, const std::vector<uint8_t>* bytes)
{
    replay.init();
    world.replay = nullptr;
    if (world.mode == v_mode_record) {
        replay.recording = true;
        world.replay = &replay;
        return true;
    }
    if (world.mode != v_mode_playback || !bytes)
        return true;
    v_replay_counts counts = v_world_replay_counts(world);
    world.replay = &replay;
    if (!replay.load(bytes->data(), bytes->size(), &counts)) {
        // A replay that does not fit the level is not applied: the player has ended and
        // the world stays as loaded.
        log_line(log_problem) << "replay refused: it does not match the level or holds fewer than two frames";
        world.replay = nullptr;
        return false;
    }
    return true;
}
