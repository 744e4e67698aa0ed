// The body editor's undo, files, dialogs and autosave.
#include "editors/body/body_editor.h"

#include "app/log.h"
#include "app/step.h"
#include "app/file_io.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace bedit {

namespace {

// Body files are small texts; anything larger is not one.
constexpr uint64_t body_file_limit = 16ull << 20;

}  // namespace

void body_editor::offer_autosave()
{
    ed_document::offer_autosave(dialog, "body editor", "body", ask_restore);
}

void body_editor::record_edit()
{
    problems = work.check();
    if (trial || mode == mode_carry_node || mode == mode_carry_corner || mode == mode_pan)
        return;
    history.record({body_text(), file});
}

bool body_editor::restore(const std::string& text)
{
    body b;
    std::string notes;
    if (!body::parse(text, b, notes))
        return false;
    work = std::move(b);
    mode = mode_idle;
    texture_mode = false;
    texture_polygon = remembered = first_node = -1;
    refresh_selection();
    problems = work.check();
    return true;
}

void body_editor::undo()
{
    record_edit();
    const ed_snapshot* s = ed_document::undo();
    if (!s) {
        status = "Nothing to undo.";
        return;
    }
    restore(s->text);
    status = "Undone.";
}

void body_editor::redo()
{
    const ed_snapshot* s = ed_document::redo();
    if (!s) {
        status = "Nothing to redo.";
        return;
    }
    restore(s->text);
    status = "Redone.";
}

void body_editor::new_body()
{
    // The keys the editor does not manage ("mass", "material", ...) stay, as does the
    // colour: a new body starts from the settings of the last. The file name goes, so that
    // Ctrl+S cannot write the empty body over the file just left (Ctrl+Z brings it back).
    work.nodes.clear();
    work.constraints.clear();
    work.polygons.clear();
    inserting = {};
    mode = mode_idle;
    texture_mode = false;
    texture_polygon = remembered = first_node = retexture_polygon = -1;
    carried_node = carried_polygon = carried_corner = -1;
    file.clear();
    refresh_selection();
    status = "A new body (Ctrl+Z brings the last one back).";
}

void body_editor::load(const std::string& path)
{
    std::string text;
    if (!file_read_all(path, text, body_file_limit)) {
        dialog.message("The body " + file_label(path) + " cannot be read.", "Load");
        return;
    }
    body fresh;
    std::string notes;
    if (!body::parse(text, fresh, notes)) {
        // The body being edited, and whatever was unsaved in it, stays as it was.
        dialog.message("Error Loading File.", "Load");
        status = "Not loaded: " + file_label(path) + " is damaged.";
        return;
    }
    // Numbers with more decimals than the writer keeps are taken as it prints them, so
    // that what undo gives back is what it saved.
    std::string printed = fresh.text();
    std::string none;
    body::parse(printed, fresh, none);
    std::string before = body_text();
    work = std::move(fresh);
    mode = mode_idle;
    texture_mode = false;
    texture_polygon = remembered = first_node = -1;
    refresh_selection();
    loaded(before, path, body_text());
    problems = work.check();
    if (!notes.empty())
        dialog.message(notes, "Load");
    status = "Loaded " + file_label(path) + ".";
}

bool body_editor::save(const std::string& path)
{
    std::string text = body_text();
    std::string error;
    if (!write(path, text, error)) {
        dialog.message("The body cannot be saved as " + path + ": " + error +
                           ". Nothing was lost: the body stays open, and a file saved earlier is whole.",
                       "Save");
        status = "Not saved.";
        return false;
    }
    log_line(log_info) << "Body Saved. \"" << path << "\"";
    status = "Saved " + file_label(path) + ".";
    return true;
}

void body_editor::save_checked(const std::string& path)
{
    problems = work.check();
    std::string refused;
    for (const problem& p : problems)
        if (p.refused && refused.empty())
            refused = p.text;
    std::string why;
    if (refused.empty() && !trial_body_type(body_text(), why))
        refused = why;
    if (refused.empty()) {
        save(path);
        return;
    }
    pending_save = path;
    dialog.ask_yes_no("The game would refuse this body, and levels that use it would leave it out. " + refused +
                          "\n\nSave it anyway?",
                      "Save", ask_save_refused);
}

void body_editor::open_picker(bool saving)
{
    picker_saves = saving;
    picker.begin(folder, "Body Type", ".BTYP.txt", saving, file.empty() ? "" : ed_reduce_name(file));
}

void body_editor::picked(const ed_pick& pick)
{
    if (pick.kind == ed_pick::cancelled) {
        status = "Cancelled.";
        return;
    }
    if (pick.kind != ed_pick::chosen)
        return;
    if (picker_saves)
        save_checked(pick.path);
    else
        load(pick.path);
}

// ----- Dialogs

void body_editor::unsaved_then(int32_t purpose, const char* question)
{
    if (!history.modified()) {
        answer(ed_answer::discard, purpose);
        return;
    }
    dialog.ask_save(std::string(question) + " " + file_label(file) + " has unsaved changes.", purpose);
}

bool body_editor::overlay(const ed_overlay_input& input)
{
    if (input.answer != ed_answer::none)
        answer(input.answer, input.purpose);
    if (input.picked)
        picked(input.pick);
    return input.taken;
}

void body_editor::answer(ed_answer a, int32_t purpose)
{
    if (a == ed_answer::cancel || a == ed_answer::none) {
        status = "Cancelled.";
        return;
    }
    switch (purpose) {
    case ask_new_body:
        if (a == ed_answer::yes) {
            new_body();
            record_edit();
        } else {
            status = "The body stays as it is.";
        }
        return;
    case ask_save_refused:
        if (a == ed_answer::yes)
            save(pending_save);
        else
            status = "Not saved.";
        return;
    case ask_restore: {
        ed_snapshot saved;
        if (take_autosave(a == ed_answer::yes, saved) && restore(saved.text)) {
            restored(body_text(), saved.file);
            status = "Unsaved work restored: save it to keep it.";
        } else {
            autosave.remove();
            status = "The unsaved work was dropped.";
        }
        return;
    }
    default: break;
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
    if (purpose == ask_load) {
        open_picker(false);
    } else if (purpose == ask_quit) {
        autosave.remove();
        quit = true;
    }
}

void body_editor::close_requested(bool forced)
{
    if (forced) {
        close_forced();
        quit = true;
        return;
    }
    if (trial)
        stop_trial();
    unsaved_then(ask_quit, "Leaving the editor:");
}

void body_editor::tick()
{
    if (trial)
        return;
    std::string error;
    if (!autosave_step(double(step_seconds), error))
        status = "The autosave cannot be written: " + error;
}

}  // namespace bedit
