// The logic of the screen shell that every menu screen draws: how far it has unfolded
// (the slide), the cross-fade between two map pictures, which menu item the pointer is
// on, and where each part of the shell sits for a given slide.
#pragma once

#include "game/ui_sound.h"

#include <cstdint>

// Slides the screens unfold the shell to: the menu box only, or everything.
constexpr float hud_slide_menu = 1.0f;
constexpr float hud_slide_full = 4.0f;

// Menu items: the upper one is "Settings", the lower one "Back" or "Exit".
enum : int32_t { hud_item_none = 0, hud_item_settings = 1, hud_item_back = 2 };

struct hud_state {
    float slide = 0.0f;
    // 0 shows the previous map picture, 1 the current one.
    float map_fade = 0.0f;
    int32_t hovered_item = hud_item_none;

    // One step: the map fade and the slide advance, and the hovered item follows the
    // pointer. A change onto an item asks for the rollover sound.
    ui_sound update(float target, float pointer_x, float pointer_y, float view_width);
    // A new map picture starts fading in from where the old fade stood.
    void restart_map_fade() { map_fade = 1.0f - map_fade; }
};

// The item under the pointer for a slide and a view width (view units).
int32_t hud_item_at(float x, float y, float slide, float view_width);

// Where the shell's parts sit (view units) for a slide; widths are of the labels.
struct hud_layout {
    float margin = 0;         // L: how far the view reaches beyond the 64-unit square
    float menu_shift = 0;     // c: the menu box slides in from the left while slide < 1
    float menu_drop = 0;      // o: the labels push the menu box down while slide > 2
    bool frames = false;      // the frames show
    float frames_offset = 0;  // f: how far the frames still are outside the view
    bool profile_label = false;
    float profile_x = 0;     // g: how far the profile label has slid out
    float profile_drop = 0;  // h
    bool world_label = false;
    float world_x = 0;     // k
    float world_drop = 0;  // m
};
hud_layout hud_layout_for(float slide, float view_width, float profile_width, float world_width);

// The label pictures' lengths: a label slides out at most this far.
constexpr float hud_profile_label_length = 28.0f;
constexpr float hud_world_label_length = 24.0f;

// Label widths: the profile's name and star text (compact form) measured in glyph
// heights, and the world's name; never longer than the label's picture.
float hud_profile_label_width(float name_measure, float stars_measure);
float hud_world_label_width(float name_measure);
// How wide a name may be drawn (view units) so that it and what follows it stay on the
// label, clear of the rivet at its end; a longer name is set smaller.
float hud_profile_name_room(float stars_measure);
float hud_world_name_room();
