// What lies over an editor takes the mouse and the keys before the editor does: an open
// dialog, then the file picker, then the help card (any press or key closes it).
#pragma once

#include "editors/common/dialog.h"
#include "editors/common/file_picker.h"

#include <cstdint>

struct ed_overlay_input {
    bool taken = false;  // an overlay had the event; the editor does nothing more with it
    ed_answer answer = ed_answer::none;
    int32_t purpose = 0;  // of the dialog answered
    bool picked = false;  // `pick` says what the picker chose
    ed_pick pick;
};

// `x`, `y` in interface units.
ed_overlay_input ed_route_overlay_mouse(ed_dialog& dialog, ed_file_picker& picker, bool& help, uint32_t flags,
                                        float x, float y);
// A key pressed (not Shift or Ctrl alone).
ed_overlay_input ed_route_overlay_key(ed_dialog& dialog, ed_file_picker& picker, bool& help, uint32_t vk);
