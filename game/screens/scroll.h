// The paper scroll the menus are written on: two rollers with the paper between them,
// from "tex\ui\title_scroll_segments" (top roller, bottom roller and paper stacked in the
// texture). Player select shows it lying across the view; world selection shows it turned
// upright, its rollers down the left and right sides.
#pragma once

class gl_texture;

// Draws the scroll around (32, 32) in the current colour, at depth -1: `turn` 0 lies across the view,
// 1 stands upright (eased between); `opening` 0 is rolled up, 1 open (an upright scroll
// opens 1.3 times as wide).
void draw_scroll(gl_texture* segments, float turn, float opening);
