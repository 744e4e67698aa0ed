// Undo and redo for the editors: one stack of snapshots, each the whole text the editor
// would save plus the file it belongs to. An edit is whatever changes that text, so every
// kind of edit is undone the same way and nothing can be forgotten. Levels and bodies are
// small (the largest shipped level saves to about 6 KB), so 200 snapshots stay near a
// megabyte.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct ed_snapshot {
    std::string text;
    std::string file;  // the current file's path, empty before the first save

    bool operator==(const ed_snapshot&) const = default;
};

class ed_history {
public:
    std::vector<ed_snapshot> states;  // oldest first
    size_t at = 0;                    // the current state's index
    // The state the file on disk holds (the last save or load); the work is modified
    // while the current state differs from it.
    ed_snapshot saved;
    size_t limit = 200;

    // Starts afresh from `state`, which is also what the disk holds (a new or loaded level).
    void reset(const ed_snapshot& state);
    // Adds `state` after the current one when it differs from it, dropping what could have
    // been redone; true when it was added.
    bool record(const ed_snapshot& state);
    // The state to return to, or null when there is none.
    const ed_snapshot* undo();
    const ed_snapshot* redo();
    const ed_snapshot& current() const { return states[at]; }
    bool can_undo() const { return at > 0; }
    bool can_redo() const { return at + 1 < states.size(); }
    void mark_saved(const ed_snapshot& state) { saved = state; }
    bool modified() const { return !states.empty() && !(current() == saved); }
    size_t memory_bytes() const;
};
