// The play screen: one level for one profile in the window. Its states, input and progress
// are play_logic's (game/play_logic.h); this is the frame loop around it, the drawing (the
// intro cross-fade, margins, buttons with sliding labels, captions, the star counter, cards,
// the solution's vignette), the level's rain, sounds and music, and the developer capture.
// While the window is minimised or has lost the focus the level pauses where it is.
#pragma once

#include "app/input_drain.h"
#include "game/play_logic.h"
#include "game/screens/game_assets.h"
#include "render/blur_sequence.h"
#include "render/effect.h"
#include "render/margin_frames.h"
#include "render/texture.h"
#include "render/texture_cache.h"

#include <cstdint>
#include <memory>
#include <string>

class game_hud;

class play_screen {
public:
    play_logic logic;
    std::unique_ptr<visual_effect> effect;
    ref_ptr<gl_texture> intro_images[4];
    ref_ptr<gl_texture> cursor, star_off, star_half, star_on, highlight, frames, vignette, paper;
    ref_ptr<gl_texture> button_restart, button_solution, button_menu;
    ref_ptr<gl_texture> label_restart, label_solution, label_menu, backdrop;
    std::unique_ptr<blur_sequence> caption_ready, caption_success, caption_failed;
    gl_texture_cache card_textures{&game_pak()};
    // The frames beside the level; copies of them stand in while they do not change.
    margin_frames margins;
    bool paused = false;

    play_screen(int32_t slot, int32_t world, int32_t level);
    ~play_screen();
    play_screen(const play_screen&) = delete;
    play_screen& operator=(const play_screen&) = delete;

    // The level until the player leaves it; true when it completed the game's ending.
    bool run(game_hud& hud);
    // One frame's picture of the screen as it stands (its frame loop calls it; so do the
    // rendering benchmarks).
    void draw(const game_hud& hud, float pointer_x, float pointer_y);

private:
    // What the frame's drain hands the logic.
    input_sink_t input();
    uint64_t buttons_key() const;
    void draw_backdrop(float b, bool frames_kept) const;
    void draw_level(float b);
    void draw_world(const v_world& world, float b, float alpha) const;
    void draw_labels(float b);
    void draw_captions(float b);
    void draw_star_counter(const game_hud& hud, float b);
    void draw_card(const game_hud& hud, float b);
    void draw_pause(const game_hud& hud);
    void capture_intro_images();
};

// The data folder the developer capture (Ctrl+P) writes the level's four intro pictures
// into, as the sources the archive build packs ("<folder>/tex/levels/<level>0.png" ...,
// render/level_pictures.h): the first --data tree, else "base".
void play_set_capture_folder(const std::string& folder);
