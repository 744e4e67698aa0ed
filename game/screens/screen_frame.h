// What every menu screen's frame loop shares: the app window's side of a frame, the 2-D
// drawing state, the message pump with the quit it may report, the input drain and the
// pointer.
#pragma once

#include "app/input_drain.h"
#include "app/pacing.h"
#include "game/hit_test.h"
#include "render/texture.h"

// The window's side of a frame for the app window: flush, clear, swap, and at the end of
// every frame the drain of the input queues into `sink` (app/input_drain.h).
frame_host_t screen_host(input_sink_t sink);

// Empties the app window's input queues into `sink`, for a screen that runs its own loop.
void screen_drain(const input_sink_t& sink);

// The 2-D state screens draw in: depth test off, textures and blending on, colour (b, b, b, 1).
void screen_begin_2d(float brightness = 1.0f);

// A texture (may be null) on a rectangle of a screen's layout.
void screen_quad(gl_texture* texture, const ui_rect& r, gl_uv uv0 = {0, 0}, gl_uv uv1 = {1, 1});

// Pumps the window's messages. Once the window is closed (or the test driver's frame
// limit is reached) it stays false, so that every screen leaves and the program ends.
bool screen_pump();
bool screen_quit_requested();

// The pointer in view units.
void screen_pointer(float& x, float& y);
// The width of the view in units (80 on a 5:4 window).
float screen_view_width();
// Sets the view (centre, half-height) of the app window.
void screen_set_view(float cx, float cy, float half_height);
