// The editors' fixed-cell font and textured rectangle. The font's sheet ("tex\font\8x8_1")
// is a 16 x 16 grid like the glyph font's; every character takes one cell, so columns of
// text line up. Both draw nothing when their texture is missing.
#pragma once

#include "render/texture.h"

#include <cstdint>

class font : public ref_counter {
public:
    ref_ptr<gl_texture> texture;
    float cell_width = 0.66f, cell_height = 1.0f;  // drawing units
    // One cell in texture coordinates less one texel, so that neighbours never bleed in:
    // 0.0625 - 1 / sheet width (0.0625 without a sheet).
    float cell_span = 0.0625f;

    font(ref_ptr<gl_texture> sheet, float cell_w, float cell_h);

    // Draws text from (x, y) (top left of the first cell) at depth z, one line.
    void print(float x, float y, float z, const char* text) const;
    // The same, going on at (wrap_x, y + cell height) whenever x has passed right_limit.
    // Returns the x after the last character (x when nothing is drawn).
    float print_wrapped(float x, float y, float z, float wrap_x, float right_limit, const char* text) const;
};

// Flags of draw_textured_rect: keep the full texture width (1) or height (2) instead of
// shrinking the coordinates by one texel.
enum : uint32_t { rect_full_u = 1, rect_full_v = 2 };

// A triangle fan over the rectangle (x0, y0) - (x1, y1) at depth z with texture coordinates
// from (0, 0) to (u_scale, v_scale), each scaled by (1 - 1 / texture size) unless its flag is
// set. Nothing without a texture.
void draw_textured_rect(gl_texture* texture, uint32_t flags, float x0, float y0, float x1, float y1, float z,
                        float u_scale = 1.0f, float v_scale = 1.0f);
