// Playing a world in playback mode until its replay has ended and its last cuts shown.
#pragma once

#include "physics/world.h"

#include <cstdint>

struct sim_play_result {
    bool ended = false;   // the player ran out of frames within the step bound
    uint32_t frames = 0;  // frames read, the two priming frames included
    int32_t steps = 0;    // world steps until the end
    int32_t cuts = 0;     // constraints cut by the replay
    int32_t sounds = 0;   // sounds played back
};

sim_play_result sim_play_to_end(v_world& world);
