// The one path from the window's input queues to whatever handles them: a menu screen's
// logic, an editor, the viewer. Every frame empties the queues through drain_input, so the
// order in which a screen sees its events is the same everywhere.
#pragma once

#include <cstdint>
#include <functional>

// A handler per queue; an empty one drops its events (a screen that takes no typing still
// has the characters removed, so that they do not pile up). `down` is true for a press.
struct input_sink_t {
    std::function<void(uint32_t virtual_key, bool down)> key;
    std::function<void(uint32_t latin1)> character;
    std::function<void(uint32_t flags, float x, float y)> mouse;
    // Asked before each event: true ends the drain and leaves the rest queued, so that a
    // screen that has decided to leave acts on nothing after the event that made it leave.
    std::function<bool()> stop;
};

// Empties the queues of `queues` (the window, glw_window, or a test's stand-in with the same
// three pop functions) into `sink`: every key event first, then the typed characters, then
// the mouse events, each in the order they came. Keys go first so that a modifier or a key
// pressed in the same frame as a click applies to it.
template <class queues_type>
void drain_input(queues_type& queues, const input_sink_t& sink)
{
    auto stopped = [&] { return sink.stop && sink.stop(); };
    uint32_t key = 0, down = 0, latin1 = 0, flags = 0;
    float x = 0, y = 0;
    while (!stopped() && queues.pop_key_event(key, down))
        if (sink.key)
            sink.key(key, down != 0);
    while (!stopped() && queues.pop_char_event(latin1))
        if (sink.character)
            sink.character(latin1);
    while (!stopped() && queues.pop_mouse_event(flags, x, y))
        if (sink.mouse)
            sink.mouse(flags, x, y);
}
