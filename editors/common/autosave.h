// The editors' autosave: while there is unsaved work, the editor writes it beside the
// configuration once a minute of editing, with the replacing write. A clean save or exit
// removes the file; finding it at start-up means the last session ended without either,
// and the editor offers the work back.
//
// The file: a first line naming the kind ("tamble level editor autosave"), a second line
// with the path of the file the work belonged to (empty for a new one), then the text.
#pragma once

#include "editors/common/history.h"

#include <string>

class ed_autosave {
public:
    std::string path;     // empty: autosave is off
    std::string header;   // the first line
    double interval = 60.0;
    double editing = 0.0;  // seconds of editing since the last write

    ed_autosave() = default;
    ed_autosave(std::string file, std::string kind) : path(std::move(file)), header(std::move(kind)) {}

    // Counts editing time; true once a minute has passed (the caller then writes when the
    // work is modified, and calls written() either way).
    bool due(double seconds);
    void written() { editing = 0.0; }
    bool write(const ed_snapshot& state, std::string* error = nullptr) const;
    // The work left by a session that ended without saving; false when there is none, or
    // it is not an autosave of this kind.
    bool read(ed_snapshot& state) const;
    void remove() const;
};
