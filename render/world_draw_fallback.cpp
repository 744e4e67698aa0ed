// The plain look of objects without textures: outlines, lines, zigzags and discs, coloured
// by ball and pot colour (1 red, 2 blue, 3 green, 4 yellow, as the base types name them).
#include "render/world_draw_internal.h"

#include "physics/trig.h"

#include <GL/gl.h>

namespace {

struct rgb_t {
    float r, g, b;
};

rgb_t colour_of(int32_t colour)
{
    static const rgb_t palette[] = {
        {0.75f, 0.75f, 0.75f}, {0.95f, 0.15f, 0.15f}, {0.2f, 0.4f, 1.0f},  {0.15f, 0.8f, 0.2f},
        {1.0f, 0.85f, 0.1f},   {0.8f, 0.2f, 0.9f},    {0.1f, 0.85f, 0.9f}, {1.0f, 0.55f, 0.1f},
    };
    constexpr int32_t n = int32_t(sizeof palette / sizeof palette[0]);
    if (colour <= 0)
        return palette[0];
    return palette[1 + (colour - 1) % (n - 1)];
}

rgb_t dimmed(rgb_t c, float f)
{
    return {c.r * f, c.g * f, c.b * f};
}

void set_colour(rgb_t c)
{
    glColor3f(c.r, c.g, c.b);
}

void line(vec2 a, vec2 b)
{
    glVertex2f(a.x, a.y);
    glVertex2f(b.x, b.y);
}

void disc(vec2 c, float r)
{
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(c.x, c.y);
    for (int i = 0; i <= 20; ++i) {
        float s, co;
        v_sincos(float(i) * 6.2831853f / 20.0f, s, co);
        glVertex2f(c.x + r * co, c.y + r * s);
    }
    glEnd();
}

void polyline(const v_constraint& c)
{
    glBegin(GL_LINE_STRIP);
    glVertex2f(c.n1->position.x, c.n1->position.y);
    for (const v_node& n : c.inodes)
        glVertex2f(n.position.x, n.position.y);
    glVertex2f(c.n2->position.x, c.n2->position.y);
    glEnd();
}

// A spring is a zigzag between its ends, so that it reads apart from rods and ropes.
void zigzag(vec2 a, vec2 b)
{
    constexpr int teeth = 8;
    constexpr float amplitude = 0.6f;
    vec2 d = b - a;
    float length = d.length();
    vec2 side = length > 0.0f ? vec2{-d.y, d.x} * (amplitude / length) : vec2{};
    glBegin(GL_LINE_STRIP);
    glVertex2f(a.x, a.y);
    for (int i = 1; i < 2 * teeth; ++i) {
        float t = float(i) / float(2 * teeth), sign = i % 2 ? 1.0f : -1.0f;
        vec2 p = a + d * t + side * sign;
        glVertex2f(p.x, p.y);
    }
    glVertex2f(b.x, b.y);
    glEnd();
}

bool is_spring(const v_constraint& c)
{
    return !c.is_rope() && c.type && (c.type->tension_k != 0.0f || c.type->compression_k != 0.0f);
}

// A pot in its colour with its catching edges thick; any other body in grey.
void body_outline(const v_body& b)
{
    int32_t pot_colour = b.type ? b.type->pot_color : 0;
    rgb_t pot = colour_of(pot_colour);
    glLineWidth(pot_colour ? 2.0f : 1.0f);
    set_colour(pot_colour ? dimmed(pot, 0.6f) : rgb_t{0.6f, 0.6f, 0.65f});
    glBegin(GL_LINES);
    for (const v_constraint& c : b.constraints)
        if (!c.pot)
            line(c.n1->position, c.n2->position);
    glEnd();
    glLineWidth(4.0f);
    set_colour(pot);
    glBegin(GL_LINES);
    for (const v_constraint& c : b.constraints)
        if (c.pot)
            line(c.n1->position, c.n2->position);
    glEnd();
}

// Yellow is a ball colour, so the hover and the selection are shown in white.
void constraint_line(const world_fallback_items::constraint_item& item)
{
    const v_constraint& c = *item.constraint;
    if (item.highlight) {
        glLineWidth(item.highlight == 2 ? 5.0f : 3.0f);
        set_colour(item.highlight == 2 ? rgb_t{1.0f, 1.0f, 1.0f} : rgb_t{0.85f, 0.85f, 0.85f});
    } else {
        bool cuttable = c.cuttable();
        glLineWidth(cuttable ? 1.5f : 2.5f);
        set_colour(cuttable ? rgb_t{0.7f, 0.55f, 0.35f} : rgb_t{0.45f, 0.45f, 0.5f});
    }
    if (is_spring(c))
        zigzag(c.n1->position, c.n2->position);
    else
        polyline(c);
}

}  // namespace

void draw_world_fallback(const world_fallback_items& items)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    for (const v_body* b : items.bodies)
        body_outline(*b);
    // Plain lines first, then highlights over them.
    for (const auto& item : items.constraints)
        if (item.body && !item.highlight)
            constraint_line(item);
    for (const auto& item : items.constraints)
        if (item.highlight)
            constraint_line(item);
    for (const v_node* n : items.nodes) {
        set_colour(colour_of(n->color()));
        disc(n->position, n->radius() > 0.0f ? n->radius() : 0.3f);
    }
    glPopAttrib();
}
