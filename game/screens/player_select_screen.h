// The player-select screen: the four save slots on a scroll in front of the title world;
// selecting, naming, creating, deleting (with a question first) and choosing a profile.
#pragma once

#include "app/input_drain.h"
#include "game/player_select_logic.h"
#include "physics/world.h"
#include "render/texture.h"

#include <cstdint>

class game_hud;

class player_select_screen {
public:
    ref_ptr<gl_texture> star, scroll, list_lines, label_bar, text_cursor, delete_normal, delete_hover,
        ok_normal, ok_hover, paper, yes_no;
    player_select_logic logic;

    player_select_screen();
    // The chosen slot (0 to 3), saved with its name; -1 when the player chose Exit (or the
    // window closed). The title world plays behind the list; it may be null.
    int32_t run(game_hud& hud, v_world* title_world);
    // One frame's picture of the screen as it stands (its frame loop calls it; so do the
    // rendering benchmarks).
    void draw(const game_hud& hud, const v_world* title_world) const;

private:
    void draw_rows(const game_hud& hud) const;
    void draw_question(const game_hud& hud) const;
    // What the frame's drain hands the logic.
    input_sink_t input(const game_hud& hud);
};
