// The body editor's logic: the body being built, the mouse modes, the keys, the texture
// list, the view and grid, undo, the file picker, the dialogs, the autosave and the
// trial run ("Try it"). It includes no GL or SDL and is tested without a display. The
// rules live in body_editor.cpp (the view, selection, keys and mouse modes),
// body_editor_files.cpp (undo, files, dialogs, autosave) and body_trial.cpp (the trial
// run); the window, the loop and the drawing in body_editor_screen.cpp and
// body_editor_draw.cpp.
//
// Positions: mouse events carry editor units (the window's view is the editor's view
// while events are pumped), where the body's origin is at (32, 32); the list, the picker
// and the dialogs live in the interface space, 66 units tall from y = 0 around x = 32,
// which shares the window's aspect. to_interface and to_editor convert.
#pragma once

#include "data/pak.h"
#include "editors/body/body_model.h"
#include "editors/common/document.h"
#include "editors/common/overlay_input.h"
#include "editors/common/dialog.h"
#include "editors/common/file_picker.h"
#include "editors/common/list_box.h"
#include "physics/types.h"
#include "physics/world.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bedit {

// The mouse modes.
enum : int32_t {
    mode_idle = 0,
    mode_first_node = 1,
    mode_second_node = 2,
    mode_carry_node = 3,
    mode_new_texture = 4,  // the texture of the polygon about to be made
    mode_insert_corners = 5,
    mode_retexture = 6,  // a new texture for the selected polygon
    mode_carry_corner = 7,
    mode_pan = 8,
};

// The interface space: centre and half-height of its view.
constexpr float ui_centre_x = 32, ui_centre_y = 33, ui_half_height = 33;
// The editor's own lines use the editor font at 1.1 times the cell of the shared pieces
// (the list, the picker, the dialogs and the help card), whose layouts are made for it.
constexpr float font_width = 0.726f, font_height = 1.1f;
constexpr float widget_font_width = 0.66f, widget_font_height = 1.0f;
// The lines start this far from the window's left edge.
constexpr float line_margin = 1;
constexpr float title_y = 0.3f;
constexpr float status_y = 58.6f, problem_y = 60.0f, selection_y = 61.4f, color_y = 62.8f, prompt_y = 64.2f;
// The texture list, and the preview of the texture under the pointer beside it.
constexpr ed_rect list_area = {2, 2, 30, 52};
constexpr ed_rect preview_area = {32, 2, 54, 24};
// Where the view starts: centre and zoom (the half-height of what is shown).
constexpr float start_x = 32, start_y = 32, start_zoom = 20;
constexpr float zoom_factor = 1.3f;
// The grid's step: coarser in texture sub-mode. With the grid on, positions snap to it.
constexpr float grid_step = 0.25f, texture_grid_step = 0.5f;
// Without the grid, positions are kept in 64ths of a unit: such numbers are written and
// read back exactly, so a saved body reads back as it was.
constexpr float position_quantum = 1.0f / 64;
// The pointer picks within this fraction of the zoom (0.7 units at the start).
constexpr float pick_fraction = 0.035f;
// A press that carries or pans ends at its release when the pointer has moved this far
// (a fraction of the zoom) in between: dragging works as well as click, move, click.
constexpr float drag_fraction = 0.02f;
// Texture coordinates of the corners of a new polygon: the first four go round the
// texture, later ones take the last pair.
constexpr float new_corner_tx[4] = {0, 1, 1, 0};
constexpr float new_corner_ty[4] = {0, 0, 1, 1};

// What the dialogs ask for.
enum : int32_t { ask_none, ask_new_body, ask_load, ask_quit, ask_restore, ask_save_refused };

// The trial run's little world: a floor, gravity and a ball of each colour.
constexpr float trial_floor_half_width = 20, trial_floor_half_height = 1;
constexpr float trial_wall_width = 1, trial_wall_height = 2;
constexpr int32_t trial_ball_colors = 4;

class body_editor : public ed_document {
public:
    body work;
    int32_t mode = mode_idle;

    // Under the pointer, one thing at a time (-1: none): a node, else a free corner, else
    // a constraint, else the front polygon the pointer is inside.
    int32_t hover_node = -1;
    int32_t hover_corner_polygon = -1, hover_corner = -1;
    int32_t hover_constraint = -1;
    int32_t hover_polygon = -1;
    // The first node of a constraint being made; the constraint whose properties X copies.
    int32_t first_node = -1;
    int32_t remembered = -1;
    // Texture sub-mode and its polygon; the polygon mode 6 gives a new texture.
    bool texture_mode = false;
    int32_t texture_polygon = -1;
    int32_t retexture_polygon = -1;
    // The polygon being inserted (modes 4 and 5).
    polygon inserting;
    // Carried in modes 3 and 7; the point a pan holds under the pointer (mode 8).
    int32_t carried_node = -1;
    int32_t carried_polygon = -1, carried_corner = -1;
    float pan_x = 0, pan_y = 0;
    bool drag_started = false;
    float drag_travel = 0;  // how far the pointer has come since that press

    float view_x = start_x, view_y = start_y, zoom = start_zoom;
    bool grid = true;
    bool shift = false, control = false;
    float pointer_x = start_x, pointer_y = start_y;

    // Every texture of the store, by chunk name, sorted.
    std::vector<ref_ptr<pak_chunkref>> texture_refs;
    ed_list_box texture_list{list_area, widget_font_height};
    pak_system* store = nullptr;

    std::string folder;  // where bodies are read and written, with a trailing '/'
    ed_file_picker picker;
    bool picker_saves = false;
    std::string pending_save;  // the path a save waits with while the editor asks
    ed_dialog dialog;
    bool help = false;
    std::string status;
    bool quit = false;
    // What the type loader would refuse, and warnings, as of the last edit.
    std::vector<problem> problems;

    // The trial run: the body as the game would build it, in its little world.
    std::unique_ptr<v_world> trial;
    ref_ptr<v_body_type> trial_type;

    body_editor();
    ~body_editor();
    body_editor(const body_editor&) = delete;
    body_editor& operator=(const body_editor&) = delete;

    void key(uint32_t vk, bool down);
    void character(uint32_t latin1);
    void mouse(uint32_t flags, float x, float y);
    // The window asks to close: asks first when the work is not saved. `forced` (the test
    // driver's frame limit) closes at once and keeps unsaved work in the autosave.
    void close_requested(bool forced);
    // One step while editing (the autosave's clock), and one of the trial world.
    void tick();
    void trial_step();
    bool editing() const { return !trial; }
    // Offers back the work of a session that ended without saving, when there is one.
    void offer_autosave();

    // Lines the window shows.
    std::string title_line() const;
    // "POLY[ depth=... ]" for the selected polygon, "CONST[ fric=... elasticity=... POT]"
    // for the selected constraint, "COLOR=..." for the colour index.
    std::string polygon_line() const;
    std::string constraint_line() const;
    std::string color_line() const;
    // "Select 1st Node", "Select 2nd Node", "Insert Poly Vertices" in modes 1, 2 and 5.
    const char* prompt() const;
    // The list shown in modes 4 and 6, or null.
    const ed_list_box* shown_list() const;
    float grid_spacing() const { return texture_mode ? texture_grid_step : grid_step; }
    float pick_radius() const { return zoom * pick_fraction; }
    void to_interface(float ex, float ey, float& ix, float& iy) const;
    void to_editor(float ix, float iy, float& ex, float& ey) const;

    // The actions behind the keys, for the screen and the tests.
    std::string body_text() { return work.text(); }
    // Replaces the body with a body text (undo, redo, the autosave); false when it does
    // not parse, leaving the body as it was.
    bool restore(const std::string& text);
    void undo();
    void redo();
    void new_body();
    void load(const std::string& path);
    bool save(const std::string& path);
    void start_trial();
    void stop_trial();

private:
    void refresh_selection();
    void clear_selection();
    void record_edit();
    void edit_key(uint32_t vk);
    void press(uint32_t flags);
    void end_carry();
    void move_carried();
    void choose_texture(int32_t entry);
    // Opens the list with the entry in its top row; `mark` shows it as the current one.
    void show_texture_list(int32_t entry, bool mark);
    void delete_selected();
    void scale_texture(bool horizontal);
    void answer(ed_answer a, int32_t purpose);
    // Acts on what a dialog or the picker made of an input; true when an overlay took it.
    bool overlay(const ed_overlay_input& input);
    void open_picker(bool saving);
    void picked(const ed_pick& pick);
    void save_checked(const std::string& path);
    void unsaved_then(int32_t purpose, const char* question);
    vec2 placed(vec2 editor_point) const;
    vec2 pointer_local() const { return {pointer_x - origin_x, pointer_y - origin_y}; }
    constraint* selected_constraint();
    polygon* selected_polygon();
};

// The name a body file is shown by: its file name, or "(new body)".
std::string file_label(const std::string& path);

// Start-up: the texture list from every "IMAG" chunk of the store, sorted by name; the
// grid on; the view at (32, 32) with zoom 20; the folder; no file; a new body.
void startup(body_editor& editor, pak_system& store, const std::string& bodies_folder);

// The trial world for a body type: a fixed floor under the body, gravity, and a ball of
// each colour above it. Node types come from the store ("nodes\ball_red", ...); colours
// the store lacks get plain balls.
std::unique_ptr<v_world> trial_world(const ref_ptr<v_body_type>& type, pak_system* store);
// The type the game would build from the body's text, or null (with the reason).
ref_ptr<v_body_type> trial_body_type(const std::string& text, std::string& why);

}  // namespace bedit
