// The tool's silent sound seam.
#include "tools/sim/sim_sounds.h"

#include "physics/replay.h"

namespace {

int32_t played_back = 0;

void count_playback(const char*, float)
{
    ++played_back;
}

}  // namespace

bool sim_sound_hooks::play_named(const char* name, float volume)
{
    ++named;
    v_replay_global().record_sound(name, volume);
    return false;
}

sim_sound_guard::sim_sound_guard()
{
    v_set_sounds(&hooks);
    v_replay_global().play_sound = count_playback;
}

sim_sound_guard::~sim_sound_guard()
{
    v_set_sounds(nullptr);
    v_replay_global().play_sound = nullptr;
}

int32_t sim_sounds_played()
{
    return played_back;
}

void sim_reset_sounds_played()
{
    played_back = 0;
}
