// The screen shell every menu screen draws and the play screen shares: the left-hand menu
// ("Settings" over "Back" or "Exit"), the frames at the window's sides, the current
// profile's name and stars, the current world's name, the map (or title) background and
// the pointer. It unfolds in stages as its slide grows: the menu box slides in (0 to 1),
// the frames close in (1 to 2), the profile label (2 to 3) and the world label (3 to 4)
// slide out, each pushing the menu box down by 5 units.
#pragma once

#include "game/hud_state.h"
#include "render/glyph_font.h"
#include "render/margin_frames.h"

#include <cstdint>
#include <string>

class game_hud {
public:
    glyph_font text;
    ref_ptr<gl_texture> frames;
    // Copies of the frames stand in for drawing them while they do not change.
    mutable margin_frames margins;
    ref_ptr<gl_texture> map, previous_map;
    ref_ptr<gl_texture> settings_box, label, cursor, title_bg, highlight, star;
    hud_state state;
    int32_t profile_slot = 0;
    std::string profile_name;  // empty: the slot has no profile
    int32_t profile_stars = 0;
    float profile_width = 0.0f;
    float profile_name_room = 0.0f;
    int32_t world_index = -1;
    std::string world_name;
    float world_width = 0.0f;

    // Loads the font and the textures; needs the GL context.
    game_hud();

    // Reads the profile's name and star total (again, after they changed).
    void set_profile(int32_t slot);
    // Shows world w's map and name (none for w < 0); the new map fades in over the old.
    void set_world(int32_t w);

    int32_t world() const { return world_index; }
    int32_t slot() const { return profile_slot; }
    int32_t hovered_item() const { return state.hovered_item; }
    const glyph_font& font() const { return text; }

    // Once per step: the slide moves toward `target` (1 for the menu box, 4 for
    // everything), the map fade advances, and the menu hover follows the pointer.
    void update(float target);

    // The map pictures cross-fading, or the title background scrolled by `scroll` where
    // there is no map; colours are multiplied by `brightness`.
    void draw_background(float scroll, float brightness) const;
    // The shell; `back` labels the lower item "Back", otherwise "Exit".
    void draw_menu(bool back) const;
    // The cursor image centred on the pointer, 8 x 8.
    void draw_pointer(float x, float y) const;
    // The pointer where the window has it.
    void draw_pointer() const;

    // A star total as the star, a number and maybe the half star; returns where it ends.
    float print_stars(float x, float y, float height, int32_t half_stars) const;
};
