// draw_world: bodies, free nodes and constraints into the triangle batch, then the debug
// markers and the pens of pending cuts.
#include "render/world_draw.h"

#include "app/view_space.h"
#include "data/asset_names.h"
#include "physics/level.h"
#include "physics/trig.h"
#include "render/texture_cache.h"
#include "render/triangle_batch.h"
#include "render/world_draw_internal.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

gl_texture_cache& textures()
{
    static gl_texture_cache cache;
    return cache;
}

// A texture worth drawing with: found and holding an image. A texture whose data was
// damaged would otherwise draw its polygons in plain white.
gl_texture* usable_texture(const std::string& name)
{
    textures().use_store(v_level_store());
    gl_texture* t = textures().get(name);
    return t && !t->empty() ? t : nullptr;
}

// Calls fn(polygon, first vertex) for each polygon whose vertices are all in the list.
template <class F>
void for_each_polygon(const v_poly_list& polys, F&& fn)
{
    size_t first = 0;
    for (const v_polygon& poly : polys.polygons) {
        size_t count = poly.count > 0 ? size_t(poly.count) : 0;
        if (first + count > polys.vertices.size())
            return;
        fn(poly, polys.vertices.data() + first, count);
        first += count;
    }
}

// A steel bar behind the bodies (their polygons lie at depth -3 and above, the backdrops at -9):
// dark edges, a lighter face. Drawn before the batch, so that the bodies cover it.
void draw_rails(const v_world& world)
{
    bool any = false;
    for (const auto& body : world.bodies)
        for (const rail_segment& r : body_rails(*body)) {
            if (!any) {
                glDisable(GL_TEXTURE_2D);
                glBegin(GL_QUADS);
                any = true;
            }
            vec2 d = normalised(r.b - r.a);
            vec2 n{-d.y, d.x};
            const float half_widths[2] = {0.45f, 0.25f};
            const float shades[2][3] = {{0.16f, 0.16f, 0.18f}, {0.55f, 0.57f, 0.62f}};
            for (int k = 0; k < 2; ++k) {
                vec2 w = n * half_widths[k];
                float z = -4.0f + 0.1f * float(k);
                glColor3fv(shades[k]);
                glVertex3f(r.a.x - w.x, r.a.y - w.y, z);
                glVertex3f(r.b.x - w.x, r.b.y - w.y, z);
                glVertex3f(r.b.x + w.x, r.b.y + w.y, z);
                glVertex3f(r.a.x + w.x, r.a.y + w.y, z);
            }
        }
    if (any) {
        glEnd();
        glEnable(GL_TEXTURE_2D);
    }
}

void debug_outline(const v_body& body)
{
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    glBegin(GL_LINES);
    for (const v_constraint& e : body.constraints) {
        glVertex3f(e.n1->position.x, e.n1->position.y, -1.0f);
        glVertex3f(e.n2->position.x, e.n2->position.y, -1.0f);
    }
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    for (const v_constraint* e : body.collidable) {
        glVertex3f(e->n1->position.x, e->n1->position.y, -1.0f);
        glVertex3f(e->n2->position.x, e->n2->position.y, -1.0f);
    }
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

// Where a body polygon's corner is drawn: a corner tied to a node follows it (a fixed node
// keeps its anchor), any other turns and moves with the body.
vec2 body_corner(const v_body& body, const v_poly_vertex& v)
{
    return v.node >= 0 && size_t(v.node) < body.nodes.size() ? body.nodes[size_t(v.node)].position
                                                             : body.transform(vec2{v.x, v.y});
}

// Returns whether some polygon of the body was textured.
bool draw_body(const v_body& body, triangle_batch& batch)
{
    bool drew = false;
    if (!body.type)
        return false;
    for_each_polygon(body.type->polys, [&](const v_polygon& poly, const v_poly_vertex* v, size_t count) {
        gl_texture* tex = usable_texture(poly.texture);
        if (!tex)
            return;
        batch.begin_fan(tex, poly.z + body.z_bias);
        for (size_t k = 0; k < count; ++k) {
            vec2 p = body_corner(body, v[k]);
            batch.add_vertex(p.x, p.y, v[k].tx, v[k].ty);
        }
        drew = true;
    });
    return drew;
}

// Solid in whichever of its animation frames is drawn.
bool solid_in_every_frame(const gl_texture& texture)
{
    if (!texture.solid())
        return false;
    for (const ref_ptr<gl_texture>& frame : texture.frames)
        if (!frame || frame->empty() || !frame->solid())
            return false;
    return true;
}

// Whether the square [0, size] x [0, size] lies on the inner side of every edge of the
// polygon (either winding; edges may run along the square's). Every point of the square
// then has a winding number other than 0, so the triangles of the polygon's fan cover it
// whatever the polygon's shape.
bool polygon_holds_square(const std::vector<vec2>& p, float size)
{
    size_t n = p.size();
    if (n < 3)
        return false;
    float area = 0.0f;
    for (size_t i = 0; i < n; ++i)
        area += cross(p[i], p[(i + 1) % n]);
    if (!(std::fabs(area) > 0.0f))
        return false;
    float turn = area > 0.0f ? 1.0f : -1.0f;
    const vec2 corners[4] = {{0.0f, 0.0f}, {size, 0.0f}, {size, size}, {0.0f, size}};
    for (size_t i = 0; i < n; ++i) {
        vec2 a = p[i], b = p[(i + 1) % n];
        for (vec2 corner : corners)
            if (!(turn * cross(b - a, corner - a) >= 0.0f))
                return false;
    }
    return true;
}

bool draw_node(const v_node& node, triangle_batch& batch)
{
    bool drew = false;
    if (!node.type)
        return false;
    for_each_polygon(node.type->polys, [&](const v_polygon& poly, const v_poly_vertex* v, size_t count) {
        gl_texture* tex = usable_texture(poly.texture);
        if (!tex)
            return;
        batch.begin_fan(tex, poly.z);
        for (size_t k = 0; k < count; ++k)
            batch.add_vertex(node.position.x + v[k].x, node.position.y + v[k].y, v[k].tx, v[k].ty);
        drew = true;
    });
    return drew;
}

// What a constraint drew: its own look, and its highlight.
struct constraint_drawn {
    bool body = false;
    bool highlight = false;
};

// The cubic through a rope segment P1 -> P2 with neighbours P0 and P3: C(0) = P1, C(1) = P2.
struct rope_curve {
    vec2 a, b, c, d;
    rope_curve(vec2 p0, vec2 p1, vec2 p2, vec2 p3)
    {
        a = p3 - p2 - p0 + p1;
        b = p0 - p1 - a;
        c = p2 - p0;
        d = p1;
    }
    vec2 at(float t) const { return ((a * t + b) * t + c) * t + d; }
    // Unit normal (g.y, -g.x) of the direction from t to t + 0.001.
    vec2 side(float t) const
    {
        vec2 g = normalised(at(t + 0.001f) - at(t));
        return vec2{g.y, -g.x};
    }
};

constraint_drawn draw_rope(const v_constraint& con, int32_t highlight, triangle_batch& batch)
{
    constraint_drawn drawn;
    const v_poly_list& look = con.type->rope_polys;
    gl_texture* rope = nullptr;
    float z = 0.0f, w = 0.0f, v0 = 0.0f, v1 = 0.0f;
    if (!look.polygons.empty()) {
        z = look.polygons[0].z;
        if (look.vertices.size() >= 3) {
            rope = usable_texture(look.polygons[0].texture);
            w = look.vertices[2].y;
            v0 = look.vertices[0].tx;
            v1 = look.vertices[2].tx;
        }
    }
    gl_texture* glow =
        highlight ? usable_texture(highlight == 2 ? tex_ui_constraint_selected : tex_ui_constraint_hovered)
                  : nullptr;
    if (!rope && !glow)
        return drawn;

    size_t count = con.inodes.size();
    auto point = [&](size_t i) -> vec2 {
        return i == 0 ? con.n1->position : i <= count ? con.inodes[i - 1].position : con.n2->position;
    };
    size_t last = count + 1;  // index of n2 in the chain
    float rest = con.rest_length > 0.0f ? con.rest_length : 1.0f;
    float total = float(count + 1) * rest;
    for (size_t k = 1; k <= last; ++k) {
        vec2 p1 = point(k - 1), p2 = point(k);
        vec2 p0 = k >= 2 ? point(k - 2) : p1 * 2.0f - point(1);
        vec2 p3 = k + 1 <= last ? point(k + 1) : p2 * 2.0f - point(last - 1);
        rope_curve curve(p0, p1, p2, p3);
        vec2 along = p2 - p1;
        for (int q = 0; q < 4; ++q) {
            float s = float(q) * 0.25f;
            vec2 a = curve.at(s), b = curve.at(s + 0.25f);
            vec2 sa = curve.side(s), sb = curve.side(s + 0.25f);
            // u runs with the distance along the rope, in world units, from one rest length.
            float ua = rest * float(k) + dot(a - p1, along) / rest;
            float ub = rest * float(k) + dot(b - p1, along) / rest;
            if (glow) {
                batch.begin_fan(glow, z + 0.01f);
                float ha = (ua - rest) / total, hb = (ub - rest) / total;
                batch.add_vertex(a.x - sa.x, a.y - sa.y, ha, 0.0f);
                batch.add_vertex(a.x + sa.x, a.y + sa.y, ha, 1.0f);
                batch.add_vertex(b.x + sb.x, b.y + sb.y, hb, 1.0f);
                batch.add_vertex(b.x - sb.x, b.y - sb.y, hb, 0.0f);
            }
            if (rope) {
                batch.begin_fan(rope, z);
                batch.add_vertex(a.x - sa.x * w, a.y - sa.y * w, ua, v0);
                batch.add_vertex(a.x + sa.x * w, a.y + sa.y * w, ua, v1);
                batch.add_vertex(b.x + sb.x * w, b.y + sb.y * w, ub, v1);
                batch.add_vertex(b.x - sb.x * w, b.y - sb.y * w, ub, v0);
            }
        }
    }
    drawn.body = rope != nullptr;
    drawn.highlight = glow != nullptr;
    return drawn;
}

constraint_drawn draw_link(const v_constraint& con, int32_t highlight, triangle_batch& batch)
{
    constraint_drawn drawn;
    const v_poly_list& look = con.type->rope_polys;
    vec2 n1 = con.n1->position, n2 = con.n2->position;
    vec2 d = n2 - n1;
    float length = d.length();
    vec2 side = length > 0.0f ? vec2{d.y, -d.x} / length : vec2{};
    for_each_polygon(look, [&](const v_polygon& poly, const v_poly_vertex* v, size_t count) {
        gl_texture* tex = usable_texture(poly.texture);
        if (!tex)
            return;
        batch.begin_fan(tex, poly.z);
        // x runs along the link from n1 (0) to n2 (1), y sideways in world units; ty is
        // stretched by the link's length.
        for (size_t k = 0; k < count; ++k) {
            vec2 p = n1 + d * v[k].x + side * v[k].y;
            batch.add_vertex(p.x, p.y, v[k].tx, v[k].ty * length);
        }
        drawn.body = true;
    });
    if (highlight) {
        gl_texture* glow =
            usable_texture(highlight == 2 ? tex_ui_constraint_selected : tex_ui_constraint_hovered);
        if (glow) {
            float z = look.polygons.empty() ? 0.0f : look.polygons[0].z;
            batch.begin_fan(glow, z + 0.01f);
            batch.add_vertex(n1.x - side.x, n1.y - side.y, 0.0f, 0.0f);
            batch.add_vertex(n1.x + side.x, n1.y + side.y, 0.0f, 1.0f);
            batch.add_vertex(n2.x + side.x, n2.y + side.y, 1.0f, 1.0f);
            batch.add_vertex(n2.x - side.x, n2.y - side.y, 1.0f, 0.0f);
            drawn.highlight = true;
        }
    }
    return drawn;
}

void draw_marker(const v_marker& m)
{
    static const float local[5][2] = {
        {-0.25f, -0.25f}, {0.0f, -0.75f}, {0.25f, -0.25f}, {0.25f, 0.25f}, {-0.25f, 0.25f}};
    float s, c;
    v_sincos(m.angle, s, c);
    glBegin(GL_TRIANGLE_FAN);
    for (const auto& p : local)
        glVertex3f(m.x + p[0] * c - p[1] * s, m.y + p[0] * s + p[1] * c, -1.0f);
    glEnd();
}

}  // namespace

int32_t pen_frame(int32_t countdown)
{
    return std::min(5, 10 - countdown / 10);
}

std::vector<rail_segment> body_rails(const v_body& body)
{
    std::vector<rail_segment> rails;
    if (!body.type || !body.type->has_rail)
        return rails;
    float s, c;
    v_sincos(body.angle, s, c);
    vec2 n = body.type->rail_normal;
    vec2 d{-(n.x * s + n.y * c), n.x * c - n.y * s};  // the turned normal, a quarter turn on
    for (const v_node& node : body.nodes) {
        if (!node.fixed)
            continue;
        // The part of the line p + t d inside the playfield: each axis narrows t's range.
        vec2 p = node.position;
        float lo = -1e9f, hi = 1e9f;
        bool inside = true;
        for (int axis = 0; axis < 2 && inside; ++axis) {
            float pa = axis ? p.y : p.x, da = axis ? d.y : d.x;
            if (std::fabs(da) < 1e-6f) {
                inside = pa >= 0.0f && pa <= v_playfield_size;
                continue;
            }
            float t0 = (0.0f - pa) / da, t1 = (v_playfield_size - pa) / da;
            lo = std::max(lo, std::min(t0, t1));
            hi = std::min(hi, std::max(t0, t1));
        }
        if (inside && hi > lo)
            rails.push_back({p + d * lo, p + d * hi});
    }
    return rails;
}

void draw_world(const v_world& world, bool debug)
{
    world_draw_style style;
    style.debug = debug;
    draw_world(world, style);
}

void draw_world(const v_world& world, const world_draw_style& style)
{
    static world_fallback_items fallback;
    fallback.clear();
    triangle_batch& batch = triangle_batch_global();
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_LINE_BIT | GL_TEXTURE_BIT);
    // Polygons and pens are drawn in the caller's colour (the screens fade with it).
    GLfloat colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    batch.clear();

    for (const auto& body : world.bodies) {
        if (!draw_body(*body, batch) && style.fallback)
            fallback.bodies.push_back(body.get());
        if (style.debug)
            debug_outline(*body);
    }
    for (const v_node* node : world.nodes)
        if (!draw_node(*node, batch) && style.fallback)
            fallback.nodes.push_back(node);
    for (const auto& con : world.constraints) {
        // A cut constraint is gone; one that cannot be cut is scenery only the editors show.
        if (con->cut || !con->n1 || !con->n2 || !con->type || (!con->cuttable() && !style.debug))
            continue;
        int32_t highlight = con.get() == world.selected ? 2 : con.get() == world.hovered ? 1 : 0;
        constraint_drawn drawn =
            con->is_rope() ? draw_rope(*con, highlight, batch) : draw_link(*con, highlight, batch);
        bool needs_look = !drawn.body, needs_glow = highlight && !drawn.highlight;
        if (style.fallback && (needs_look || needs_glow))
            fallback.constraints.push_back({con.get(), needs_glow ? highlight : 0, needs_look});
    }
    draw_rails(world);
    glColor4fv(colour);
    batch.flush();

    if (!fallback.empty())
        draw_world_fallback(fallback);

    if (style.debug && !world.markers.empty()) {
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
        for (const v_marker& m : world.markers)
            draw_marker(m);
        glEnable(GL_TEXTURE_2D);
    }

    if (!world.cut_events.empty()) {
        if (gl_texture* pen = usable_texture(tex_ui_pen)) {
            glColor4fv(colour);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            for (const v_cut_event& e : world.cut_events)
                pen->draw_quad(e.position.x, e.position.y, 8.0f, 8.0f, {0, 0}, {1, 1},
                               pen_frame(e.countdown));
        }
    }
    glPopAttrib();
}

bool world_hides_playfield(const v_world& world)
{
    std::vector<vec2> corners;
    for (const auto& body : world.bodies) {
        if (!body->type)
            continue;
        bool hides = false;
        for_each_polygon(body->type->polys, [&](const v_polygon& poly, const v_poly_vertex* v, size_t count) {
            float z = poly.z + body->z_bias;
            // In front of the far plane, where the cleared depth lets it through.
            if (hides || !(z > -view_depth && z <= 0.0f))
                return;
            gl_texture* tex = usable_texture(poly.texture);
            if (!tex || !solid_in_every_frame(*tex))
                return;
            corners.clear();
            for (size_t k = 0; k < count; ++k)
                corners.push_back(body_corner(*body, v[k]));
            hides = polygon_holds_square(corners, v_playfield_size);
        });
        if (hides)
            return true;
    }
    return false;
}

void release_world_textures()
{
    textures().clear();
}
