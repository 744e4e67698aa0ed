// The level editor's logic: the edit level and the play level of a test run, the mouse
// modes, the keys, the type lists, the view, undo, the file picker, the dialogs and the
// autosave. It includes no GL or SDL and is tested without a display; the window, the
// frame loop and the drawing live in level_editor_screen.cpp and level_editor_draw.cpp.
//
// Positions: mouse events carry world units (the window's view is the world view while
// events are pumped); the lists, the picker and the dialogs live in the interface space,
// 64 units wide around x = 32 and 66 units tall from y = 0, which shares the window's
// aspect. level_editor::to_interface converts.
#pragma once

#include "data/pak.h"
#include "data/script_handle.h"
#include "editors/common/document.h"
#include "editors/common/overlay_input.h"
#include "editors/common/dialog.h"
#include "editors/common/file_picker.h"
#include "editors/common/list_box.h"
#include "physics/level.h"
#include "physics/replay.h"
#include "physics/world.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The mouse modes.
enum : int32_t {
    le_idle = 0,
    le_choose_body = 1,
    le_choose_constraint = 2,
    le_first_attachment = 3,
    le_second_attachment = 4,
    le_choose_node = 5,
    le_carry_body = 6,
    le_carry_node = 7,
    le_rope_list = 8,
    le_carry_marker = 11,
};

// The interface space: centre and half-height of its view.
constexpr float le_ui_centre_x = 32, le_ui_centre_y = 33, le_ui_half_height = 33;
// Every list box shows in this rectangle of the interface space.
constexpr ed_rect le_list_area = {2, 2, 32, 52};
// The editor font's cell (interface units) and the lines drawn with it.
constexpr float le_font_width = 0.66f, le_font_height = 1.0f;
constexpr float le_selection_line_x = 1, le_selection_line_y = 64;
constexpr float le_prompt_line_y = 65;
constexpr float le_title_line_y = 0.2f;
// The preview of the type highlighted in the body or node list, beside the list.
constexpr ed_rect le_preview_area = {34, 2, 54, 22};
// Where a view starts: centre and zoom (the half-height of the world shown).
constexpr float le_start_x = 32, le_start_y = 32, le_start_zoom = 40;
// The pointer picks constraints within this distance (world units).
constexpr float le_pick_distance = 1.0f;
// Grid snapping: positions to half units, angles to sixteenths of a half turn.
constexpr float le_grid_step = 0.5f;
constexpr float le_angle_step = 0.1963495f;
// A carried body or marker turns by the pointer's rise over this many units per radian.
constexpr float le_turn_divisor = 5.0f;
// Constraint lengths never go below this: a zero or negative rest length makes the step
// divide by nothing.
constexpr float le_min_length = 0.05f;
// The cut schedule of a solved test run is written with this much time after the catch.
constexpr int32_t le_solution_slack_seconds = 2;

// What the dialogs ask for.
enum : int32_t { le_ask_none, le_ask_load, le_ask_new, le_ask_quit, le_ask_restore };

// One cut of a test run: constraint `index` cut once `step` steps had run.
struct le_cut {
    int32_t step = 0;
    int32_t index = 0;
};

// A test run that ended in success: its cuts and the level text it started from.
struct le_solved_run {
    bool valid = false;
    std::vector<le_cut> cuts;
    int32_t solved_step = 0;
    std::string text;
};

// What the editor asks of the program around it; empty functions do nothing.
struct le_services {
    // Ctrl+P: the pictures of the first levels of the store; what was done, for the status.
    std::function<std::string()> build_previews;
    // V: the solution check and the difficulty rating of the edit level with the kept
    // run; a line for the status and a longer text for a dialog.
    std::function<bool(const std::string& level_text, const le_solved_run& run, std::string& summary,
                       std::string& detail)>
        verify;
    // Saves the solution and the replay of a solved run beside a level file just written.
    std::function<bool(const std::string& level_path, const le_solved_run& run, std::string& error)> save_solution;
    // A cut in a test run sounds as in the game.
    std::function<void()> cut_sound;
};

class level_editor : public ed_document {
public:
    // The levels.
    std::unique_ptr<v_world> edit;
    std::unique_ptr<v_world> play;  // while testing
    v_replay* replay;               // the recorder test runs record into
    int32_t editing = 1;            // the edit flag: 0 while a test runs
    int32_t mode = le_idle;

    // Under the pointer, refreshed by every mouse event.
    v_node* node = nullptr;
    v_body* body = nullptr;
    v_constraint* constraint = nullptr;
    int32_t marker = 0;  // 1-based, 0 for none
    // Carried or being joined.
    v_body* carried_body = nullptr;
    v_node* carried_node = nullptr;
    int32_t carried_marker = 0;
    v_node* first_attachment = nullptr;
    ref_ptr<v_constraint_type> joining_type;
    float carry_angle = 0;  // the unsnapped angle of a carried body

    // The view: centre and zoom (half the height of the world shown).
    float view_x = le_start_x, view_y = le_start_y, zoom = le_start_zoom;
    bool grid = true;
    bool debug = false;
    bool shift = false, control = false;
    float pointer_x = 32, pointer_y = 32;  // world units
    float previous_y = 32;

    // The types, sorted by chunk name, and the four lists.
    std::vector<ref_ptr<v_body_type>> body_types;
    std::vector<ref_ptr<v_constraint_type>> constraint_types;
    std::vector<ref_ptr<v_node_type>> node_types;
    ed_list_box body_list{le_list_area, le_font_height}, constraint_list{le_list_area, le_font_height},
        node_list{le_list_area, le_font_height}, rope_list{le_list_area, le_font_height};
    script_symbol_table settings_symbols;
    script_handle settings = script_handle::fresh(&settings_symbols);

    // Files, undo, dialogs.
    std::string folder;  // where levels are read and written, with a trailing '/'
    ed_file_picker picker;
    bool picker_saves = false;
    ed_dialog dialog;
    bool help = false;
    std::string status;  // the result of the last action
    bool quit = false;   // the editor is done
    le_services services;

    // Test runs.
    std::vector<le_cut> test_cuts;
    std::string test_text;  // the level text the run started from
    le_solved_run solved;

    explicit level_editor(v_replay& recorder);
    ~level_editor();
    level_editor(const level_editor&) = delete;
    level_editor& operator=(const level_editor&) = delete;

    // Start-up: the settings text ("editor.txt"; empty or absent is skipped; false when it
    // does not parse), the type lists from the store, the folder, an empty level, the view.
    bool startup(pak_system& store, const std::string* settings_text, const std::string& levels_folder);
    // Offers back the work of a session that ended without saving, when there is one.
    void offer_autosave();

    void key(uint32_t vk, bool down);
    void character(uint32_t latin1);
    void mouse(uint32_t flags, float x, float y);
    // The window asks to close: asks first when the work is not saved. `forced` (the test
    // driver's frame limit) closes at once and keeps the work in the autosave.
    void close_requested(bool forced);
    // One step while editing (the autosave's clock).
    void tick();
    // Work asked for by a key that takes a while (V), run once the frame that says so is
    // on the screen. True when something ran.
    bool run_pending();
    bool verify_pending = false;
    // One step of the play level while testing; a solved run is kept.
    void test_step();

    // The level the screen shows: the play level while testing.
    const v_world* shown() const { return play ? play.get() : edit.get(); }
    // The window's title line: the file, a mark when modified, the state.
    std::string title_line() const;
    // "BODY(z_bias:...)", "NODE(fixed:...)", "CONSTRAINT(length:...)" for what is selected.
    std::string selection_line() const;
    // The attachment prompts of modes 3 and 4, else empty.
    const char* prompt() const;
    // The list shown in the current mode, or null.
    const ed_list_box* shown_list() const;
    // World to interface units, and back.
    void to_interface(float wx, float wy, float& ix, float& iy) const;
    void to_world(float ix, float iy, float& wx, float& wy) const;
    // The level text of the edit level.
    std::string level_text() const;
    // Replaces the edit level with a level text (undo, redo, autosave); false when it does
    // not parse, leaving the edit level as it was.
    bool restore(const std::string& text);

    // The actions behind the keys, for the screen and the tests.
    void start_test();
    void stop_test(bool keep_state);
    void undo();
    void redo();
    void new_level();
    void load(const std::string& path);
    bool save(const std::string& path);

private:
    ed_list_box* list_of_mode();
    void refresh_selection();
    void clear_pointers();
    void record_edit();
    void edit_key(uint32_t vk);
    void press(uint32_t flags);
    void move_carried();
    void choose_from_list(int32_t entry);
    void delete_selected();
    void toggle_fixed();
    void adjust(float sign);
    void answer(ed_answer a, int32_t purpose);
    // Acts on what a dialog or the picker made of an input; true when an overlay took it.
    bool overlay(const ed_overlay_input& input);
    void open_picker(bool saving);
    void picked(const ed_pick& pick);
    void finish_quit();
    void unsaved_then(int32_t purpose, const char* question);
};

// The body under the pointer: the one whose outline holds the point (the deepest bias
// first), else the body of the node under it, else the smallest body whose outline's
// bounds hold it (the inside of a pot or chute).
v_body* le_pick_body(const v_world& world, vec2 p);
// The name a type is listed under: its chunk name without its first folder.
std::string le_list_name(const std::string& chunk_name);
// Rounds to the nearest multiple of `step`.
float le_snap(float value, float step);
