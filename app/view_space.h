// The view space every screen, the level pictures and the tools draw in: 64 units tall, y 0
// at the top and growing downward, x centred on 32 and as wide as the window's aspect makes
// it. The levels' playfield (x and y 0..64) fills the view's height.
#pragma once

constexpr float view_size = 64.0f;    // the view's height
constexpr float view_centre = 32.0f;  // the view's centre on both axes
// Depth runs from 0 (front) to -view_depth (back, the far plane).
constexpr float view_depth = 16.0f;
static_assert(view_centre == view_size / 2);
