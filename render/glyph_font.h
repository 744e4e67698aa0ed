// glyph_font: the proportional bitmap font of the game screens. Its sheet
// ("tex\font\64x64_Black") is a 16 x 16 grid of equal cells; character code c sits in
// column c & 15, row c >> 4 (row 0 at the top). Advances are measured from the sheet's
// ink once, at construction, in units of the glyph height. Codes are unsigned: typed
// names may hold Latin-1 letters (128 to 255), which index the sheet's lower half.
//
//   glyph_font f(sheet);
//   float end = f.print(32, 10, 3, "READY", font_centre | font_middle);
#pragma once

#include "render/texture.h"

#include <cstdint>

// Alignment bits of glyph_font::print. (alignment & 3): 0 (or 3) draws from x, 1 centres
// the text on x, 2 ends it at x; alignment & 4 centres the glyphs vertically on y (else y
// is their top).
enum : int32_t {
    font_left = 0,
    font_centre = 1,
    font_right = 2,
    font_middle = 4,
};

// The advance of a cell without any ink, and of the space character.
constexpr float glyph_empty_advance = 0.90625f;
constexpr float glyph_space_advance = 0.2f;

class glyph_font {
public:
    ref_ptr<gl_texture> texture;
    float advance[256];

    // A font whose every advance is that of an empty cell (no sheet to measure).
    glyph_font();
    // Measures the sheet (read back from GL); a missing or empty sheet measures as empty.
    explicit glyph_font(ref_ptr<gl_texture> sheet);

    // The advance table from a sheet's pixels (RGBA, rows top to bottom; only alpha is read).
    // Scanning a cell's columns from the left, the first column with an alpha above 128
    // starts the glyph; after it, the first column with no alpha above 64 ends it. The
    // advance is the end's distance from the cell's left edge, in cells, less 0.09375.
    void measure_sheet(const uint8_t* rgba, int32_t width, int32_t height);

    // Sum of the advances (glyph heights); 0 for null.
    float measure(const char* text) const;
    // Draws the text with glyphs `size` tall at depth -1 in the current colour and returns
    // the x where it ends. A null text draws nothing and returns x.
    float print(float x, float y, float size, const char* text, int32_t alignment = font_left) const;
};
