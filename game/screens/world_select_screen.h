// World selection: the worlds on the upright scroll with the player's medallions, rune
// segments and completion; a selected world's map fades in behind and its emblem shows
// above the list; OK chooses it.
#pragma once

#include "game/screens/game_assets.h"
#include "game/world_select_logic.h"

#include <cstdint>
#include <vector>

class game_hud;

class world_select_screen {
public:
    ref_ptr<gl_texture> scroll, emblem_default, list_lines, label_bar, ok_normal, ok_hover, emblem;
    gl_texture_cache icons{&game_pak()};
    std::vector<world_record> records;
    world_select_logic logic;

    world_select_screen();
    // The chosen world's index, or -1 when the player went back (or the window closed).
    // Rebuilds the ending mask from the worlds in the data.
    int32_t run(game_hud& hud);
    // One frame's picture of the screen as it stands (its frame loop calls it; so do the
    // rendering benchmarks).
    void draw(const game_hud& hud);

private:
    void draw_row(const game_hud& hud, int32_t row);
};
