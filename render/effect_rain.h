// effect_rain: slanted streaks falling over the play square, and small splash animations
// at random marker points of the world. Random numbers come from rand(), so a run seeded
// with srand() repeats.
#pragma once

#include "physics/world.h"
#include "render/effect.h"
#include "render/texture.h"

#include <cstdint>

struct effect_vertex {
    float x = 0, y = 0, z = -1.0f, u = 0, v = 0;
    float unused[3] = {};
};

class effect_rain : public visual_effect {
public:
    static constexpr int32_t streak_count = 96;
    static constexpr int32_t splash_count = 4;

    float angle = 0.26179934f;  // 15 degrees: the streaks lean and drift toward -x
    float speed_scale = 0.3f;
    ref_ptr<gl_texture> streak_texture;  // "tex\Effect_RainStreak"
    effect_vertex streaks[streak_count * 4];
    float speeds[streak_count] = {};
    ref_ptr<gl_texture> splash_texture;  // "tex\Effect_RainSpat_Frame", animated by index
    int32_t splash_timers[splash_count] = {};
    effect_vertex splashes[splash_count * 4];
    // Where splashes land: the world's markers. The owner keeps it current (a restart
    // builds a new world); null puts every splash at the origin.
    const v_world* world = nullptr;

    // Spawns every streak up to 160 units above the view, starts the splash timers at
    // random points of their cycle and runs update() once. Textures come from the store
    // (none without one: nothing is drawn).
    effect_rain(pak_system* store, const v_world* on_world);

    // Puts streak q at a random x across the view (and beyond its left side, since the
    // rain drifts) and between 32 and 32 + spread units above the top, 1 to 5 times the
    // smallest size, falling at 0.3 times its size per frame.
    void spawn(int32_t q, float spread);
    // Stands splash k as a 2 x 2 square on a random marker, raised along its normal.
    void place_splash(int32_t k);
    // The splash frame for a timer (0 to 16384): (frame count x timer) >> 14, held to the
    // last frame when the timer is exactly 16384.
    int32_t splash_frame(int32_t k) const;

    void update() override;
    void draw() override;
};
