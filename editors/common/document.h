// What both editors keep of the document they edit, and the bookkeeping around it: the
// file it belongs to, its undo history and its autosave. An editor derives from it and
// says only how its document turns into text and back; loading, saving, undoing, the
// autosave's clock and its offer after a crash work the same way in both.
#pragma once

#include "editors/common/autosave.h"
#include "editors/common/dialog.h"
#include "editors/common/history.h"

#include <cstdint>
#include <string>

struct ed_document {
    std::string file;  // the path of the document, empty for a new one
    ed_history history;
    ed_autosave autosave;

    bool modified() const { return history.modified(); }
    // The name shown for a path: its last part, or "(new <kind>)" for a new document.
    static std::string label(const std::string& path, const char* kind);

    // Loading is an edit like any other: `before` (the document that was open) stays on the
    // undo stack, and the loaded text becomes what the disk holds.
    void loaded(const std::string& before, const std::string& path, const std::string& text);
    // Writes `text` to `path` (making its folder) with the replacing write. A save names the
    // document: its undo states belong to the new file from then on, so undo never turns
    // the file back into a new document (only undoing a load does). False with `error`.
    bool write(const std::string& path, const std::string& text, std::string& error);
    // The state to go back or forward to (the file follows it), or null.
    const ed_snapshot* undo();
    const ed_snapshot* redo();

    // Asks, when a session ended without a clean save or exit, whether its work comes back.
    void offer_autosave(ed_dialog& dialog, const char* editor_name, const char* kind, int32_t purpose) const;
    // The answer: true when the autosaved work is to be restored (`saved` holds it).
    bool take_autosave(bool yes, ed_snapshot& saved) const;
    // The restored work as the new start of the history, not yet on the disk.
    void restored(const std::string& text, const std::string& path);
    // One step of editing: writes the autosave once a minute while the work is modified.
    // False with `error` when it cannot be written.
    bool autosave_step(double seconds, std::string& error);
    // The window closes without asking: unsaved work is kept in the autosave.
    void close_forced();
};
