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
    ed_snapshot saved;
    if (!autosave.read(saved))
        return;
    dialog.ask_yes_no("The body editor did not close cleanly last time. Its unsaved work on " +
                          file_label(saved.file) + " was kept. Restore it?",
                      "Restore unsaved work", ask_restore);
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
    const ed_snapshot* s = history.undo();
    if (!s) {
        status = "Nothing to undo.";
        return;
    }
    restore(s->text);
    file = s->file;
    status = "Undone.";
}

void body_editor::redo()
{
    const ed_snapshot* s = history.redo();
    if (!s) {
        status = "Nothing to redo.";
        return;
    }
    restore(s->text);
    file = s->file;
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
    body loaded;
    std::string notes;
    if (!body::parse(text, loaded, notes)) {
        // The body being edited, and whatever was unsaved in it, stays as it was.
        dialog.message("Error Loading File.", "Load");
        status = "Not loaded: " + file_label(path) + " is damaged.";
        return;
    }
    // Numbers with more decimals than the writer keeps are taken as it prints them, so
    // that what undo gives back is what it saved.
    std::string printed = loaded.text();
    std::string none;
    body::parse(printed, loaded, none);
    // Loading is an edit like any other: undo brings back the body that was open.
    history.record({body_text(), file});
    work = std::move(loaded);
    file = path;
    mode = mode_idle;
    texture_mode = false;
    texture_polygon = remembered = first_node = -1;
    refresh_selection();
    ed_snapshot now{body_text(), file};
    history.record(now);
    history.mark_saved(now);
    problems = work.check();
    if (!notes.empty())
        dialog.message(notes, "Load");
    status = "Loaded " + file_label(path) + ".";
}

bool body_editor::save(const std::string& path)
{
    std::string text = body_text();
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::string error;
    if (!file_write_replacing(path, text.data(), text.size(), &error)) {
        dialog.message("The body cannot be saved as " + path + ": " + error +
                           ". Nothing was lost: the body stays open, and a file saved earlier is whole.",
                       "Save");
        status = "Not saved.";
        return false;
    }
    // A save names the document: its undo states belong to the new file from now on.
    for (ed_snapshot& state : history.states)
        if (state.file == file)
            state.file = path;
    file = path;
    ed_snapshot now{text, file};
    history.record(now);
    history.mark_saved(now);
    autosave.remove();
    autosave.written();
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
        if (a == ed_answer::yes && autosave.read(saved) && restore(saved.text)) {
            file = saved.file;
            history.reset({body_text(), file});
            // The restored work is not on the disk yet.
            history.mark_saved({std::string(), file});
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
        if (history.modified())
            autosave.write(history.current());
        else
            autosave.remove();
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
    if (autosave.due(double(step_seconds))) {
        if (history.modified()) {
            std::string error;
            if (!autosave.write(history.current(), &error))
                status = "The autosave cannot be written: " + error;
        }
        autosave.written();
    }
}

}  // namespace bedit
