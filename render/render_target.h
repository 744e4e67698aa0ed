// The render target and the square capture that level pictures are made from.
//
// Set-up (once, on the window's GL context) checks for the framebuffer-object extension
// and makes a framebuffer of S x S pixels (S the window's height), logging the first thing
// that fails on channel 0; while it is not ready, captures do nothing and return false.
// A capture draws into a square of the back buffer and reads it back as four pictures:
//
//   render_target& rt = render_target_global();
//   std::array<level_image, 4> images;
//   if (rt.setup(window, &pak) && rt.begin_capture()) {   // square viewport, 64 x 64 view
//       draw_world(world, false);
//       rt.end_capture(images);                           // 128, 64, 32 and 16 pixels
//   }
//
// The pictures are opaque, each blurrier than the one before; the play screen's intro fades
// from 0 (16 pixels) to 3 (128). Level pictures are made by capture_level_pictures
// (render/level_pictures.h), which draws the level this way and writes them.
#pragma once

#include "render/texture.h"

#include <array>
#include <cstdint>
#include <vector>

class glw_window;

// One picture of a level: BGRA bytes, the bottom row first (as BMP files keep them).
struct level_image {
    int32_t size = 0;
    std::vector<uint8_t> bgra;
};

// The four pictures from an S x S capture (BGRA, bottom row first): index 3 is S resampled
// to 128 with sigma S / 128, then 64 (sigma 2), 32 (sigma 3) and 16 (sigma 4), each from the
// one before. All are opaque.
std::array<level_image, 4> make_level_images(const uint8_t* bgra, int32_t size);

// How set-up finds a GL entry point by name (the window layer's, or a test's stand-in).
using gl_proc_resolver = void* (*)(const char* name);

class render_target {
public:
    bool ready = false;
    bool tried = false;  // set-up has run (and, without `ready`, failed)
    int32_t size = 0;    // S
    uint32_t framebuffer = 0, depth_buffer = 0, colour_texture = 0;
    ref_ptr<gl_texture> playfield_tile, playfield_background;
    glw_window* window = nullptr;
    // Null: the window layer's resolver, after checking the extension string.
    gl_proc_resolver resolve = nullptr;

    // Makes the framebuffer on the window's context and loads "tex\ui\playfield_tile" and
    // "tex\ui\playfield_background" from the store (null: none). It is tried once: later
    // calls give the first answer at once, so a failure is logged once and what it made is
    // deleted once.
    bool setup(glw_window& on_window, pak_system* store);
    // Flushes GL, saves the viewport and sets a square one of S (at most the window's
    // drawable size) with x 0..64, y 64 (bottom) to 0 (top), cleared to opaque black. The
    // caller then draws the level. False (doing nothing) when not ready.
    bool begin_capture();
    // Restores the viewport, sets the window's view back to centre (32, 32), half-height 32,
    // reads the square back and makes the four pictures. False when not ready or no
    // capture was begun.
    bool end_capture(std::array<level_image, 4>& images);
    // Drops the two playfield textures (at shutdown).
    void release();

    // The side of the captured square (S limited to the drawable size).
    int32_t capture_size = 0;
    bool capturing = false;
};

// The render target of the program.
render_target& render_target_global();
