// The seam through which the world raises sounds: collision sounds by the two sound
// classes ("material") of what collided, and named samples such as the caught-ball
// jingle. The sound module installs its hooks at start-up; until then every call is
// silent. Tests install their own hooks to observe the calls.
#pragma once

#include <cstdint>

class v_sound_hooks {
public:
    virtual ~v_sound_hooks() = default;
    // True when a voice started.
    virtual bool play_collision_sound(float volume, int32_t class_a, int32_t class_b);
    virtual bool play_named(const char* name, float volume);
};

// The hooks in use (a silent set when none were installed).
v_sound_hooks& v_sounds();
// Installs hooks (not owned; they must outlive their use); null restores silence.
void v_set_sounds(v_sound_hooks* hooks);

// A collision's sound strength is its approach speed (or impulse) over this scale, so
// that a hit at 50 units/s plays at full volume.
constexpr float v_sound_strength_scale = 50.0f;
// Collisions raise a sound only above this strength.
constexpr float v_sound_threshold = 0.05f;
