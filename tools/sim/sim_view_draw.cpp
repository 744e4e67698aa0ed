// tamble-sim view's frame: outline, world, effect and verdict.
#include "tools/sim/sim_view_draw.h"

#include "physics/level.h"
#include "render/world_draw.h"

#include <SDL_opengl.h>

#include <cstring>

namespace {

struct rgb_t {
    float r, g, b;
};

void set_colour(rgb_t c)
{
    glColor3f(c.r, c.g, c.b);
}

void rect_outline(float l, float t, float r, float b)
{
    glBegin(GL_LINE_LOOP);
    glVertex2f(l, t);
    glVertex2f(r, t);
    glVertex2f(r, b);
    glVertex2f(l, b);
    glEnd();
}

// Stroke glyphs of the verdict words on a 4 x 6 grid: polylines of points written as two
// letters each, x and y in half units from 'a' (so "ia" is the point (4, 0)).
const char* glyph_strokes(char c)
{
    switch (c) {
    case 'A':
        return "amaeeaieim ahih";
    case 'D':
        return "aafaidijfmamaa";
    case 'E':
        return "iaaaamim aggg";
    case 'F':
        return "iaaaam aggg";
    case 'I':
        return "eaem caga cmgm";
    case 'L':
        return "aaamim";
    case 'O':
        return "aaiaimamaa";
    case 'S':
        return "iaaaagigimam";
    case 'V':
        return "aaemia";
    default:
        return "";
    }
}

// Draws `text` centred on (cx, top) with letters `height` view units tall.
void stroke_text(const char* text, float cx, float top, float height)
{
    float unit = height / 6.0f, advance = 6.0f * unit;
    float x0 = cx - (float(std::strlen(text)) * advance - 2.0f * unit) / 2.0f;
    for (const char* c = text; *c; ++c, x0 += advance) {
        const char* p = glyph_strokes(*c);
        while (*p) {
            glBegin(GL_LINE_STRIP);
            for (; p[0] && p[0] != ' ' && p[1]; p += 2)
                glVertex2f(x0 + float(p[0] - 'a') * unit / 2.0f, top + float(p[1] - 'a') * unit / 2.0f);
            glEnd();
            while (*p == ' ')
                ++p;
        }
    }
}

// A band across the view with SOLVED or FAILED, and a frame in the verdict's colour.
void draw_verdict(const v_world& world, const float view[4])
{
    bool solved = world.verdict == v_verdict_solved;
    rgb_t colour = solved ? rgb_t{0.1f, 0.9f, 0.2f} : rgb_t{0.95f, 0.1f, 0.1f};
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
    glBegin(GL_QUADS);
    glVertex2f(view[0], 26.0f);
    glVertex2f(view[2], 26.0f);
    glVertex2f(view[2], 38.0f);
    glVertex2f(view[0], 38.0f);
    glEnd();
    glDisable(GL_BLEND);

    set_colour(colour);
    glLineWidth(4.0f);
    stroke_text(solved ? "SOLVED" : "FAILED", 32.0f, 28.0f, 8.0f);
    glLineWidth(8.0f);
    rect_outline(view[0] + 0.3f, view[1] + 0.3f, view[2] - 0.3f, view[3] - 0.3f);
    glLineWidth(1.0f);
}

}  // namespace

void sim_view_draw_frame(const v_world& world, visual_effect* effect, bool debug, const float view[4])
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glLineWidth(1.0f);
    set_colour({0.25f, 0.25f, 0.3f});
    rect_outline(0, 0, v_playfield_size, v_playfield_size);

    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    world_draw_style style;
    style.debug = debug;
    style.fallback = true;
    draw_world(world, style);

    // The level's effect runs once per drawn frame, over the world, in white.
    if (effect) {
        effect->update();
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        effect->draw();
        glDisable(GL_BLEND);
    }

    if (world.verdict != v_verdict_undecided)
        draw_verdict(world, view);
}
