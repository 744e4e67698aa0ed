// The program's mixer and the main-thread front end: names resolved through the store,
// samples played by name and by collision class, and the world's sound seam.
#include "sound/sound.h"

#include "data/pak_system.h"
#include "data/script.h"
#include "physics/replay.h"
#include "physics/sound_hooks.h"
#include "sound/collision_sounds.h"
#include "sound/music.h"

#include <set>
#include <string>

namespace {

pak_system* store = nullptr;
v_replay* recorder = nullptr;
v_replay* connected_replay = nullptr;
// Names that did not resolve: reported once (by the store), then skipped, so a missing
// collision sample does not log at every impact.
std::set<std::string> missing;

collision_sound_table& collision_table()
{
    static collision_sound_table table;
    return table;
}

ref_ptr<w_sample> fetch(const char* name)
{
    ref_ptr<w_sample> sample;
    if (!store || !name || missing.count(name))
        return sample;
    if (!store->get_object(name, sample) || !sample) {
        missing.insert(name);
        sample.reset();
    }
    return sample;
}

class sound_world_hooks : public v_sound_hooks {
public:
    bool play_collision_sound(float volume, int32_t a, int32_t b) override
    {
        return ::play_collision_sound(volume, a, b);
    }
    bool play_named(const char* name, float volume) override { return ::play_named(name, volume); }
};

sound_world_hooks world_hooks;

}  // namespace

sound_mixer& sound_global_mixer()
{
    static sound_mixer mixer;
    return mixer;
}

void sound_tick()
{
    sound_global_mixer().tick();
    music_tick();
}

int32_t play(const ref_ptr<w_sample>& sample, float volume, float pan, int32_t flags)
{
    return sound_global_mixer().play(sample, volume, pan, flags);
}

int32_t play_sample(const ref_ptr<pak_chunkref>& chunk, float volume, float pan, int32_t flags)
{
    if (!chunk || (!chunk->object && chunk->load() != 0))
        return 0;
    ref_ptr<w_sample> sample(dynamic_cast<w_sample*>(chunk->object));
    return play(sample, volume, pan, flags);
}

bool set_volume(int32_t handle, float volume, float seconds)
{
    return sound_global_mixer().set_volume(handle, volume, seconds);
}

bool stop(int32_t handle)
{
    return sound_global_mixer().stop(handle);
}

void set_sound_volume(float volume)
{
    sound_global_mixer().set_sound_volume(volume);
}

void set_music_volume(float volume)
{
    sound_global_mixer().set_music_volume(volume);
}

float sound_volume()
{
    return sound_global_mixer().sound_volume.load(std::memory_order_relaxed);
}

float music_volume()
{
    return sound_global_mixer().music_volume.load(std::memory_order_relaxed);
}

void sound_set_store(pak_system* s)
{
    store = s;
    missing.clear();
}

pak_system* sound_store()
{
    return store;
}

void sound_set_recorder(v_replay* replay)
{
    recorder = replay;
}

void load_collision_sounds()
{
    load_collision_sounds(script_global_tree().get("collision_sounds"));
}

void load_collision_sounds(const script_handle& block)
{
    collision_table().load(block, store);
}

bool play_collision_sound(float volume, int32_t class_a, int32_t class_b)
{
    const char* name = collision_table().choose(class_a, class_b);
    return name && play_named(name, volume);
}

bool play_named(const char* name, float volume)
{
    if (!name)
        return false;
    if (recorder)
        recorder->record_sound(name, volume);
    ref_ptr<w_sample> sample = fetch(name);
    return sample && play(sample, volume, 0.5f, 0) != 0;
}

void play_recorded(const char* name, float volume)
{
    ref_ptr<w_sample> sample = fetch(name);
    if (sample)
        play(sample, volume, 0.5f, 0);
}

void sound_connect_world(v_replay* replay)
{
    sound_disconnect_world();
    v_set_sounds(&world_hooks);
    if (replay) {
        replay->play_sound = play_recorded;
        recorder = replay;
        connected_replay = replay;
    }
}

void sound_disconnect_world()
{
    v_set_sounds(nullptr);
    if (connected_replay) {
        connected_replay->play_sound = nullptr;
        if (recorder == connected_replay)
            recorder = nullptr;
        connected_replay = nullptr;
    }
}
