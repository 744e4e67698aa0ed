// The level editor's frame: the level, the grid and marks in the world view; the lines,
// lists, preview, picker, dialog and help card in the interface space.
#include "editors/level/level_editor_draw.h"

#include "app/window/window.h"
#include "render/world_draw.h"

#include <SDL_opengl.h>

#include <cmath>

namespace {

const ed_colour title_colour{0.95f, 0.86f, 0.55f, 1};
const ed_colour status_colour{0.75f, 0.9f, 1.0f, 1};
const ed_colour prompt_colour{1.0f, 0.9f, 0.4f, 1};

void vertex(vec2 p)
{
    glVertex3f(p.x, p.y, -0.2f);
}

void circle(vec2 c, float r)
{
    glBegin(GL_LINE_LOOP);
    for (int32_t i = 0; i < 24; ++i) {
        float a = float(i) * 6.2831853f / 24.0f;
        vertex({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    glEnd();
}

void draw_grid()
{
    glPointSize(2.0f);
    glBegin(GL_POINTS);
    for (int32_t i = 0; i <= 128; ++i)
        for (int32_t j = 0; j <= 128; ++j) {
            bool whole = i % 2 == 0 && j % 2 == 0;
            glColor4f(1, 1, 1, whole ? 0.5f : 0.2f);
            glVertex3f(float(i) * 0.5f, float(j) * 0.5f, -0.1f);
        }
    glEnd();
    glPointSize(1.0f);
}

// The markers as arrows, for the plain look that does not show them.
void draw_markers(const v_world& world)
{
    glColor4f(1.0f, 0.8f, 0.3f, 0.9f);
    glBegin(GL_LINES);
    for (const v_marker& m : world.markers) {
        vec2 c{m.x, m.y}, d{std::cos(m.angle), std::sin(m.angle)}, n{-d.y, d.x};
        vertex(c - d);
        vertex(c + d);
        vertex(c + d);
        vertex(c + d * 0.4f + n * 0.5f);
        vertex(c + d);
        vertex(c + d * 0.4f - n * 0.5f);
    }
    glEnd();
}

void draw_marks(const level_editor& e)
{
    const v_world& w = *e.shown();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The playfield's edge: what lies outside it is outside the game. A test run's verdict
    // colours it, as the viewer does: green solved, red failed.
    if (e.play && e.play->verdict == v_verdict_solved)
        glColor4f(0.3f, 1.0f, 0.4f, 1.0f);
    else if (e.play && e.play->verdict == v_verdict_failed)
        glColor4f(1.0f, 0.3f, 0.25f, 1.0f);
    else
        glColor4f(1, 1, 1, 0.35f);
    glLineWidth(e.play && e.play->verdict != v_verdict_undecided ? 4.0f : 1.0f);
    glBegin(GL_LINE_LOOP);
    vertex({0, 0});
    vertex({64, 0});
    vertex({64, 64});
    vertex({0, 64});
    glEnd();
    glLineWidth(1.0f);
    if (e.grid)
        draw_grid();
    if (!e.debug)
        draw_markers(w);
    if (e.editing) {
        glColor4f(0.4f, 1.0f, 0.6f, 0.9f);
        if (e.node)
            circle(e.node->position, std::max(0.6f, e.node->radius() + 0.3f));
        if (e.marker > 0 && size_t(e.marker) <= w.markers.size())
            circle({w.markers[size_t(e.marker - 1)].x, w.markers[size_t(e.marker - 1)].y}, 1.2f);
        if (e.first_attachment) {
            glColor4f(1.0f, 0.9f, 0.3f, 1.0f);
            circle(e.first_attachment->position, 0.8f);
            glBegin(GL_LINES);
            vertex(e.first_attachment->position);
            vertex({e.pointer_x, e.pointer_y});
            glEnd();
        }
    }
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

const std::vector<std::string>& level_editor_help()
{
    static const std::vector<std::string> lines = {
        "Esc          idle: drops a list, puts down what is carried",
        "B  N  C      body, node or constraint type list; click an entry",
        "             (a body or node follows the pointer: click to put it down;",
        "             a constraint: click its first node, then its second)",
        "R            the rope list: an entry names a constraint type",
        "M            a marker at the pointer",
        "Click        pick up the node, marker or body under the pointer",
        "Shift+move   turn a carried body or marker",
        "Delete       the constraint, else body, else node, else marker",
        "F            fix or free the node (Shift: every node of the body)",
        "=  -         constraint length +/-1 (Shift: 0.05; Ctrl: fit its ends)",
        "             or a body's depth bias +/-1 (Shift: 0.05)",
        "[  ]         zoom out, in           Arrows   move the view",
        "G            grid and snapping      D        debug drawing",
        "Space        test: click a rope, spring or rod to cut it;",
        "             Space again: back to the untouched level",
        "Ctrl+Space   while testing: keep the tested state as the level",
        "L  S         load, save (Ctrl+S: save to the current file)",
        "             a solved test run is saved as the level's solution",
        "V            check the kept solution and rate the level",
        "Ctrl+N       new level              Ctrl+P   build level previews",
        "Ctrl+Z       undo                   Ctrl+Y, Ctrl+Shift+Z   redo",
        "H  F1        this card (any key closes it)",
    };
    return lines;
}

void level_editor_view::draw(glw_window& window, level_editor& editor)
{
    draw_world_view(window, editor);
    draw_interface(window, editor);
    // Mouse events are measured in the world view.
    window.set_view(editor.view_x, editor.view_y, editor.zoom);
}

void level_editor_view::draw_world_view(glw_window& window, level_editor& editor)
{
    window.set_view(editor.view_x, editor.view_y, editor.zoom);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    world_draw_style style;
    style.debug = editor.debug;
    style.fallback = true;
    draw_world(*editor.shown(), style);
    draw_marks(editor);
}

void level_editor_view::draw_preview(level_editor& editor)
{
    const ed_list_box* list = editor.shown_list();
    if (!list || (editor.mode != le_choose_body && editor.mode != le_choose_node))
        return;
    int32_t entry = list->hovered;
    if (entry < 0)
        return;
    if (entry != preview_entry || editor.mode != preview_mode) {
        preview_entry = entry;
        preview_mode = editor.mode;
        preview = std::make_unique<v_world>();
        if (editor.mode == le_choose_body && size_t(entry) < editor.body_types.size())
            preview->add_body(v_make_body(editor.body_types[size_t(entry)], {0, 0}, 0.0f));
        else if (editor.mode == le_choose_node && size_t(entry) < editor.node_types.size())
            preview->add_node(editor.node_types[size_t(entry)], {0, 0});
    }
    float reach = 1.0f;
    for (const auto& b : preview->bodies)
        reach = std::max(reach, b->bound_radius);
    for (const v_node* n : preview->nodes)
        reach = std::max(reach, n->radius() * 1.5f);
    const ed_rect& area = le_preview_area;
    ed_fill(area, {0.05f, 0.05f, 0.12f, 0.9f});
    ed_outline(area, {0.75f, 0.68f, 0.45f, 1});
    float scale = (area.width() / 2 - 1) / reach;
    glPushMatrix();
    glTranslatef((area.left + area.right) / 2, (area.top + area.bottom) / 2, 0);
    glScalef(scale, scale, 1);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    world_draw_style style;
    style.debug = true;
    style.fallback = true;
    draw_world(*preview, style);
    glDisable(GL_DEPTH_TEST);
    glPopMatrix();
}

void level_editor_view::draw_interface(glw_window& window, level_editor& editor)
{
    window.set_view(le_ui_centre_x, le_ui_centre_y, le_ui_half_height);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The lines keep to the window's left edge, whatever its aspect, as the body editor's.
    const float left = window.view[0] + le_selection_line_x;
    ed_text(ui, left, le_title_line_y, editor.title_line() + "      H: keys", title_colour);
    ed_text(ui, left, le_selection_line_y - 1.3f, editor.status, status_colour);
    std::string selection = editor.selection_line();
    if (!selection.empty())
        ed_text(ui, left, le_selection_line_y, selection);
    if (const char* prompt = editor.prompt())
        ed_text(ui, left, le_prompt_line_y, prompt, prompt_colour);
    if (const ed_list_box* list = editor.shown_list()) {
        ed_list(ui, *list);
        draw_preview(editor);
    }
    if (editor.picker.open)
        ed_picker(ui, editor.picker);
    if (editor.help)
        ed_card(ui, "Level editor keys", level_editor_help());
    ed_dialog_draw(ui, editor.dialog);
}
