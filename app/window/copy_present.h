// Presenting a frame by copying the back buffer to the window, on a software rasteriser.
//
// A software rasteriser pays for every pixel it fills, so a screen whose margins stay the
// same from frame to frame gains by leaving them in the back buffer instead of drawing them
// again. After a buffer swap the back buffer's contents are undefined; GLX_MESA_copy_sub_buffer
// copies the back buffer to the window and leaves it as drawn, and on a software rasteriser
// a swap is that same copy. On a GPU the swap is cheap and keeps to the display's retrace, so
// there it stays the swap.
#pragma once

#include <cstdint>

// True when the current GL context presents by copy: a GLX context whose display offers
// GLX_MESA_copy_sub_buffer, on a software renderer.
bool glw_copy_present_available();

// Copies a rectangle of the back buffer (drawable pixels from the bottom-left corner) to
// the window; the back buffer keeps its contents. False when the current context has no
// GLX drawable or the copy is not offered.
bool glw_copy_present(int32_t x, int32_t y, int32_t width, int32_t height);
