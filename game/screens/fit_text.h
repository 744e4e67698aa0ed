// Text that has to fit a space: set smaller when it would run past `max_width`, keeping
// its vertical middle where the full-size text would have it.
#pragma once

class glyph_font;

// Prints from x with the top at `top` for the full height; returns where the text ends.
float fit_print(const glyph_font& font, float x, float top, float height, float max_width, const char* text);
