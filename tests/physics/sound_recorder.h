// Sound hooks for tests: every call the world makes is kept, in order.
#pragma once

#include "physics/sound_hooks.h"

#include <string>
#include <vector>

struct sound_recorder : v_sound_hooks {
    struct call {
        std::string name;  // empty for a collision sound
        float volume = 0.0f;
        int32_t a = 0, b = 0;
    };
    std::vector<call> calls;

    sound_recorder() { v_set_sounds(this); }
    ~sound_recorder() override { v_set_sounds(nullptr); }

    bool play_collision_sound(float volume, int32_t a, int32_t b) override
    {
        calls.push_back({"", volume, a, b});
        return true;
    }
    bool play_named(const char* name, float volume) override
    {
        calls.push_back({name, volume, 0, 0});
        return true;
    }
};
