// The frame of tamble-sim view: the playfield's outline, the world in the game's world
// drawing with plain lines and discs for what has no texture, the level's effect, and the
// verdict once the level is decided. The rendering benchmarks draw the same frame as the
// reference the play screen is measured against.
#pragma once

#include "physics/world.h"
#include "render/effect.h"

// Clears the window and draws the frame in the current view; `view` is the window's view
// rectangle (left, top, right, bottom in view units). The effect, which may be null, takes
// its step for the frame here.
void sim_view_draw_frame(const v_world& world, visual_effect* effect, bool debug, const float view[4]);
