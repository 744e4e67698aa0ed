// The margin frames: the two pictures left and right of the 64 x 64 square that the play
// screen and the screen shell draw, the left one at x -30..2 and its mirror at 62..94 (each
// pushed `offset` units further out while they slide in). Their inner edges cast a soft
// shadow onto what lies beside them; the rest of them is opaque.
//
// On a software rasteriser they cost a third of what a level's drawing does, yet they stay
// the same from frame to frame. So once they have been drawn twice in a row alike (window,
// view, offset, texture, full brightness, window shown), the parts whose every pixel is fully opaque
// frame are copied from the window (window_patch) and put back in later frames, and only
// the shadowed inner edges are drawn; the pixels are the same as drawing them whole.
//
// What a screen puts on its frames (the play screen's buttons) can be drawn with them as
// their cover: it is held in the copies too, and drawn again only beyond them. And where the
// copies and an opaque square together cover the whole window, the screen need not clear
// the colour first (covers_window).
//
// Where frames are presented by copy, the back buffer keeps them from one frame to the next
// (keeps_window): a screen that then draws nothing beside the copies before draw() (as
// scissor_between() sees to) leaves them in place, and draw() puts back only what was
// drawn over them after it in the frame before (drawn_over: the pointer).
#pragma once

#include "render/texture.h"
#include "render/window_patch.h"

#include <cstdint>
#include <functional>
#include <vector>

class glw_window;

// What a screen draws on its frames, right after them: only outside the square, and in
// pixels nothing else drawn before the next copy point touches. `key` names what it draws
// and must change whenever its picture does.
struct margin_cover {
    std::function<void()> draw;
    uint64_t key = 0;
};

class margin_frames {
public:
    // Fully opaque columns of the texture from its outer edge (u = 0), found once per texture.
    uint32_t analysed_texture = 0;
    int32_t opaque_columns = 0;

    // What the patches were copied for, and what the last frame drew.
    struct frame_key {
        int32_t left = 0, bottom = 0;   // the viewport's origin: copies are taken from 0, 0
        int32_t width = 0, height = 0;  // the viewport's, in drawable pixels
        float view[4] = {};
        float offset = 0.0f;
        uint32_t texture = 0;
        uint64_t cover = 0;
        // A minimised window's back buffer need not hold what was drawn: nothing is copied
        // from it, and copies taken before are taken anew once it is back.
        bool shown = true;
        bool operator==(const frame_key&) const = default;
    };
    frame_key held_key, last_key;
    bool held = false;
    window_patch left, right;
    // Pixel columns the patches end at (left) and begin at (right): the shadowed edges lie
    // beyond them and are drawn in every frame.
    int32_t left_end = 0, right_begin = 0;
    // The window's swap count when draw() last left the frames as the copies hold them;
    // -1 when it did not.
    int64_t drawn_at_swap = -1;
    // What was drawn over the frames since draw(), in view units (left, top, right, bottom).
    struct view_rect {
        float left = 0, top = 0, right = 0, bottom = 0;
    };
    std::vector<view_rect> drawn_over_frames;

    // Draws both frames in the window's view, in the current colour and blending, with the
    // same pixels as gl_draw_quad(texture, -14 - offset, 32, 32, 64) and
    // gl_draw_quad(texture, 78 + offset, 32, 32, 64, {1, 1}, {0, 0}), then the cover. Copies
    // are made and used only in white, without the depth test, unblended or blended by
    // source alpha, for a texture that neither repeats, scrolls nor animates, and while the
    // frames reach past the window's sides. A null texture draws nothing but the cover;
    // without a window the frames are drawn whole.
    //
    // `untouched`: since the frame began, nothing was drawn beside the copies (keeps_window()
    // said so and the screen drew within scissor_between()). When the back buffer still
    // holds them, only what drawn_over() noted in the frame before is put back.
    void draw(const glw_window* window, gl_texture* texture, float offset, const margin_cover& cover = {},
              bool untouched = false);
    // True when the back buffer still holds the frames and their cover as draw() with these,
    // in white, left them in the frame before, apart from what drawn_over() noted since.
    bool keeps_window(const glw_window* window, const gl_texture* texture, float offset,
                      uint64_t cover_key = 0) const;
    // Confines drawing to the pixels between the copies (the scissor test, on until the
    // caller turns it off). After keeps_window() said true.
    void scissor_between() const;
    // Notes a rectangle drawn after draw() (centre and size in view units, as gl_draw_quad
    // takes them): the next frame's draw() puts the frames back under it.
    void drawn_over(float centre_x, float centre_y, float width, float height);
    // True when draw() with these, in white, would put back copies that cover the window
    // beside the square (0 to 64 across, the whole view's height): a screen whose square
    // is covered opaquely then leaves every pixel drawn over, whatever the window held.
    bool covers_window(const glw_window* window, const gl_texture* texture, float offset,
                       uint64_t cover_key = 0) const;
    // Drops the copies (before the GL context goes).
    void release();

private:
    bool copyable(const frame_key& key, gl_texture& texture);
    bool capture(const frame_key& key, const gl_texture& texture);
    void restore_drawn_over(const std::vector<view_rect>& rects) const;

    std::vector<view_rect> drawn_over_before;  // draw()'s own list of the frame before
};
