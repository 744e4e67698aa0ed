// glyph_font: the advance table from the sheet's alpha, measuring and printing.
#include "render/glyph_font.h"

#include <GL/gl.h>

#include <vector>

namespace {

// Whether some texel of column x between rows y0 and y1 has an alpha above `level`.
bool column_inked(const uint8_t* rgba, int32_t width, int32_t x, int32_t y0, int32_t y1, uint8_t level)
{
    for (int32_t y = y0; y < y1; ++y)
        if (rgba[(size_t(y) * size_t(width) + size_t(x)) * 4 + 3] > level)
            return true;
    return false;
}

}  // namespace

glyph_font::glyph_font()
{
    for (float& a : advance)
        a = glyph_empty_advance;
    advance[' '] = glyph_space_advance;
}

glyph_font::glyph_font(ref_ptr<gl_texture> sheet) : glyph_font()
{
    texture = std::move(sheet);
    std::vector<uint8_t> rgba;
    if (texture && texture->read_pixels(rgba))
        measure_sheet(rgba.data(), texture->width(), texture->height());
}

void glyph_font::measure_sheet(const uint8_t* rgba, int32_t width, int32_t height)
{
    int32_t cw = width / 16, ch = height / 16;
    if (!rgba || cw <= 0 || ch <= 0)
        return;
    float texel = 16.0f / float(width);
    for (int32_t code = 0; code < 256; ++code) {
        int32_t x0 = (code & 15) * cw, y0 = (code >> 4) * ch;
        int32_t end = cw;
        bool started = false;
        for (int32_t col = 0; col < cw; ++col) {
            if (!started) {
                started = column_inked(rgba, width, x0 + col, y0, y0 + ch, 128);
                continue;
            }
            if (!column_inked(rgba, width, x0 + col, y0, y0 + ch, 64)) {
                end = col;
                break;
            }
        }
        advance[code] = float(end) * texel - 0.09375f;
    }
    advance[' '] = glyph_space_advance;
}

float glyph_font::measure(const char* text) const
{
    float sum = 0.0f;
    if (text)
        for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c)
            sum += advance[*c];
    return sum;
}

float glyph_font::print(float x, float y, float size, const char* text, int32_t alignment) const
{
    if (!text)
        return x;
    int32_t horizontal = alignment & 3;
    if (horizontal == font_centre)
        x -= measure(text) * size / 2.0f;
    else if (horizontal == font_right)
        x -= measure(text) * size;
    if (alignment & font_middle)
        y -= size / 2.0f;
    if (!*text)
        return x;
    if (texture)
        texture->bind(-1);
    else
        glBindTexture(GL_TEXTURE_2D, 0);
    glBegin(GL_QUADS);
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        float u = float(*c & 15) / 16.0f, v = float(*c >> 4) / 16.0f;
        glTexCoord2f(u, v);
        glVertex3f(x, y, -1.0f);
        glTexCoord2f(u + 0.0625f, v);
        glVertex3f(x + size, y, -1.0f);
        glTexCoord2f(u + 0.0625f, v + 0.0625f);
        glVertex3f(x + size, y + size, -1.0f);
        glTexCoord2f(u, v + 0.0625f);
        glVertex3f(x, y + size, -1.0f);
        x += size * advance[*c];
    }
    glEnd();
    return x;
}
