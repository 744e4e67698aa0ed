// One looping music voice, switched by name, and the duck-and-restore around jingles.
#include "sound/music.h"

#include "app/step.h"
#include "data/pak_system.h"
#include "sound/sound.h"

#include <cmath>

namespace {

constexpr float duck_fade_seconds = 0.2f;
constexpr float restore_fade_seconds = 0.1f;

struct music_state {
    ref_ptr<pak_chunkref> current;  // empty when no music plays
    int32_t handle = 0;
    int32_t duck_steps = 0;  // steps until the music comes back; 0 when not ducked
};

music_state& music()
{
    static music_state state;
    return state;
}

}  // namespace

void play_music(const char* name)
{
    music_state& m = music();
    pak_system* store = sound_store();
    ref_ptr<pak_chunkref> ref = store && name ? store->get(name) : nullptr;
    // The same song keeps playing where it is. (A song whose voice never started, because
    // every voice was busy, is tried again.)
    if (ref && ref == m.current && sound_global_mixer().is_playing(m.handle))
        return;
    m.current = ref;
    stop(m.handle);
    // A song started while the music is ducked starts ducked: it must not be heard over the
    // jingle before a duck could take it down. The countdown brings it in.
    float volume = m.duck_steps > 0 ? 0.0f : 1.0f;
    m.handle = ref ? play_sample(ref, volume, 0.5f, sound_flag_loop | sound_flag_music) : 0;
}

void stop_music()
{
    music_state& m = music();
    m.current.reset();
    stop(m.handle);
    m.handle = 0;
    m.duck_steps = 0;
}

int32_t music_handle()
{
    return music().handle;
}

void duck_music(float seconds)
{
    music_state& m = music();
    // The target stops at the 0.001 floor: the voice stays alive and keeps its place.
    set_volume(m.handle, 0.0f, duck_fade_seconds);
    float steps = std::ceil(seconds * float(steps_per_second));
    m.duck_steps = steps >= 1.0f ? (steps < 1e9f ? int32_t(steps) : 1000000000) : 1;
}

void music_tick()
{
    music_state& m = music();
    if (m.duck_steps > 0 && --m.duck_steps == 0)
        set_volume(m.handle, 1.0f, restore_fade_seconds);
}
