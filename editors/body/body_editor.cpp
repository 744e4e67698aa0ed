// The body editor's rules: start-up, the view, selection, keys and mouse modes.
#include "editors/body/body_editor.h"

#include "app/input_codes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace bedit {

namespace {

constexpr uint32_t vk_f2 = vk_f1 + 1, vk_f4 = vk_f1 + 3, vk_f5 = vk_f1 + 4, vk_f6 = vk_f1 + 5;

std::string format(const char* pattern, double a, double b = 0.0)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, pattern, a, b);
    return buf;
}

float snapped(float value, float step)
{
    return std::round(value / step) * step;
}

float distance_to_segment(vec2 p, vec2 a, vec2 b)
{
    vec2 d = b - a;
    float len_sq = d.length_sq();
    float t = len_sq > 0.0f ? std::clamp(dot(p - a, d) / len_sq, 0.0f, 1.0f) : 0.0f;
    return (a + d * t - p).length();
}

// Whether p lies inside the outline (crossing count; corners in order).
bool inside(const std::vector<vec2>& outline, vec2 p)
{
    bool in = false;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        vec2 a = outline[i], b = outline[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
            in = !in;
    }
    return in;
}

}  // namespace

std::string file_label(const std::string& path)
{
    return ed_document::label(path, "body");
}

body_editor::body_editor() = default;

body_editor::~body_editor() = default;

void startup(body_editor& e, pak_system& store, const std::string& bodies_folder)
{
    e.store = &store;
    // Every texture, each name once (the first store that has it wins), sorted.
    std::map<std::string, ref_ptr<pak_chunkref>> found;
    pak_enum_function visit([&](ref_ptr<pak_chunkref> ref) {
        if (ref && !found.count(ref->name) && store.get(ref->name) == ref)
            found.emplace(ref->name, ref);
    });
    store.enumerate(pak_code_imag, visit);
    e.texture_refs.clear();
    e.texture_list.items.clear();
    for (auto& [name, ref] : found) {
        e.texture_refs.push_back(ref);
        e.texture_list.items.push_back(name);
    }

    e.grid = true;
    e.view_x = start_x;
    e.view_y = start_y;
    e.zoom = start_zoom;
    e.folder = bodies_folder;
    if (!e.folder.empty() && e.folder.back() != '/')
        e.folder += '/';
    e.file.clear();
    e.work = body();
    e.mode = mode_idle;
    e.history.reset({e.body_text(), e.file});
    e.problems = e.work.check();
    e.status = "Ready. F2 shows every key.";
}

// ----- Views and lines

void body_editor::to_interface(float ex, float ey, float& ix, float& iy) const
{
    float scale = ui_half_height / zoom;
    ix = ui_centre_x + (ex - view_x) * scale;
    iy = ui_centre_y + (ey - view_y) * scale;
}

void body_editor::to_editor(float ix, float iy, float& ex, float& ey) const
{
    float scale = zoom / ui_half_height;
    ex = view_x + (ix - ui_centre_x) * scale;
    ey = view_y + (iy - ui_centre_y) * scale;
}

std::string body_editor::title_line() const
{
    std::string line = file_label(file);
    if (history.modified())
        line += " *";
    line += trial ? "   TRYING" : texture_mode ? "   TEXTURES" : "   EDITING";
    return line;
}

std::string body_editor::polygon_line() const
{
    if (hover_polygon < 0 || size_t(hover_polygon) >= work.polygons.size())
        return {};
    return format("POLY[ depth=%02.1f ]", double(work.polygons[size_t(hover_polygon)].z));
}

std::string body_editor::constraint_line() const
{
    if (hover_constraint < 0 || size_t(hover_constraint) >= work.constraints.size())
        return {};
    const bedit::constraint& c = work.constraints[size_t(hover_constraint)];
    return format("CONST[ fric=%01.1f elasticity=%01.1f ", double(c.fric), double(c.elast)) + (c.pot ? "POT" : "") +
           "]";
}

std::string body_editor::color_line() const
{
    return "COLOR=" + std::to_string(work.color);
}

const char* body_editor::prompt() const
{
    switch (mode) {
    case mode_first_node: return "Select 1st Node";
    case mode_second_node: return "Select 2nd Node";
    case mode_insert_corners: return "Insert Poly Vertices";
    default: return nullptr;
    }
}

const ed_list_box* body_editor::shown_list() const
{
    return mode == mode_new_texture || mode == mode_retexture ? &texture_list : nullptr;
}

// ----- Selection

constraint* body_editor::selected_constraint()
{
    return hover_constraint >= 0 && size_t(hover_constraint) < work.constraints.size() ? &work.constraints[size_t(hover_constraint)]
                                                                           : nullptr;
}

polygon* body_editor::selected_polygon()
{
    return hover_polygon >= 0 && size_t(hover_polygon) < work.polygons.size() ? &work.polygons[size_t(hover_polygon)] : nullptr;
}

void body_editor::clear_selection()
{
    hover_node = hover_corner_polygon = hover_corner = hover_constraint = hover_polygon = -1;
}

void body_editor::refresh_selection()
{
    clear_selection();
    if (trial)
        return;
    vec2 p = pointer_local();
    float reach = pick_radius(), best = reach * reach;
    for (size_t i = 0; i < work.nodes.size(); ++i) {
        float d = (work.nodes[i].position - p).length_sq();
        if (d < best) {
            best = d;
            hover_node = int32_t(i);
        }
    }
    if (hover_node >= 0)
        return;
    for (size_t i = 0; i < work.polygons.size(); ++i)
        for (size_t j = 0; j < work.polygons[i].corners.size(); ++j) {
            const bedit::corner& c = work.polygons[i].corners[j];
            float d = (c.position - p).length_sq();
            if (!c.tied() && d < best) {
                best = d;
                hover_corner_polygon = int32_t(i);
                hover_corner = int32_t(j);
            }
        }
    if (hover_corner >= 0)
        return;
    best = reach;
    for (size_t i = 0; i < work.constraints.size(); ++i) {
        const bedit::constraint& c = work.constraints[i];
        if (size_t(c.n1) >= work.nodes.size() || size_t(c.n2) >= work.nodes.size())
            continue;
        float d = distance_to_segment(p, work.nodes[size_t(c.n1)].position, work.nodes[size_t(c.n2)].position);
        if (d < best) {
            best = d;
            hover_constraint = int32_t(i);
        }
    }
    if (hover_constraint >= 0)
        return;
    // The front hover_polygon (the greatest depth; the later one of equal depths, drawn last).
    for (size_t i = 0; i < work.polygons.size(); ++i) {
        const bedit::polygon& poly = work.polygons[i];
        if (poly.corners.size() < 3)
            continue;
        std::vector<vec2> outline;
        for (const bedit::corner& c : poly.corners)
            outline.push_back(work.corner_position(c));
        if (inside(outline, p) && (hover_polygon < 0 || poly.z >= work.polygons[size_t(hover_polygon)].z))
            hover_polygon = int32_t(i);
    }
}

vec2 body_editor::placed(vec2 editor_point) const
{
    vec2 local = editor_point - vec2{origin_x, origin_y};
    float step = grid ? grid_spacing() : position_quantum;
    return {snapped(local.x, step), snapped(local.y, step)};
}

// ----- Keys

void body_editor::key(uint32_t vk, bool down)
{
    if (vk == vk_shift)
        shift = down;
    if (vk == vk_control)
        control = down;
    if (!down || vk == vk_shift || vk == vk_control)
        return;
    if (overlay(ed_route_overlay_key(dialog, picker, help, vk)))
        return;
    if (trial) {
        if (vk == vk_space || vk == vk_escape)
            stop_trial();
        else
            status = "Trying the body: Space goes back to editing.";
        return;
    }
    if (vk == vk_escape) {
        if (mode == mode_insert_corners || mode == mode_new_texture)
            status = "The new polygon was dropped.";
        inserting = {};
        first_node = retexture_polygon = texture_list.marked = -1;
        end_carry();
        record_edit();
        return;
    }
    // Every other key acts only while nothing is under way.
    if (mode != mode_idle)
        return;
    if (vk == vk_f2 || (vk == 'H' && !texture_mode)) {
        help = true;
        return;
    }
    if (control && (vk == 'Z' || vk == 'Y')) {
        if (vk == 'Y' || shift)
            redo();
        else
            undo();
        return;
    }
    switch (vk) {
    case vk_space: start_trial(); return;
    case vk_left: view_x -= zoom / 16; return;
    case vk_right: view_x += zoom / 16; return;
    case vk_up: view_y -= zoom / 16; return;
    case vk_down: view_y += zoom / 16; return;
    case vk_open_bracket: zoom *= zoom_factor; return;
    case vk_close_bracket: zoom /= zoom_factor; return;
    case 'G':
        grid = !grid;
        status = grid ? "Grid on: positions snap to it." : "Grid off: positions are free.";
        return;
    }
    edit_key(vk);
    record_edit();
}

void body_editor::edit_key(uint32_t vk)
{
    bedit::constraint* c = selected_constraint();
    bedit::polygon* poly = selected_polygon();
    float step = shift ? -0.1f : 0.1f;
    switch (vk) {
    case 'C':
        mode = mode_first_node;
        first_node = -1;
        return;
    case 'N':
        work.nodes.push_back({placed({pointer_x, pointer_y})});
        carried_node = int32_t(work.nodes.size()) - 1;
        mode = mode_carry_node;
        drag_started = false;
        status = "Node " + std::to_string(carried_node) + ": click to put it down.";
        return;
    case 'P':
        inserting = {};
        inserting.z = new_polygon_depth;
        if (texture_list.size() == 0) {
            mode = mode_insert_corners;
            status = "The data holds no textures: the polygon gets none.";
        } else {
            // The list opens at the texture the last polygon got, else at the bodies'.
            int32_t at = work.polygons.empty() ? -1 : texture_list.find(work.polygons.back().texture);
            for (size_t i = 0; at < 0 && i < texture_list.items.size(); ++i)
                if (texture_list.items[i].starts_with("tex\\bodies\\"))
                    at = int32_t(i);
            show_texture_list(at, false);
            mode = mode_new_texture;
            status = "Choose the new polygon's texture.";
        }
        return;
    case 'T':
        if (shift) {
            if (!poly) {
                status = "Point inside a polygon to give it another texture.";
                return;
            }
            retexture_polygon = hover_polygon;
            show_texture_list(texture_list.find(poly->texture), true);
            mode = mode_retexture;
            status = "Choose another texture for polygon " + std::to_string(hover_polygon) + ".";
        } else if (texture_mode) {
            texture_mode = false;
            texture_polygon = -1;
            status = "Texture sub-mode off.";
        } else if (poly) {
            texture_mode = true;
            texture_polygon = hover_polygon;
            status = "Texture sub-mode: H and V scale the texture coordinates (Shift: halve them).";
        } else {
            status = "Point inside a polygon to see its texture coordinates.";
        }
        return;
    case 'H':
    case 'V':
        if (texture_mode)
            scale_texture(vk == 'H');
        return;
    case 'B':
        if (c)
            c->collidable = !c->collidable;
        return;
    case 'W':
        if (c)
            c->pot = !c->pot;
        return;
    case 'F':
        if (c)
            c->fric = std::clamp(c->fric + step, 0.0f, 1.0f);
        return;
    case 'E':
        if (c)
            c->elast = std::clamp(c->elast + step, 0.0f, 1.0f);
        return;
    case 'X':
        if (control) {
            if (c) {
                remembered = hover_constraint;
                status = "Constraint " + std::to_string(hover_constraint) + " remembered: X copies it onto another.";
            }
        } else if (c && remembered >= 0 && size_t(remembered) < work.constraints.size()) {
            const bedit::constraint& from = work.constraints[size_t(remembered)];
            c->collidable = from.collidable;
            c->fric = from.fric;
            c->elast = from.elast;
        }
        return;
    case vk_equals:
        if (poly)
            poly->z = std::max(poly->z - (shift ? 0.1f : 1.0f), depth_back);
        return;
    case vk_minus:
        if (poly)
            poly->z = std::min(poly->z + (shift ? 0.1f : 1.0f), depth_front);
        return;
    case vk_f1:
        work.mirror();
        status = "Mirrored.";
        return;
    case vk_f4: dialog.ask_yes_no("Create New Body?", "Message Box Title", ask_new_body); return;
    case vk_f5:
    case vk_f6: work.color = std::clamp(work.color + (vk == vk_f5 ? -1 : 1), 0, color_max); return;
    case 'L': unsaved_then(ask_load, "Loading another body:"); return;
    case 'S':
        if (control && !file.empty())
            save_checked(file);
        else
            open_picker(true);
        return;
    case vk_delete: delete_selected(); return;
    }
}

void body_editor::show_texture_list(int32_t entry, bool mark)
{
    texture_list.marked = mark ? entry : -1;
    texture_list.hovered = -1;
    if (entry >= 0) {
        texture_list.first = entry;
        texture_list.scroll_by(0);
    }
}

void body_editor::scale_texture(bool horizontal)
{
    float factor = shift ? 0.5f : 2.0f;
    for (bedit::polygon& p : work.polygons)
        for (bedit::corner& c : p.corners)
            (horizontal ? c.tx : c.ty) *= factor;
}

void body_editor::delete_selected()
{
    if (hover_corner >= 0) {
        status = "Delete acts on polygons, nodes and constraints; a free corner goes with its polygon.";
        return;
    }
    if (hover_polygon >= 0) {
        work.delete_polygon(hover_polygon);
        if (texture_polygon == hover_polygon) {
            texture_mode = false;
            texture_polygon = -1;
        } else if (texture_polygon > hover_polygon) {
            --texture_polygon;
        }
        status = "Polygon deleted.";
    } else if (hover_node >= 0) {
        // Which constraints go with the hover_node, to keep the remembered one pointing right.
        int32_t gone = 0, freed = 0, remembered_now = -1;
        for (size_t i = 0; i < work.constraints.size(); ++i) {
            const bedit::constraint& c = work.constraints[i];
            bool goes = c.n1 == hover_node || c.n2 == hover_node;
            if (int32_t(i) == remembered && !goes)
                remembered_now = int32_t(i) - gone;
            gone += goes ? 1 : 0;
        }
        for (const bedit::polygon& p : work.polygons)
            for (const bedit::corner& c : p.corners)
                freed += c.node == hover_node ? 1 : 0;
        remembered = remembered_now;
        work.delete_node(hover_node);
        status = "Node deleted";
        if (gone)
            status += " with " + std::to_string(gone) + (gone == 1 ? " constraint" : " constraints");
        status += ".";
        if (freed)
            status += " " + std::to_string(freed) + (freed == 1 ? " corner" : " corners") +
                      " tied to it stay where it was, free.";
    } else if (hover_constraint >= 0) {
        work.delete_constraint(hover_constraint);
        remembered = remembered == hover_constraint ? -1 : remembered - (remembered > hover_constraint ? 1 : 0);
        status = "Constraint deleted.";
    } else {
        return;
    }
    refresh_selection();
}

void body_editor::character(uint32_t latin1)
{
    if (picker.open && !dialog.open)
        picker.character(latin1);
}

// ----- Mouse

void body_editor::end_carry()
{
    mode = mode_idle;
    carried_node = carried_polygon = carried_corner = -1;
    drag_started = false;
}

void body_editor::move_carried()
{
    if (mode == mode_carry_node && carried_node >= 0 && size_t(carried_node) < work.nodes.size()) {
        work.nodes[size_t(carried_node)].position = placed({pointer_x, pointer_y});
    } else if (mode == mode_carry_corner && carried_polygon >= 0 && size_t(carried_polygon) < work.polygons.size()) {
        std::vector<bedit::corner>& corners = work.polygons[size_t(carried_polygon)].corners;
        if (carried_corner >= 0 && size_t(carried_corner) < corners.size())
            corners[size_t(carried_corner)].position = placed({pointer_x, pointer_y});
    } else if (mode == mode_pan) {
        // The view follows so that the point taken stays under the pointer.
        view_x -= pointer_x - pan_x;
        view_y -= pointer_y - pan_y;
        pointer_x = pan_x;
        pointer_y = pan_y;
    }
}

void body_editor::mouse(uint32_t flags, float x, float y)
{
    float travel = std::hypot(x - pointer_x, y - pointer_y);
    pointer_x = x;
    pointer_y = y;
    float ix, iy;
    to_interface(x, y, ix, iy);
    bool pressed = flags & (left_press | right_press);
    if (overlay(ed_route_overlay_mouse(dialog, picker, help, flags, ix, iy)))
        return;
    if (trial)
        return;
    if (mode == mode_new_texture || mode == mode_retexture) {
        texture_list.point(ix, iy);
        if (flags & left_release)
            texture_list.release();
        if (flags & left_press) {
            int32_t entry = texture_list.press(ix, iy);
            if (entry >= 0)
                choose_texture(entry);
        }
        return;
    }
    if (drag_started)
        drag_travel += travel;
    move_carried();
    // A press acts on what lies under the pointer now.
    refresh_selection();
    if (pressed) {
        press(flags);
    } else if ((flags & left_release) && drag_started) {
        // A drag ends where the button is let go; a click leaves the carry going.
        if (drag_travel > zoom * drag_fraction)
            end_carry();
        drag_started = false;
    }
    refresh_selection();
    if (pressed || (flags & left_release))
        record_edit();
}

void body_editor::press(uint32_t flags)
{
    bool left = flags & left_press;
    switch (mode) {
    case mode_idle:
        if (!left)
            return;
        if (control) {
            pan_x = pointer_x;
            pan_y = pointer_y;
            mode = mode_pan;
        } else if (hover_node >= 0) {
            carried_node = hover_node;
            mode = mode_carry_node;
        } else if (hover_corner >= 0) {
            carried_polygon = hover_corner_polygon;
            carried_corner = hover_corner;
            mode = mode_carry_corner;
        } else {
            return;
        }
        drag_started = true;
        drag_travel = 0;
        return;
    case mode_first_node:
        if (left && hover_node >= 0) {
            first_node = hover_node;
            mode = mode_second_node;
        }
        return;
    case mode_second_node:
        if (left && hover_node >= 0 && hover_node != first_node && first_node >= 0) {
            work.constraints.push_back({first_node, hover_node});
            status = "Constraint " + std::to_string(work.constraints.size() - 1) + " joins nodes " +
                     std::to_string(first_node) + " and " + std::to_string(hover_node) + ".";
            first_node = -1;
            mode = mode_idle;
        }
        return;
    case mode_carry_node:
    case mode_carry_corner:
    case mode_pan:
        if (left)
            end_carry();
        return;
    case mode_insert_corners:
        if (flags & right_press) {
            size_t n = inserting.corners.size();
            if (n > 2) {
                work.polygons.push_back(std::move(inserting));
                status = "Polygon " + std::to_string(work.polygons.size() - 1) + " made with " + std::to_string(n) +
                         " corners.";
            } else {
                status = "A polygon needs three corners or more: this one was dropped.";
            }
            inserting = {};
            mode = mode_idle;
        } else if (left) {
            bedit::corner c;
            if (hover_node >= 0 && !shift)
                c.node = hover_node;
            else
                c.position = placed({pointer_x, pointer_y});
            size_t k = std::min<size_t>(inserting.corners.size(), 3);
            c.tx = new_corner_tx[k];
            c.ty = new_corner_ty[k];
            inserting.corners.push_back(c);
        }
        return;
    default: return;
    }
}

void body_editor::choose_texture(int32_t entry)
{
    if (entry < 0 || size_t(entry) >= texture_list.items.size())
        return;
    const std::string& name = texture_list.items[size_t(entry)];
    if (mode == mode_new_texture) {
        inserting.texture = name;
        mode = mode_insert_corners;
        status = "Click the corners (on a node: tied to it; Shift: free); right click ends the polygon.";
    } else if (mode == mode_retexture) {
        if (retexture_polygon >= 0 && size_t(retexture_polygon) < work.polygons.size())
            work.polygons[size_t(retexture_polygon)].texture = name;
        retexture_polygon = -1;
        texture_list.marked = -1;
        mode = mode_idle;
        record_edit();
    }
}

}  // namespace bedit
