// The tool's sound seam on the sound module.
#include "tools/sim/sim_sounds.h"

#include "data/pak_script.h"
#include "physics/replay.h"
#include "sound/sound.h"

namespace {

int32_t played_back = 0;

void count_playback(const char* name, float volume)
{
    ++played_back;
    play_recorded(name, volume);
}

}  // namespace

sim_sound_guard::sim_sound_guard()
{
    sound_connect_world(&v_replay_global());
    v_replay_global().play_sound = count_playback;
}

sim_sound_guard::~sim_sound_guard()
{
    sound_disconnect_world();
}

void sim_load_sound_table(pak_system* pak)
{
    if (!pak) {
        load_collision_sounds(script_handle::nil);
        return;
    }
    sound_register_creators(*pak);
    // A tree of its own: tools open several stores in one process, and each keeps its table.
    script_handle init = script_handle::fresh(&script_global_symbols());
    init_parser parser(init);
    pak->enumerate(pak_code_init, parser);
    load_collision_sounds(init.get("collision_sounds"));
}

int32_t sim_sounds_played()
{
    return played_back;
}

void sim_reset_sounds_played()
{
    played_back = 0;
}
