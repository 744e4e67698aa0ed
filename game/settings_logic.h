// The logic of the settings screen: the Accept button and the two mute switches.
#pragma once

#include "game/hit_test.h"
#include "game/ui_sound.h"

#include <cstdint>

enum : int32_t { settings_none = 0, settings_accept = 1, settings_music = 2, settings_sound = 3 };

// The layout (view units): the paper, the two switches with their labels to the right on
// the same line, and Accept with its word in the middle. Texts are settings_text_height.
constexpr ui_rect settings_paper{32, 32, 32, 24};
constexpr ui_rect settings_music_box{20, 27, 3, 3};
constexpr ui_rect settings_sound_box{20, 30, 3, 3};
constexpr float settings_label_x = 22;
constexpr ui_rect settings_accept_button{42, 37, 12, 3};
constexpr float settings_text_height = 3;

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
