// The level editor's rules: start-up, keys, mouse modes, test runs, files and undo.
#include "editors/level/level_editor.h"

#include "app/input_codes.h"
#include "app/log.h"
#include "app/step.h"
#include "app/file_io.h"
#include "data/script_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

// Levels larger than this are not level files.
constexpr uint64_t level_file_limit = 64ull << 20;

std::string bare_file(const std::string& path)
{
    return ed_document::label(path, "level");
}

std::string format(const char* pattern, double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, value);
    return buf;
}

// Collects the loadable types of one chunk code, each name once (the first store wins),
// sorted by chunk name.
template <class T>
std::vector<ref_ptr<T>> collect_types(pak_system& store, uint32_t code)
{
    std::map<std::string, ref_ptr<T>> found;
    pak_enum_function visit([&](ref_ptr<pak_chunkref> ref) {
        if (!ref || store.get(ref->name) != ref || found.count(ref->name))
            return;
        ref_ptr<T> type;
        if (store.get_object(ref->name, type) && type)
            found.emplace(ref->name, type);
    });
    store.enumerate(code, visit);
    std::vector<ref_ptr<T>> out;
    for (auto& [name, type] : found)
        out.push_back(type);
    return out;
}

template <class T>
void fill_list(ed_list_box& list, const std::vector<ref_ptr<T>>& types)
{
    list.items.clear();
    for (const auto& t : types)
        list.items.push_back(le_list_name(t->name));
    list.rect = le_list_area;
    list.fit_height();
}

// What a load of a level text left out, for the designer.
std::string report_text(const v_level_report& report)
{
    if (report.clean())
        return {};
    std::string text = "Some entries of the level could not be loaded and were left out:";
    if (report.dropped_bodies)
        text += " " + std::to_string(report.dropped_bodies) + " bodies";
    if (report.dropped_nodes)
        text += " " + std::to_string(report.dropped_nodes) + " nodes";
    if (report.dropped_constraints)
        text += " " + std::to_string(report.dropped_constraints) + " constraints";
    text += ". Their types are missing from the data (the log names them).";
    return text;
}

}  // namespace

v_body* le_pick_body(const v_world& world, vec2 p)
{
    if (v_body* b = world.pick_body(p))
        return b;
    if (v_node* n = world.pick_node(p))
        if (n->body)
            return n->body;
    // A pot or a chute is open: its outline holds only its walls, but what is drawn
    // between them is the body too.
    v_body* best = nullptr;
    float best_area = 0;
    for (const auto& b : world.bodies) {
        if (b->collidable.empty())
            continue;
        vec2 lo = b->collidable.front()->n1->position, hi = lo;
        for (const v_constraint* e : b->collidable)
            for (const v_node* n : {e->n1, e->n2}) {
                lo = {std::min(lo.x, n->position.x), std::min(lo.y, n->position.y)};
                hi = {std::max(hi.x, n->position.x), std::max(hi.y, n->position.y)};
            }
        float area = (hi.x - lo.x) * (hi.y - lo.y);
        if (lo.x < p.x && p.x < hi.x && lo.y < p.y && p.y < hi.y && (!best || area < best_area)) {
            best = b.get();
            best_area = area;
        }
    }
    return best;
}

std::string le_list_name(const std::string& chunk_name)
{
    size_t slash = chunk_name.find('\\');
    return slash == std::string::npos ? chunk_name : chunk_name.substr(slash + 1);
}

float le_snap(float value, float step)
{
    return std::round(value / step) * step;
}

level_editor::level_editor(v_replay& recorder) : edit(std::make_unique<v_world>()), replay(&recorder) {}

level_editor::~level_editor() = default;

bool level_editor::startup(pak_system& store, const std::string* settings_text, const std::string& levels_folder)
{
    bool settings_ok = true;
    settings.make_block();
    if (settings_text && !script_parser(settings).parse(settings_text->c_str())) {
        log_line(log_always) << "ERROR: Parsing editor.txt";
        settings = script_handle::fresh(&settings_symbols);
        settings.make_block();
        settings_ok = false;
    }
    body_types = collect_types<v_body_type>(store, pak_code_btyp);
    constraint_types = collect_types<v_constraint_type>(store, pak_code_ctyp);
    node_types = collect_types<v_node_type>(store, pak_code_ntyp);
    fill_list(body_list, body_types);
    fill_list(constraint_list, constraint_types);
    fill_list(node_list, node_types);
    rope_list.items.clear();
    settings.get("ropes").for_each([&](script_id key, const script_handle& entry) {
        const char* text = entry.as_string();
        rope_list.items.push_back(text ? text : settings_symbols.name_of(key));
    });
    rope_list.rect = le_list_area;
    rope_list.fit_height();

    file.clear();
    folder = levels_folder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    view_x = le_start_x;
    view_y = le_start_y;
    zoom = le_start_zoom;
    edit = std::make_unique<v_world>();
    history.reset({level_text(), file});
    status = "Ready. H shows every key.";
    return settings_ok;
}

void level_editor::offer_autosave()
{
    ed_document::offer_autosave(dialog, "level editor", "level", le_ask_restore);
}

// ----- Views and lines

void level_editor::to_interface(float wx, float wy, float& ix, float& iy) const
{
    float scale = le_ui_half_height / zoom;
    ix = le_ui_centre_x + (wx - view_x) * scale;
    iy = le_ui_centre_y + (wy - view_y) * scale;
}

void level_editor::to_world(float ix, float iy, float& wx, float& wy) const
{
    float scale = zoom / le_ui_half_height;
    wx = view_x + (ix - le_ui_centre_x) * scale;
    wy = view_y + (iy - le_ui_centre_y) * scale;
}

std::string level_editor::title_line() const
{
    std::string line = bare_file(file);
    if (modified())
        line += " *";
    line += editing ? "   EDITING" : "   TESTING";
    if (solved.valid && solved.text == level_text())
        line += "   solution kept (" + std::to_string(solved.cuts.size()) +
                (solved.cuts.size() == 1 ? " cut)" : " cuts)");
    return line;
}

std::string level_editor::selection_line() const
{
    if (constraint)
        return format("CONSTRAINT(length:%03.2f)", double(constraint->rest_length));
    if (body)
        return format("BODY(z_bias:%f)", double(body->z_bias));
    if (node)
        return std::string("NODE(fixed:") + (node->fixed ? "yes" : "no") + ")";
    return {};
}

const char* level_editor::prompt() const
{
    if (mode == le_first_attachment)
        return "Select 1st attachment point";
    if (mode == le_second_attachment)
        return "Select 2nd attachment point";
    return nullptr;
}

const ed_list_box* level_editor::shown_list() const
{
    return const_cast<level_editor*>(this)->list_of_mode();
}

ed_list_box* level_editor::list_of_mode()
{
    switch (mode) {
    case le_choose_body: return &body_list;
    case le_choose_constraint: return &constraint_list;
    case le_choose_node: return &node_list;
    case le_rope_list: return &rope_list;
    default: return nullptr;
    }
}

// ----- Levels, undo and files

std::string level_editor::level_text() const
{
    return v_level_text(*edit);
}

void level_editor::clear_pointers()
{
    node = nullptr;
    body = nullptr;
    constraint = nullptr;
    marker = 0;
    carried_body = nullptr;
    carried_node = nullptr;
    carried_marker = 0;
    first_attachment = nullptr;
    if (mode == le_carry_body || mode == le_carry_node || mode == le_carry_marker || mode == le_second_attachment)
        mode = le_idle;
}

bool level_editor::restore(const std::string& text)
{
    auto world = std::make_unique<v_world>();
    v_level_report report;
    if (!v_level_load_text(*world, text.c_str(), nullptr, &report))
        return false;
    clear_pointers();
    edit = std::move(world);
    refresh_selection();
    return true;
}

void level_editor::record_edit()
{
    if (!editing || mode == le_carry_body || mode == le_carry_node || mode == le_carry_marker)
        return;
    history.record({level_text(), file});
}

void level_editor::undo()
{
    if (!editing)
        return;
    record_edit();
    const ed_snapshot* s = ed_document::undo();
    if (!s) {
        status = "Nothing to undo.";
        return;
    }
    restore(s->text);
    status = "Undone.";
}

void level_editor::redo()
{
    if (!editing)
        return;
    const ed_snapshot* s = ed_document::redo();
    if (!s) {
        status = "Nothing to redo.";
        return;
    }
    restore(s->text);
    status = "Redone.";
}

void level_editor::new_level()
{
    clear_pointers();
    mode = le_idle;
    edit = std::make_unique<v_world>();
    file.clear();
    history.reset({level_text(), file});
    solved = {};
    autosave.remove();
    status = "A new level.";
}

void level_editor::load(const std::string& path)
{
    std::string text;
    if (!file_read_all(path, text, level_file_limit)) {
        dialog.message("The level " + bare_file(path) + " cannot be read.", "Load");
        return;
    }
    auto world = std::make_unique<v_world>();
    v_level_report report;
    // The loader shows its own message for a text that does not parse; the edit level
    // and whatever was unsaved in it stay as they were.
    if (!v_level_load_text(*world, text.c_str(), path.c_str(), &report)) {
        status = "Not loaded: " + bare_file(path) + " is damaged.";
        return;
    }
    clear_pointers();
    mode = le_idle;
    std::string before = level_text();
    edit = std::move(world);
    loaded(before, path, level_text());
    solved = {};
    refresh_selection();
    std::string left_out = report_text(report);
    if (!left_out.empty())
        dialog.message(left_out, "Load");
    status = "Loaded " + bare_file(path) + ".";
}

bool level_editor::save(const std::string& path)
{
    std::string text = level_text();
    std::string error;
    if (!write(path, text, error)) {
        dialog.message("The level cannot be saved as " + path + ": " + error +
                           ". Nothing was lost: the edit level stays open, and a file saved earlier is whole.",
                       "Save");
        status = "Not saved.";
        return false;
    }
    log_line(log_info) << "Level Saved. \"" << path << "\"";
    status = "Saved " + bare_file(path) + ".";
    if (solved.valid && solved.text == text) {
        std::string problem;
        if (services.save_solution && !services.save_solution(path, solved, problem))
            dialog.message("The level was saved, but its solution could not be: " + problem, "Save");
        else if (services.save_solution)
            status += " Its solution and replay were saved beside it.";
    } else {
        status += " No solution saved: test the level to a success, then save again.";
    }
    return true;
}

// ----- Dialogs

void level_editor::unsaved_then(int32_t purpose, const char* question)
{
    if (!modified()) {
        answer(ed_answer::discard, purpose);
        return;
    }
    dialog.ask_save(std::string(question) + " " + bare_file(file) + " has unsaved changes.", purpose);
}

bool level_editor::overlay(const ed_overlay_input& input)
{
    if (input.answer != ed_answer::none)
        answer(input.answer, input.purpose);
    if (input.picked)
        picked(input.pick);
    return input.taken;
}

void level_editor::answer(ed_answer a, int32_t purpose)
{
    if (a == ed_answer::cancel || a == ed_answer::none) {
        status = "Cancelled.";
        return;
    }
    if (purpose == le_ask_restore) {
        ed_snapshot saved;
        if (take_autosave(a == ed_answer::yes, saved) && restore(saved.text)) {
            restored(level_text(), saved.file);
            status = "Unsaved work restored: save it to keep it.";
        } else {
            autosave.remove();
            status = "The unsaved work was dropped.";
        }
        return;
    }
    if (a == ed_answer::save) {
        // Saving first, then the action: a new file asks for its name, and the action
        // waits for the next time it is asked.
        if (file.empty()) {
            open_picker(true);
            return;
        }
        if (!save(file))
            return;
    }
    if (purpose == le_ask_load)
        open_picker(false);
    else if (purpose == le_ask_new)
        new_level();
    else if (purpose == le_ask_quit)
        finish_quit();
}

void level_editor::finish_quit()
{
    autosave.remove();
    quit = true;
}

void level_editor::close_requested(bool forced)
{
    if (forced) {
        close_forced();
        quit = true;
        return;
    }
    if (play)
        stop_test(false);
    unsaved_then(le_ask_quit, "Leaving the editor:");
}

void level_editor::open_picker(bool saving)
{
    picker_saves = saving;
    std::string name = file.empty() ? "" : ed_reduce_name(file);
    picker.begin(folder, "Level", ".LEVL.txt", saving, name);
}

void level_editor::picked(const ed_pick& pick)
{
    if (pick.kind == ed_pick::cancelled) {
        status = "Cancelled.";
        return;
    }
    if (pick.kind != ed_pick::chosen)
        return;
    if (picker_saves)
        save(pick.path);
    else
        load(pick.path);
}

// ----- Testing

void level_editor::start_test()
{
    if (play || !editing)
        return;
    clear_pointers();
    mode = le_idle;
    // The play level is built from the level text, as the game and the solution check
    // build it, so that a run that solves it here solves it there, step for step.
    test_text = level_text();
    script_symbol_table symbols;
    script_handle root = script_handle::fresh(&symbols);
    if (!script_parser(root).parse(test_text.c_str()))
        return;
    play = std::make_unique<v_world>(v_world_from_level(v_mode_record, root, *replay));
    test_cuts.clear();
    editing = 0;
    status = "Testing: click a rope, spring or rod to cut it. Space: back to editing.";
}

void level_editor::stop_test(bool keep_state)
{
    if (!play)
        return;
    if (keep_state) {
        // The simulated state becomes the edit level; what was cut is gone from it.
        v_replay scratch;
        auto taken = std::make_unique<v_world>(v_world::copy(*play, v_mode_play, scratch));
        std::vector<v_constraint*> cut;
        for (size_t i = 0; i < play->constraints.size() && i < taken->constraints.size(); ++i)
            if (play->constraints[i]->cut)
                cut.push_back(taken->constraints[i].get());
        for (v_constraint* c : cut)
            taken->remove_constraint(c);
        clear_pointers();
        edit = std::move(taken);
    }
    play.reset();
    editing = 1;
    mode = le_idle;
    refresh_selection();
    if (keep_state) {
        record_edit();
        status = "The tested state is the edit level now (Ctrl+Z undoes it).";
    } else {
        status = "Back to editing; the level is as it was.";
    }
}

void level_editor::test_step()
{
    if (!play)
        return;
    int32_t before = play->verdict;
    play->step();
    if (before == v_verdict_undecided && play->verdict != before) {
        if (play->verdict == v_verdict_solved) {
            solved.valid = true;
            solved.cuts = test_cuts;
            solved.solved_step = play->step_count;
            solved.text = test_text;
            status = "SOLVED after " + format("%.2f", double(play->step_count) * double(step_seconds)) +
                     " s: the cuts are kept; save to write them as the level's solution.";
        } else {
            status = "FAILED. Space: back to editing.";
        }
    }
}

bool level_editor::run_pending()
{
    if (!verify_pending)
        return false;
    verify_pending = false;
    std::string summary, detail;
    services.verify(level_text(), solved, summary, detail);
    status = summary;
    dialog.message(detail, "Verify and rate");
    return true;
}

void level_editor::tick()
{
    if (!editing)
        return;
    std::string error;
    if (!autosave_step(double(step_seconds), error))
        status = "The autosave cannot be written: " + error;
}

// ----- Keys

void level_editor::key(uint32_t vk, bool down)
{
    if (vk == vk_shift)
        shift = down;
    if (vk == vk_control)
        control = down;
    if (!down || vk == vk_shift || vk == vk_control)
        return;
    if (overlay(ed_route_overlay_key(dialog, picker, help, vk)))
        return;
    if (vk == 'H' || vk == vk_f1) {
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
    case vk_escape:
        if (mode == le_carry_body || mode == le_carry_node || mode == le_carry_marker) {
            mode = le_idle;
            record_edit();
        }
        mode = le_idle;
        first_attachment = nullptr;
        return;
    case vk_space:
        if (editing)
            start_test();
        else
            stop_test(control);
        return;
    case vk_left: view_x -= zoom / 16; return;
    case vk_right: view_x += zoom / 16; return;
    case vk_up: view_y -= zoom / 16; return;
    case vk_down: view_y += zoom / 16; return;
    case vk_open_bracket: zoom *= 1.3f; return;
    case vk_close_bracket: zoom /= 1.3f; return;
    case 'D': debug = !debug; return;
    case 'G':
        grid = !grid;
        status = grid ? "Grid on: positions snap to half units." : "Grid off.";
        return;
    case 'R': mode = le_rope_list; return;
    }
    if (!editing) {
        status = "Testing: Space goes back to editing first.";
        return;
    }
    edit_key(vk);
    record_edit();
}

void level_editor::edit_key(uint32_t vk)
{
    vec2 at{pointer_x, pointer_y};
    if (control && vk == 'N') {
        unsaved_then(le_ask_new, "Starting a new level:");
        return;
    }
    switch (vk) {
    case 'B':
    case 'C':
    case 'N':
        if (mode == le_idle)
            mode = vk == 'B' ? le_choose_body : vk == 'C' ? le_choose_constraint : le_choose_node;
        return;
    case 'M':
        if (mode == le_idle) {
            edit->add_marker(at.x, at.y, 0.0f);
            carried_marker = int32_t(edit->markers.size());
            mode = le_carry_marker;
        }
        return;
    case vk_delete: delete_selected(); return;
    case 'F': toggle_fixed(); return;
    case vk_equals: adjust(1.0f); return;
    case vk_minus: adjust(-1.0f); return;
    case 'L':
        unsaved_then(le_ask_load, "Loading another level:");
        return;
    case 'S':
        if (control && !file.empty())
            save(file);
        else
            open_picker(true);
        return;
    case 'P':
        if (control && services.build_previews)
            status = services.build_previews();
        return;
    case 'V':
        if (!solved.valid || solved.text != level_text()) {
            dialog.message("There is no solution of this level to check yet. Test it with Space, cut "
                           "until it is solved, and press V again (before changing it).",
                           "Verify");
            return;
        }
        // The check takes a moment: the window shows that it runs, then it runs after
        // the frame is shown (run_pending).
        if (services.verify) {
            verify_pending = true;
            status = "Checking the solution and measuring the difficulty...";
        }
        return;
    }
}

void level_editor::delete_selected()
{
    if (constraint)
        edit->remove_constraint(constraint);
    else if (body)
        edit->remove_body(body);
    else if (node)
        edit->remove_node(node);
    else if (marker > 0 && size_t(marker) <= edit->markers.size())
        edit->markers.erase(edit->markers.begin() + (marker - 1));
    else
        return;
    clear_pointers();
    mode = le_idle;
    refresh_selection();
}

void level_editor::toggle_fixed()
{
    if (shift && body) {
        if (body->nodes.empty())
            return;
        bool fix = !body->nodes.front().fixed;
        for (v_node& n : body->nodes)
            n.fixed = fix;
        body->finalise();
        return;
    }
    if (!node)
        return;
    node->fixed = !node->fixed;
    if (v_body* owner = node->body)
        owner->finalise();
}

void level_editor::adjust(float sign)
{
    if (constraint) {
        v_constraint& c = *constraint;
        if (control) {
            vec2 d = c.n2->position - c.n1->position;
            c.rest_length = std::sqrt(d.length_sq()) / float(c.inodes.size() + 1);
        } else {
            c.rest_length += sign * (shift ? 0.05f : 1.0f);
        }
        c.rest_length = std::max(c.rest_length, le_min_length);
        return;
    }
    if (body)
        body->z_bias += sign * (shift ? 0.05f : 1.0f);
}

void level_editor::character(uint32_t latin1)
{
    if (picker.open && !dialog.open)
        picker.character(latin1);
}

// ----- Mouse

void level_editor::refresh_selection()
{
    const v_world& w = *edit;
    vec2 p{pointer_x, pointer_y};
    if (!editing) {
        node = nullptr;
        body = nullptr;
        marker = 0;
        constraint = nullptr;
        return;
    }
    node = w.pick_node(p);
    body = le_pick_body(w, p);
    constraint = w.pick_constraint(p, le_pick_distance, false);
    marker = w.pick_marker(p);
    edit->set_hovered(constraint);
}

void level_editor::move_carried()
{
    vec2 p{pointer_x, pointer_y};
    vec2 snapped = grid ? vec2{le_snap(p.x, le_grid_step), le_snap(p.y, le_grid_step)} : p;
    float rise = previous_y - pointer_y;
    if (mode == le_carry_body && carried_body) {
        v_body& b = *carried_body;
        if (shift) {
            carry_angle += rise / le_turn_divisor;
            b.angle = grid ? le_snap(carry_angle, le_angle_step) : carry_angle;
        } else {
            b.position = snapped;
        }
        b.place_nodes(true);
        b.finalise();
        edit->rebuild_ropes_of(&b);
    } else if (mode == le_carry_node && carried_node) {
        carried_node->position = snapped;
        edit->rebuild_ropes_of(carried_node);
    } else if (mode == le_carry_marker && carried_marker > 0 && size_t(carried_marker) <= edit->markers.size()) {
        v_marker& m = edit->markers[size_t(carried_marker - 1)];
        if (shift) {
            m.angle += rise / le_turn_divisor;
        } else {
            m.x = p.x;
            m.y = p.y;
        }
    }
}

void level_editor::mouse(uint32_t flags, float x, float y)
{
    previous_y = pointer_y;
    pointer_x = x;
    pointer_y = y;
    float ix, iy;
    to_interface(x, y, ix, iy);
    bool pressed = flags & (left_press | right_press);
    if (overlay(ed_route_overlay_mouse(dialog, picker, help, flags, ix, iy)))
        return;
    if (ed_list_box* list = list_of_mode()) {
        list->point(ix, iy);
        if (flags & left_release)
            list->release();
        if (flags & left_press) {
            int32_t entry = list->press(ix, iy);
            if (entry >= 0)
                choose_from_list(entry);
        }
        return;
    }
    if (!editing) {
        if (!play)
            return;
        v_constraint* c = play->pick_constraint({x, y}, le_pick_distance, true);
        play->set_hovered(c);
        if (pressed) {
            if (c) {
                c->cut = true;
                test_cuts.push_back({play->step_count, play->constraint_index(c)});
                if (services.cut_sound)
                    services.cut_sound();
            }
        }
        return;
    }
    move_carried();
    if (pressed)
        press(flags);
    refresh_selection();
    if (pressed)
        record_edit();
}

void level_editor::press(uint32_t flags)
{
    (void)flags;
    vec2 p{pointer_x, pointer_y};
    switch (mode) {
    case le_idle: {
        v_node* n = edit->pick_node(p);
        if (n && !n->body) {
            carried_node = n;
            mode = le_carry_node;
        } else if (int32_t m = edit->pick_marker(p)) {
            carried_marker = m;
            mode = le_carry_marker;
        } else if (v_body* b = le_pick_body(*edit, p)) {
            carried_body = b;
            carry_angle = b->angle;
            mode = le_carry_body;
        }
        return;
    }
    case le_first_attachment:
        if (v_node* n = edit->pick_node(p)) {
            first_attachment = n;
            mode = le_second_attachment;
        }
        return;
    case le_second_attachment: {
        v_node* n = edit->pick_node(p);
        if (!n || n == first_attachment)
            return;
        if (first_attachment && first_attachment->body && first_attachment->body == n->body) {
            status = "Both ends lie on one body: choose a node elsewhere.";
            return;
        }
        edit->add_constraint(joining_type, first_attachment, n);
        first_attachment = nullptr;
        mode = le_idle;
        return;
    }
    case le_carry_body:
        carried_body = nullptr;
        mode = le_idle;
        return;
    case le_carry_node:
        carried_node = nullptr;
        mode = le_idle;
        return;
    case le_carry_marker:
        carried_marker = 0;
        mode = le_idle;
        return;
    default: return;
    }
}

void level_editor::choose_from_list(int32_t entry)
{
    vec2 at = grid ? vec2{le_snap(pointer_x, le_grid_step), le_snap(pointer_y, le_grid_step)}
                   : vec2{pointer_x, pointer_y};
    size_t i = size_t(entry);
    switch (mode) {
    case le_choose_body: {
        if (i >= body_types.size())
            return;
        v_body* b = edit->add_body(v_make_body(body_types[i], at, 0.0f));
        if (!b) {
            status = "The body type cannot be used.";
            return;
        }
        carried_body = b;
        carry_angle = 0.0f;
        mode = le_carry_body;
        return;
    }
    case le_choose_node:
        if (i >= node_types.size())
            return;
        carried_node = edit->add_node(node_types[i], at);
        mode = le_carry_node;
        return;
    case le_choose_constraint:
        if (i >= constraint_types.size())
            return;
        joining_type = constraint_types[i];
        mode = le_first_attachment;
        return;
    case le_rope_list: {
        // A rope entry names a constraint type by its chunk name or by its listed name.
        const std::string& name = rope_list.items[i];
        for (const auto& t : constraint_types)
            if (t->name == name || le_list_name(t->name) == name) {
                joining_type = t;
                mode = le_first_attachment;
                return;
            }
        status = name + " is not a constraint type of this data.";
        return;
    }
    default: return;
    }
}
