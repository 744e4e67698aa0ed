// font (fixed cells) and the textured rectangle of the editors.
#include "render/font.h"

#include <GL/gl.h>

font::font(ref_ptr<gl_texture> sheet, float cell_w, float cell_h)
    : texture(std::move(sheet)), cell_width(cell_w), cell_height(cell_h)
{
    if (texture && texture->width() > 0)
        cell_span = 0.0625f - 1.0f / float(texture->width());
}

void font::print(float x, float y, float z, const char* text) const
{
    print_wrapped(x, y, z, 0.0f, 16777216.0f, text);
}

float font::print_wrapped(float x, float y, float z, float wrap_x, float right_limit, const char* text) const
{
    if (!texture || !text)
        return x;
    texture->bind(-1);
    glBegin(GL_TRIANGLES);
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if (x > right_limit) {
            x = wrap_x;
            y += cell_height;
        }
        float u0 = float(*c & 15) / 16.0f, v0 = float(*c >> 4) / 16.0f;
        float x1 = x + cell_width, y1 = y + cell_height;
        auto corner = [&](float cx, float cy, float u, float v) {
            glTexCoord2f(u, v);
            glVertex3f(cx, cy, z);
        };
        // Two triangles: top-left, top-right, bottom-right; top-left, bottom-right, bottom-left.
        corner(x, y, u0, v0);
        corner(x1, y, u0 + cell_span, v0);
        corner(x1, y1, u0 + cell_span, v0 + cell_span);
        corner(x, y, u0, v0);
        corner(x1, y1, u0 + cell_span, v0 + cell_span);
        corner(x, y1, u0, v0 + cell_span);
        x = x1;
    }
    glEnd();
    return x;
}

void draw_textured_rect(gl_texture* texture, uint32_t flags, float x0, float y0, float x1, float y1, float z,
                        float u_scale, float v_scale)
{
    if (!texture)
        return;
    if (!(flags & rect_full_u) && texture->width() > 0)
        u_scale *= 1.0f - 1.0f / float(texture->width());
    if (!(flags & rect_full_v) && texture->height() > 0)
        v_scale *= 1.0f - 1.0f / float(texture->height());
    texture->bind(-1);
    glBegin(GL_TRIANGLE_FAN);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x0, y0, z);
    glTexCoord2f(u_scale, 0.0f);
    glVertex3f(x1, y0, z);
    glTexCoord2f(u_scale, v_scale);
    glVertex3f(x1, y1, z);
    glTexCoord2f(0.0f, v_scale);
    glVertex3f(x0, y1, z);
    glEnd();
}
