// The render target and the capture of a level's four pictures.
//
// Set-up (once, on the window's GL context) checks for the framebuffer-object extension
// and makes a framebuffer of S x S pixels (S the window's height), logging the first thing
// that fails on channel 0; while it is not ready, captures do nothing and return false.
// A capture draws into a square of the back buffer:
//
//   render_target& rt = render_target_global();
//   if (rt.setup(window, &pak) && rt.begin_capture()) {   // square viewport, 64 x 64 view
//       draw_world(world, false);
//       rt.save_level_images("tex/Drop");                  // tex/Drop3.bmp ... tex/Drop0.bmp
//   }
//
// The pictures are opaque BMP files of 128, 64, 32 and 16 pixels ("%s3.bmp" to "%s0.bmp"),
// each blurrier than the one before; the play screen's intro fades from 0 to 3.
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
// Writes base + "3.bmp" ... base + "0.bmp"; false when any file cannot be written.
bool write_level_images(const char* base, const std::array<level_image, 4>& images);

// How set-up finds a GL entry point by name (the window layer's, or a test's stand-in).
using gl_proc_resolver = void* (*)(const char* name);

class render_target {
public:
    bool ready = false;
    int32_t size = 0;  // S
    uint32_t framebuffer = 0, depth_buffer = 0, colour_texture = 0;
    ref_ptr<gl_texture> playfield_tile, playfield_background;
    glw_window* window = nullptr;
    // Null: the window layer's resolver, after checking the extension string.
    gl_proc_resolver resolve = nullptr;

    // Makes the framebuffer on the window's context and loads "tex\ui\playfield_tile" and
    // "tex\ui\playfield_background" from the store (null: none). Returns true at once when
    // ready; after a failure it tries again on the next call.
    bool setup(glw_window& on_window, pak_system* store);
    // Flushes GL, saves the viewport and sets a square one of S (at most the window's
    // drawable size) with x 0..64, y 64 (bottom) to 0 (top), cleared to opaque black. The
    // caller then draws the level. False (doing nothing) when not ready.
    bool begin_capture();
    // Restores the viewport, sets the window's view back to centre (32, 32), half-height 32,
    // reads the square back and writes the four pictures. False when not ready or when a
    // file cannot be written.
    bool save_level_images(const char* base);
    // The same up to the four pictures, which it hands back instead of writing them (the
    // level previews keep them as PNG sources). False when not ready.
    bool end_capture(std::array<level_image, 4>& images);
    // Drops the two playfield textures (at shutdown).
    void release();

    // The side of the captured square (S limited to the drawable size).
    int32_t capture_size = 0;
    bool capturing = false;
};

// The render target of the program.
render_target& render_target_global();
