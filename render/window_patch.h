// A window patch: a rectangle of the window's back buffer kept in a texture and put back
// pixel for pixel. For parts of a frame that stay the same from frame to frame and cost
// more to draw than to copy: on a software rasteriser, a copy without filtering, blending
// or colour costs about half of what a filtered, blended sprite of the same size does.
//
//   window_patch patch;
//   ... draw the part ...
//   patch.capture(x, y, w, h);    // window pixels, from the bottom-left corner
//   ... later frames ...
//   patch.restore();              // the same pixels again, exactly
//
// Needs the GL context that made it; release() (or the destructor) must run while it exists.
#pragma once

#include <cstdint>

class window_patch {
public:
    // The rectangle held, in window pixels from the bottom-left corner; 0 x 0 when none.
    int32_t x = 0, y = 0, width = 0, height = 0;
    uint32_t texture = 0;                          // GL name
    int32_t texture_width = 0, texture_height = 0;  // powers of two, at least the rectangle

    window_patch() = default;
    ~window_patch();
    window_patch(const window_patch&) = delete;
    window_patch& operator=(const window_patch&) = delete;

    bool held() const { return width > 0 && height > 0; }

    // Copies the rectangle from the back buffer. False (and nothing held) for an empty
    // rectangle, one larger than GL takes, or one GL refuses.
    bool capture(int32_t x, int32_t y, int32_t width, int32_t height);
    // Puts the copy back where it came from, replacing what is there: no blending, no
    // filtering, no depth test, whatever the current colour. GL state is left as found.
    void restore() const;
    // Puts back the part of the copy inside a window rectangle, the same way.
    void restore(int32_t x, int32_t y, int32_t width, int32_t height) const;
    // Drops the copy and its texture.
    void release();
};
