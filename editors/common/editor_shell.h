// The window side shared by both editors: opening the editor window (titled "Tamble", not
// full screen, maximised on the desktop unless the test driver sets its size), the GL state
// they draw with, and the editor loop that pumps the window, hands its input to the
// editor, steps it under the editors' pacing and draws it.
#pragma once

#include "app/driver_script.h"
#include "app/editor_pacing.h"

#include <cstdint>
#include <functional>

class glw_window;
struct editor_options;

// What the loop asks of an editor.
struct ed_loop_t {
    // Input, in the order it came; mouse positions in the view that `before_pump` set.
    std::function<void(uint32_t flags, float x, float y)> mouse;
    std::function<void(uint32_t key, bool down)> key;
    std::function<void(uint32_t latin1)> character;
    // The window asks to close; `forced` when the test driver's frame limit ends the run.
    std::function<void(bool forced)> close;
    // Sets the view that pointer positions are measured in.
    std::function<void()> before_pump;
    // True while editing, false while a test runs.
    std::function<bool()> editing;
    std::function<void()> edit_step;
    std::function<void()> test_step;
    std::function<void()> draw;
    // After the frame is on the screen (may be empty): work that takes a while runs here, so
    // that the frame before it says what is going on.
    std::function<void()> after_swap;
    std::function<bool()> done;
};

// Opens the window at the desktop's size (the driver's --size when given) and maximises
// it. False when no GL window can be made.
bool ed_open_window(glw_window& window, const driver_options& driver);
// Model-view identity, no face culling, blending by source alpha.
void ed_gl_state();
// An editor's start-up, in order: the window (`window` made with the editors' input
// callbacks), the start-up assets, the GL state, the sound and the collision-sound table.
// False when the window or the assets cannot be had; it then says why and leaves nothing
// open.
bool ed_start(glw_window& window, const editor_options& options);
// The finish: the assets, the sound, and the GL context last. The editor releases what
// holds textures before it.
void ed_finish(glw_window& window);
// Runs frames until the editor is done. A minimised or unfocused window steps nothing and
// owes no time afterwards.
void ed_run_loop(glw_window& window, const ed_loop_t& editor, editor_pacing& pacing);
