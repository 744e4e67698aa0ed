// The scroll: three quads in the scroll's own frame, turned and moved to the view centre.
#include "game/screens/scroll.h"

#include "render/texture.h"

#include <SDL_opengl.h>

#include <cmath>

namespace {

float ease(float x)
{
    return x < 0.5f ? (2 * x) * (2 * x) / 2 : 1 - (2 - 2 * x) * (2 - 2 * x) / 2;
}

struct turned_frame {
    float c, s;
    void vertex(float x, float y, float u, float v) const
    {
        glTexCoord2f(u, v);
        glVertex3f(32 + x * c - y * s, 32 + x * s + y * c, -1.0f);
    }
    // The local band from y0 to y1 across the scroll's whole length.
    void band(float y0, float y1, float t0, float t1) const
    {
        vertex(-32, y0, 0, t0);
        vertex(32, y0, 1, t0);
        vertex(32, y1, 1, t1);
        vertex(-32, y1, 0, t1);
    }
};

}  // namespace

void draw_scroll(gl_texture* segments, float turn, float opening)
{
    if (!segments)
        return;
    float e = ease(turn);
    float o = e > 0.5f ? opening * 1.3f : opening;
    float angle = e * 1.5707f;
    turned_frame f{std::cos(angle), std::sin(angle)};
    segments->bind();
    glBegin(GL_QUADS);
    f.band(-8 - 12 * o, -12 * o, 0.0f, 0.125f);
    f.band(-12 * o, 12 * o, 0.4375f - 0.1875f * opening, 0.4375f + 0.1875f * opening);
    f.band(12 * o, 12 * o + 8, 0.125f, 0.25f);
    glEnd();
}
