// The silent default of the world's sound seam.
#include "physics/sound_hooks.h"

namespace {

v_sound_hooks silent_hooks;
v_sound_hooks* current_hooks = &silent_hooks;

}  // namespace

bool v_sound_hooks::play_collision_sound(float, int32_t, int32_t)
{
    return false;
}
bool v_sound_hooks::play_named(const char*, float)
{
    return false;
}

v_sound_hooks& v_sounds()
{
    return *current_hooks;
}

void v_set_sounds(v_sound_hooks* hooks)
{
    current_hooks = hooks ? hooks : &silent_hooks;
}
