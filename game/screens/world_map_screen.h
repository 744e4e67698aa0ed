// The world map: the levels of the current world as tiles on its map, opened by the
// profile's progress; hovering shows a level's title and difficulty, a click zooms into
// the tile and flips it over to the level's first intro picture, and the level is chosen.
#pragma once

#include "game/screens/game_assets.h"
#include "game/world_map_logic.h"

#include <cstdint>
#include <vector>

class game_hud;

class world_map_screen {
public:
    ref_ptr<gl_texture> popup, glow, pip_off, pip_half, pip_on, revealed;
    gl_texture_cache tiles{&game_pak()};
    std::vector<gl_texture*> rune_plate;
    world_map_logic logic;

    world_map_screen();
    // The chosen level's index, or -1 when the player left through the menu (or the
    // window closed). `returning`: back from a level, the map fades in from black.
    int32_t run(game_hud& hud, bool returning);
    // One frame's picture of the screen as it stands (its frame loop calls it; so do the
    // rendering benchmarks).
    void draw(const game_hud& hud);

private:
    void draw_tile(const map_level& level, float glow_size, float tile_size, float icon_size);
    void draw_popup(const game_hud& hud, const map_level& level);
    void draw_card(const map_level& level);
};
