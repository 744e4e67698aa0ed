// The logic of the settings screen: the Accept button and the two mute switches.
#pragma once

#include "game/ui_sound.h"

#include <cstdint>

enum : int32_t { settings_none = 0, settings_accept = 1, settings_music = 2, settings_sound = 3 };

struct settings_outcome {
    ui_sound sound = ui_sound::none;
    bool accepted = false;
};

struct settings_logic {
    int32_t hovered = settings_none;
    // Accept was pressed: the screen ends, and presses after it do nothing.
    bool accepted = false;

    // Follows the pointer (view units).
    ui_sound point(float x, float y);
    // A left press: a switch toggles and applies at once; Accept saves and ends.
    settings_outcome press();
};
