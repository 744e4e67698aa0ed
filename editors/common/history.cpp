// The snapshot stack of undo and redo.
#include "editors/common/history.h"

void ed_history::reset(const ed_snapshot& state)
{
    states.assign(1, state);
    at = 0;
    saved = state;
}

bool ed_history::record(const ed_snapshot& state)
{
    if (!states.empty() && states[at] == state)
        return false;
    states.resize(states.empty() ? 0 : at + 1);
    states.push_back(state);
    if (states.size() > limit)
        states.erase(states.begin(), states.begin() + ptrdiff_t(states.size() - limit));
    at = states.size() - 1;
    return true;
}

const ed_snapshot* ed_history::undo()
{
    if (!can_undo())
        return nullptr;
    return &states[--at];
}

const ed_snapshot* ed_history::redo()
{
    if (!can_redo())
        return nullptr;
    return &states[++at];
}

size_t ed_history::memory_bytes() const
{
    size_t total = sizeof(*this) + states.capacity() * sizeof(ed_snapshot);
    for (const ed_snapshot& s : states)
        total += s.text.capacity() + s.file.capacity();
    return total;
}
