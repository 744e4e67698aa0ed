// The body editor's frame: the body in the editor's view, then the lines, the list, the
// picker, the dialog and the help card in the interface space.
#include "editors/body/body_editor_draw.h"

#include "app/window/window.h"
#include "game/screens/game_assets.h"
#include "render/world_draw.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bedit {

namespace {

constexpr float body_z = -0.2f;
// Sizes on the screen, in pixels, whatever the zoom.
constexpr float node_size = 7, hovered_node_size = 11, corner_size = 6, whole_point_size = 2, point_size = 1;
// Texture sub-mode shows at most this many tiles of the texture across and down.
constexpr int32_t max_tiles = 12;

const ed_colour title_colour{0.95f, 0.86f, 0.55f, 1};
const ed_colour status_colour{0.75f, 0.9f, 1.0f, 1};
const ed_colour prompt_colour{1.0f, 0.9f, 0.4f, 1};
const ed_colour refused_colour{1.0f, 0.45f, 0.35f, 1};
const ed_colour warning_colour{1.0f, 0.75f, 0.4f, 1};
const ed_colour dim_colour{0.7f, 0.74f, 0.85f, 1};
const ed_colour label_colour{0.85f, 0.88f, 1.0f, 0.8f};
const ed_colour grid_colour{0.62f, 0.68f, 0.85f, 1};
const ed_colour hover_colour{0.4f, 1.0f, 0.6f, 1};
const ed_colour node_colour{1.0f, 0.93f, 0.7f, 1};
const ed_colour corner_colour{0.45f, 0.85f, 1.0f, 1};
const ed_colour collidable_colour{1, 1, 1, 1};
const ed_colour plain_colour{0.6f, 0.62f, 0.7f, 1};
const ed_colour new_colour{1.0f, 0.85f, 0.3f, 1};
const ed_colour remembered_colour{0.5f, 0.9f, 1.0f, 1};

void colour(ed_colour c, float alpha = 1)
{
    glColor4f(c.r, c.g, c.b, c.a * alpha);
}

// Pot edges in the colour of the balls they catch (1 red, 2 blue, 3 green, 4 yellow).
ed_colour pot_colour(int32_t color)
{
    switch (color) {
    case 1: return {0.95f, 0.3f, 0.25f, 1};
    case 2: return {0.3f, 0.5f, 1.0f, 1};
    case 3: return {0.35f, 0.85f, 0.35f, 1};
    case 4: return {1.0f, 0.88f, 0.25f, 1};
    default: return {1.0f, 0.6f, 0.2f, 1};
    }
}

void vertex(vec2 p)
{
    glVertex3f(p.x + origin_x, p.y + origin_y, body_z);
}

void line(vec2 a, vec2 b)
{
    glBegin(GL_LINES);
    vertex(a);
    vertex(b);
    glEnd();
}

void point(vec2 p, float size)
{
    glPointSize(size);
    glBegin(GL_POINTS);
    vertex(p);
    glEnd();
}

std::string number(float v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%g", double(v));
    return text;
}

void draw_grid(const body_editor& e, float half_width)
{
    float step = e.grid_spacing();
    float x0 = std::max(0.0f, e.view_x - half_width), x1 = std::min(64.0f, e.view_x + half_width);
    float y0 = std::max(0.0f, e.view_y - e.zoom), y1 = std::min(64.0f, e.view_y + e.zoom);
    int32_t per_unit = int32_t(std::lround(1.0f / step));
    int32_t i0 = int32_t(std::ceil(x0 / step)), i1 = int32_t(std::floor(x1 / step));
    int32_t j0 = int32_t(std::ceil(y0 / step)), j1 = int32_t(std::floor(y1 / step));
    // Whole units opaque, the steps between them faint.
    for (bool whole : {false, true}) {
        glPointSize(whole ? whole_point_size : point_size);
        colour(grid_colour, whole ? 1.0f : 0.25f);
        glBegin(GL_POINTS);
        for (int32_t i = i0; i <= i1; ++i)
            for (int32_t j = j0; j <= j1; ++j)
                if ((i % per_unit == 0 && j % per_unit == 0) == whole)
                    glVertex3f(float(i) * step, float(j) * step, -0.1f);
        glEnd();
    }
    glColor4f(1, 1, 1, 0.2f);
    glBegin(GL_LINES);
    glVertex3f(32, 0, -0.1f);
    glVertex3f(32, 64, -0.1f);
    glVertex3f(0, 32, -0.1f);
    glVertex3f(64, 32, -0.1f);
    glEnd();
}

std::vector<vec2> outline_of(const body& b, const polygon& p)
{
    std::vector<vec2> out;
    for (const corner& c : p.corners)
        out.push_back(b.corner_position(c));
    return out;
}

void outline(const std::vector<vec2>& points, bool closed)
{
    glBegin(closed ? GL_LINE_LOOP : GL_LINE_STRIP);
    for (vec2 p : points)
        vertex(p);
    glEnd();
}

// The map from texture coordinates to positions that the polygon's corners define, from
// the first three corners whose coordinates span the texture; false when none do.
struct texture_map {
    vec2 origin, u, v;  // position = origin + tx * u + ty * v

    vec2 at(float tx, float ty) const { return origin + u * tx + v * ty; }
};

bool map_of(const body& b, const polygon& p, texture_map& out)
{
    size_t n = p.corners.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            for (size_t k = j + 1; k < n; ++k) {
                const corner &c0 = p.corners[i], &c1 = p.corners[j], &c2 = p.corners[k];
                float a = c1.tx - c0.tx, bb = c2.tx - c0.tx, c = c1.ty - c0.ty, d = c2.ty - c0.ty;
                float det = a * d - bb * c;
                if (std::abs(det) < 1e-6f)
                    continue;
                vec2 p0 = b.corner_position(c0), d1 = b.corner_position(c1) - p0, d2 = b.corner_position(c2) - p0;
                // [d1 d2] = [u v] [a bb; c d]  ->  [u v] = [d1 d2] [a bb; c d]^-1
                out.u = (d1 * d - d2 * c) / det;
                out.v = (d2 * a - d1 * bb) / det;
                out.origin = p0 - out.u * c0.tx - out.v * c0.ty;
                return true;
            }
    return false;
}

// The whole tiles of the texture that the polygon's coordinates reach into.
struct tile_range {
    int32_t u0 = 0, u1 = 0, v0 = 0, v1 = 0;
};

tile_range tiles_of(const polygon& p)
{
    tile_range r;
    if (p.corners.empty())
        return r;
    float u0 = p.corners[0].tx, u1 = u0, v0 = p.corners[0].ty, v1 = v0;
    for (const corner& c : p.corners) {
        u0 = std::min(u0, c.tx), u1 = std::max(u1, c.tx);
        v0 = std::min(v0, c.ty), v1 = std::max(v1, c.ty);
    }
    r.u0 = int32_t(std::floor(u0));
    r.v0 = int32_t(std::floor(v0));
    r.u1 = std::min(std::max(int32_t(std::ceil(u1)), r.u0 + 1), r.u0 + max_tiles);
    r.v1 = std::min(std::max(int32_t(std::ceil(v1)), r.v0 + 1), r.v0 + max_tiles);
    return r;
}

}  // namespace

const std::vector<std::string>& body_editor_help()
{
    static const std::vector<std::string> lines = {
        "N            a node at the pointer, carried until a click",
        "C            a constraint: click its first node, then its second",
        "P            a polygon: choose its texture, click its corners (on a node: tied",
        "             to it; Shift: free), right click ends it (3 corners or more)",
        "Click, drag  carry the node or free corner under the pointer",
        "Ctrl+drag    move the view          Arrows   move the view",
        "[  ]         zoom out, in           G        grid and snapping",
        "Delete       the polygon, else node, else constraint under the pointer",
        "B  W         constraint: collidable, pot edge",
        "F  E         constraint: friction, elasticity +0.1 (Shift: -0.1)",
        "Ctrl+X  X    remember a constraint; copy its collidable, F and E onto another",
        "=  -         polygon: further back, further forward (Shift: by 0.1)",
        "T            texture sub-mode for the polygon: its texture's tiles and",
        "             its corners' texture coordinates show",
        "H  V         in texture sub-mode: texture coordinates x2 (Shift: x0.5)",
        "Shift+T      another texture for the polygon",
        "F5  F6       colour of the balls a pot edge catches -1, +1",
        "F1           mirror the body",
        "Space        try it: the body falls on a floor among a ball of each",
        "             colour; Space again: back to the body as it was",
        "L  S         open, save (Ctrl+S: save to the current file)",
        "F4           a new body",
        "Ctrl+Z       undo                   Ctrl+Y, Ctrl+Shift+Z   redo",
        "Esc          back to idle: drops a polygon being made, puts a node down",
        "F2  H        this card (H not in texture sub-mode; any key closes it)",
    };
    return lines;
}

void body_editor_view::load(pak_system& store)
{
    ui.load(store, font_width, font_height);
    widget.load(store, widget_font_width, widget_font_height);
}

void body_editor_view::release()
{
    ui.release();
    widget.release();
    textures.clear();
}

gl_texture* body_editor_view::texture(const std::string& name)
{
    if (name.empty())
        return nullptr;
    auto it = textures.find(name);
    if (it == textures.end())
        it = textures.emplace(name, game_texture(name)).first;
    gl_texture* t = it->second.get();
    return t && !t->empty() ? t : nullptr;
}

void body_editor_view::draw(glw_window& window, const body_editor& editor)
{
    window.set_view(editor.view_x, editor.view_y, editor.zoom);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    float half_width = (window.view[2] - window.view[0]) / 2;
    if (editor.trial) {
        glEnable(GL_DEPTH_TEST);
        glClear(GL_DEPTH_BUFFER_BIT);
        glColor4f(1, 1, 1, 1);
        world_draw_style style;
        style.fallback = true;
        draw_world(*editor.trial, style);
        glDisable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        if (editor.grid)
            draw_grid(editor, half_width);
        draw_body(editor);
    }
    draw_interface(window, editor);
    // Mouse events are measured in the editor's view.
    window.set_view(editor.view_x, editor.view_y, editor.zoom);
}

void body_editor_view::draw_texture_tiles(const body_editor& e)
{
    const std::vector<polygon>& polys = e.work.polygons;
    if (e.texture_polygon < 0 || size_t(e.texture_polygon) >= polys.size())
        return;
    const polygon& p = polys[size_t(e.texture_polygon)];
    texture_map m;
    if (p.corners.empty() || !map_of(e.work, p, m))
        return;
    tile_range r = tiles_of(p);
    // The whole texture once per tile, faint, where the coordinates would repeat it.
    if (gl_texture* t = texture(p.texture)) {
        glEnable(GL_TEXTURE_2D);
        t->bind();
        glColor4f(1, 1, 1, 0.35f);
        glBegin(GL_QUADS);
        for (int32_t i = r.u0; i < r.u1; ++i)
            for (int32_t j = r.v0; j < r.v1; ++j) {
                const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
                for (int32_t k = 0; k < 4; ++k) {
                    glTexCoord2f(us[k], vs[k]);
                    vertex(m.at(float(i) + us[k], float(j) + vs[k]));
                }
            }
        glEnd();
        glDisable(GL_TEXTURE_2D);
    }
}

void body_editor_view::draw_body(const body_editor& e)
{
    const body& b = e.work;
    if (e.texture_mode)
        draw_texture_tiles(e);

    // Polygons from the back (depth -10) to the front (-1); equal depths in list order.
    std::vector<size_t> order(b.polygons.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t x, size_t y) { return b.polygons[x].z < b.polygons[y].z; });
    for (size_t i : order) {
        const polygon& p = b.polygons[i];
        std::vector<vec2> points = outline_of(b, p);
        if (points.size() < 3)
            continue;
        if (gl_texture* t = texture(p.texture)) {
            glEnable(GL_TEXTURE_2D);
            t->bind();
            glColor4f(1, 1, 1, 1);
            glBegin(GL_TRIANGLE_FAN);
            for (size_t k = 0; k < points.size(); ++k) {
                glTexCoord2f(p.corners[k].tx, p.corners[k].ty);
                vertex(points[k]);
            }
            glEnd();
            glDisable(GL_TEXTURE_2D);
        } else {
            // A polygon whose texture the data lacks shows as a tinted patch.
            glColor4f(0.5f, 0.45f, 0.7f, 0.35f);
            glBegin(GL_TRIANGLE_FAN);
            for (vec2 q : points)
                vertex(q);
            glEnd();
        }
        bool hovered = int32_t(i) == e.hover_polygon;
        bool textured = e.texture_mode && int32_t(i) == e.texture_polygon;
        colour(hovered ? hover_colour : textured ? corner_colour : plain_colour, hovered || textured ? 1.0f : 0.35f);
        glLineWidth(hovered ? 2.0f : 1.0f);
        outline(points, true);
    }
    glLineWidth(1.0f);

    // The texture's tiles over the polygon in texture sub-mode.
    if (e.texture_mode && e.texture_polygon >= 0 && size_t(e.texture_polygon) < b.polygons.size()) {
        const polygon& p = b.polygons[size_t(e.texture_polygon)];
        texture_map m;
        if (map_of(b, p, m)) {
            tile_range r = tiles_of(p);
            colour(corner_colour, 0.9f);
            glLineWidth(1.5f);
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(2, 0x0F0F);
            glBegin(GL_LINES);
            for (int32_t u = r.u0; u <= r.u1; ++u) {
                vertex(m.at(float(u), float(r.v0)));
                vertex(m.at(float(u), float(r.v1)));
            }
            for (int32_t v = r.v0; v <= r.v1; ++v) {
                vertex(m.at(float(r.u0), float(v)));
                vertex(m.at(float(r.u1), float(v)));
            }
            glEnd();
            glDisable(GL_LINE_STIPPLE);
            glLineWidth(1.0f);
        }
    }

    // Constraints: collidable ones white and thick, pot edges in the pot's colour, the
    // others thin and grey.
    for (size_t i = 0; i < b.constraints.size(); ++i) {
        const constraint& c = b.constraints[i];
        if (size_t(c.n1) >= b.nodes.size() || size_t(c.n2) >= b.nodes.size())
            continue;
        vec2 p1 = b.nodes[size_t(c.n1)].position, p2 = b.nodes[size_t(c.n2)].position;
        bool hovered = int32_t(i) == e.hover_constraint;
        if (hovered) {
            colour(hover_colour, 0.5f);
            glLineWidth(7.0f);
            line(p1, p2);
        }
        colour(c.pot ? pot_colour(b.color) : c.collidable ? collidable_colour : plain_colour);
        glLineWidth(c.pot ? 4.0f : c.collidable ? 2.5f : 1.5f);
        line(p1, p2);
        if (int32_t(i) == e.remembered) {
            colour(remembered_colour);
            point((p1 + p2) * 0.5f, hovered_node_size);
        }
    }
    glLineWidth(1.0f);

    // Nodes, and the free corners of the polygons.
    colour(node_colour);
    glPointSize(node_size);
    glBegin(GL_POINTS);
    for (const node& n : b.nodes)
        vertex(n.position);
    glEnd();
    colour(corner_colour);
    glPointSize(corner_size);
    glBegin(GL_POINTS);
    for (const polygon& p : b.polygons)
        for (const corner& c : p.corners)
            if (!c.tied())
                vertex(c.position);
    glEnd();
    colour(hover_colour);
    if (e.hover_node >= 0 && size_t(e.hover_node) < b.nodes.size())
        point(b.nodes[size_t(e.hover_node)].position, hovered_node_size);
    if (e.hover_corner >= 0 && size_t(e.hover_corner_polygon) < b.polygons.size() &&
        size_t(e.hover_corner) < b.polygons[size_t(e.hover_corner_polygon)].corners.size())
        point(b.polygons[size_t(e.hover_corner_polygon)].corners[size_t(e.hover_corner)].position, hovered_node_size);

    // What is being made: a constraint from its first node, a polygon's corners so far.
    vec2 pointer{e.pointer_x - origin_x, e.pointer_y - origin_y};
    if (e.mode == mode_second_node && e.first_node >= 0 && size_t(e.first_node) < b.nodes.size()) {
        colour(new_colour);
        vec2 first = b.nodes[size_t(e.first_node)].position;
        line(first, pointer);
        point(first, hovered_node_size);
    }
    if (e.mode == mode_insert_corners) {
        std::vector<vec2> points = outline_of(b, e.inserting);
        colour(new_colour);
        glLineWidth(2.0f);
        if (!points.empty()) {
            outline(points, false);
            glEnable(GL_LINE_STIPPLE);
            glLineStipple(2, 0x3333);
            line(points.back(), pointer);
            if (points.size() > 1)
                line(pointer, points.front());
            glDisable(GL_LINE_STIPPLE);
        }
        glLineWidth(1.0f);
        for (vec2 q : points)
            point(q, corner_size + 2);
    }
}

void body_editor_view::draw_labels(const body_editor& e)
{
    const body& b = e.work;
    float ix, iy;
    // Node numbers (the numbers constraints and tied corners use in the file), while the
    // view is close enough for them not to crowd.
    if (e.zoom <= start_zoom * 1.7f)
        for (size_t i = 0; i < b.nodes.size(); ++i) {
            e.to_interface(b.nodes[i].position.x + origin_x, b.nodes[i].position.y + origin_y, ix, iy);
            ed_text(widget, ix + 0.4f, iy - 1.1f, std::to_string(i), label_colour);
        }
    // In texture sub-mode, each corner's texture coordinates.
    if (e.texture_mode && e.texture_polygon >= 0 && size_t(e.texture_polygon) < b.polygons.size())
        for (const corner& c : b.polygons[size_t(e.texture_polygon)].corners) {
            vec2 p = b.corner_position(c);
            e.to_interface(p.x + origin_x, p.y + origin_y, ix, iy);
            std::string text = "(" + number(c.tx) + ", " + number(c.ty) + ")";
            ed_fill({ix + 0.3f, iy + 0.2f, ix + 0.5f + float(text.size()) * widget_font_width, iy + 1.3f},
                    {0, 0, 0, 0.6f});
            ed_text(widget, ix + 0.4f, iy + 0.25f, text, corner_colour);
        }
}

void body_editor_view::draw_preview(const body_editor& e)
{
    const ed_list_box* list = e.shown_list();
    if (!list || list->hovered < 0 || size_t(list->hovered) >= list->items.size())
        return;
    const std::string& name = list->items[size_t(list->hovered)];
    const ed_rect& area = preview_area;
    ed_fill(area, {0.05f, 0.05f, 0.12f, 0.92f});
    ed_outline(area, {0.75f, 0.68f, 0.45f, 1});
    gl_texture* t = texture(name);
    if (!t) {
        ed_text(widget, area.left + 1, area.top + 1, "(no image)", dim_colour);
        return;
    }
    // The image at its own aspect, as large as the panel allows.
    float room = area.width() - 2, aspect = float(t->width()) / float(std::max(t->height(), 1));
    float w = aspect >= 1 ? room : room * aspect, h = aspect >= 1 ? room / aspect : room;
    float cx = (area.left + area.right) / 2, cy = (area.top + area.bottom) / 2;
    glColor4f(1, 1, 1, 1);
    draw_textured_rect(t, rect_full_u | rect_full_v, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, -0.5f);
    ed_text(widget, area.left, area.bottom + 0.4f,
            std::to_string(t->width()) + " x " + std::to_string(t->height()), dim_colour);
}

void body_editor_view::draw_interface(glw_window& window, const body_editor& e)
{
    window.set_view(ui_centre_x, ui_centre_y, ui_half_height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    if (!e.trial)
        draw_labels(e);

    // The lines keep to the window's left edge, whatever its aspect.
    float cell = ui.text ? ui.text->cell_width : font_width, left = window.view[0] + line_margin;
    ed_text(ui, left, title_y, e.title_line(), title_colour);
    std::string keys = "F2: keys";
    ed_text(ui, window.view[2] - 1 - float(keys.size()) * cell, title_y, keys, dim_colour);
    ed_text(ui, left, status_y, e.status, status_colour);
    if (!e.trial && !e.problems.empty()) {
        const problem& p = e.problems.front();
        std::string more = e.problems.size() > 1 ? "  (+" + std::to_string(e.problems.size() - 1) + " more)" : "";
        ed_text(ui, left, problem_y, (p.refused ? "REFUSED: " : "Note: ") + p.text + more,
                p.refused ? refused_colour : warning_colour);
    }
    std::string selection = e.constraint_line();
    if (selection.empty())
        selection = e.polygon_line();
    if (!selection.empty())
        ed_text(ui, left, selection_y, selection);
    ed_text(ui, left, color_y, e.color_line(), e.work.color ? pot_colour(e.work.color) : dim_colour);
    if (const char* prompt = e.prompt())
        ed_text(ui, left, prompt_y, prompt, prompt_colour);

    if (const ed_list_box* list = e.shown_list()) {
        ed_list(widget, *list);
        draw_preview(e);
    }
    if (e.picker.open)
        ed_picker(widget, e.picker);
    if (e.help)
        ed_card(widget, "Body editor keys", body_editor_help());
    ed_dialog_draw(widget, e.dialog);
}

}  // namespace bedit
