// Fitting text to a width.
#include "game/screens/fit_text.h"

#include "render/glyph_font.h"

#include <algorithm>

float fit_print(const glyph_font& font, float x, float top, float height, float max_width, const char* text)
{
    float width = font.measure(text) * height;
    float h = width > max_width ? height * max_width / width : height;
    return font.print(x, top + (height - h) / 2, h, text);
}
