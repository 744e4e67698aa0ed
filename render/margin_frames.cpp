// margin_frames: the frames beside the square, drawn whole or put back from copies.
#include "render/margin_frames.h"

#include "app/window/window.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float frame_width = 32.0f;  // view units; both frames are 64 tall, from y 0
constexpr float left_outer_edge = -30.0f;
constexpr float right_inner_edge = 62.0f;

// Columns from the texture's u = 0 edge in which every pixel is fully opaque.
int32_t count_opaque_columns(const gl_texture& texture)
{
    std::vector<uint8_t> rgba;
    if (!texture.read_pixels(rgba))
        return 0;
    size_t w = size_t(texture.width()), h = size_t(texture.height());
    for (size_t x = 0; x < w; ++x)
        for (size_t y = 0; y < h; ++y)
            if (rgba[(y * w + x) * 4 + 3] != 255)
                return int32_t(x);
    return int32_t(w);
}

void draw_left(gl_texture* texture, float offset)
{
    gl_draw_quad(texture, left_outer_edge + frame_width / 2 - offset, 32, frame_width, 64);
}

void draw_right(gl_texture* texture, float offset)
{
    gl_draw_quad(texture, right_inner_edge + frame_width / 2 + offset, 32, frame_width, 64, {1, 1}, {0, 0});
}

// The window's drawable pixels (which HiDPI screens scale) and its view.
margin_frames::frame_key key_of(const glw_window& window, const gl_texture& texture, float offset, uint64_t cover)
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    margin_frames::frame_key key;
    key.left = viewport[0];
    key.bottom = viewport[1];
    key.width = viewport[2];
    key.height = viewport[3];
    for (int i = 0; i < 4; ++i)
        key.view[i] = window.view[i];
    key.offset = offset;
    key.texture = texture.name;
    key.cover = cover;
    key.shown = window.active;
    return key;
}

}  // namespace

void margin_frames::release()
{
    left.release();
    right.release();
    held = false;
}

bool margin_frames::copyable(const frame_key& key, gl_texture& texture)
{
    // Copies hold the frames as drawn in white over anything: only where the pixels do not
    // depend on what lies beneath or on the colour can they stand in for drawing.
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    if (colour[0] != 1.0f || colour[1] != 1.0f || colour[2] != 1.0f || colour[3] != 1.0f)
        return false;
    if (glIsEnabled(GL_DEPTH_TEST))
        return false;
    if (glIsEnabled(GL_BLEND)) {
        GLint source = 0, destination = 0;
        glGetIntegerv(GL_BLEND_SRC, &source);
        glGetIntegerv(GL_BLEND_DST, &destination);
        if (source != GL_SRC_ALPHA || destination != GL_ONE_MINUS_SRC_ALPHA)
            return false;
    }
    // Sampling must stay on the texture's own pixels, clamped at its edges.
    if (texture.empty() || texture.repeat || texture.scroll_x != 0.0f || texture.scroll_y != 0.0f ||
        !texture.frames.empty())
        return false;
    if (analysed_texture != texture.name) {
        analysed_texture = texture.name;
        opaque_columns = count_opaque_columns(texture);
    }
    if (opaque_columns < 2 || key.width <= 0 || key.height <= 0 || !key.shown ||
        key.left != 0 || key.bottom != 0)
        return false;
    // The frames must reach past the window's sides and over its whole height.
    const float* view = key.view;
    float pixel = (view[2] - view[0]) / float(key.width);
    return view[1] >= 0.0f && view[3] <= 64.0f && left_outer_edge - key.offset <= view[0] - pixel &&
           right_inner_edge + frame_width + key.offset >= view[2] + pixel;
}

bool margin_frames::capture(const frame_key& key, const gl_texture& texture)
{
    const float* view = key.view;
    float offset = key.offset;
    float pixel = (view[2] - view[0]) / float(key.width);
    // Linear filtering reads the two texels around a sample: a pixel shows nothing but
    // opaque frame while its centre lies left of `edge` (right of it for the mirror), where
    // the texels it reads are all within the opaque columns. One pixel more is left out for
    // rounding.
    float opaque = (float(opaque_columns) - 0.5f) / float(texture.width());
    float left_edge = left_outer_edge - offset + frame_width * opaque;
    float right_edge = right_inner_edge + offset + frame_width * (1.0f - opaque);
    left_end = int32_t(std::floor((left_edge - view[0]) / pixel - 0.5f));
    right_begin = int32_t(std::ceil((right_edge - view[0]) / pixel + 0.5f));
    if (left_end <= 0 || right_begin >= key.width || left_end >= right_begin)
        return false;
    if (!left.capture(0, 0, left_end, key.height) ||
        !right.capture(right_begin, 0, key.width - right_begin, key.height)) {
        release();
        return false;
    }
    return true;
}

bool margin_frames::covers_window(const glw_window* window, const gl_texture* texture, float offset,
                                  uint64_t cover_key) const
{
    if (!window || !texture || !held || key_of(*window, *texture, offset, cover_key) != held_key)
        return false;
    // The copies must reach a pixel into the square on both sides: the square's edge pixels
    // are the square's to draw, whichever way the rasteriser rounds its edge.
    const float* view = held_key.view;
    float pixel = (view[2] - view[0]) / float(held_key.width);
    return view[0] + float(left_end) * pixel >= pixel && view[0] + float(right_begin) * pixel <= 64.0f - pixel;
}

bool margin_frames::keeps_window(const glw_window* window, const gl_texture* texture, float offset,
                                 uint64_t cover_key) const
{
    return window && texture && held && window->back_buffer_kept && window->swaps == drawn_at_swap + 1 &&
           last_key == held_key && key_of(*window, *texture, offset, cover_key) == held_key;
}

void margin_frames::scissor_between() const
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(left_end, 0, right_begin - left_end, held_key.height);
}

void margin_frames::drawn_over(float centre_x, float centre_y, float width, float height)
{
    drawn_over_frames.push_back(
        {centre_x - width / 2, centre_y - height / 2, centre_x + width / 2, centre_y + height / 2});
}

// Puts the copies back under what was drawn over them, with a pixel to spare around it for
// filtering and rounding.
void margin_frames::restore_drawn_over(const std::vector<view_rect>& rects) const
{
    const float* view = held_key.view;
    float pixel_x = (view[2] - view[0]) / float(held_key.width);
    float pixel_y = (view[3] - view[1]) / float(held_key.height);
    for (const view_rect& r : rects) {
        // Window rows count from the bottom, where the view's y is largest.
        float x0 = std::floor((r.left - view[0]) / pixel_x) - 1, x1 = std::ceil((r.right - view[0]) / pixel_x) + 1;
        float y0 = std::floor((view[3] - r.bottom) / pixel_y) - 1, y1 = std::ceil((view[3] - r.top) / pixel_y) + 1;
        // Clamped to the window first: a rectangle far outside must not overflow.
        auto px = [](float v, int32_t size) { return int32_t(std::clamp(v, 0.0f, float(size))); };
        int32_t left_x = px(x0, held_key.width), right_x = px(x1, held_key.width);
        int32_t bottom_y = px(y0, held_key.height), top_y = px(y1, held_key.height);
        left.restore(left_x, bottom_y, right_x - left_x, top_y - bottom_y);
        right.restore(left_x, bottom_y, right_x - left_x, top_y - bottom_y);
    }
}

void margin_frames::draw(const glw_window* window, gl_texture* texture, float offset, const margin_cover& cover,
                         bool untouched)
{
    // What was drawn over the frames in the frame before: put back below, or drawn over.
    // Swapped with the last frame's list, so that neither allocates once grown.
    std::vector<view_rect>& over = drawn_over_before;
    over.swap(drawn_over_frames);
    drawn_over_frames.clear();
    bool kept = untouched && keeps_window(window, texture, offset, cover.key);
    drawn_at_swap = -1;
    auto draw_cover = [&] {
        if (cover.draw)
            cover.draw();
    };
    if (!texture || !window) {
        if (texture) {
            draw_left(texture, offset);
            draw_right(texture, offset);
        }
        draw_cover();
        return;
    }
    frame_key key = key_of(*window, *texture, offset, cover.key);
    bool can_copy = copyable(key, *texture);
    if (can_copy)
        drawn_at_swap = window->swaps;
    if (can_copy && held && key == held_key) {
        glPushAttrib(GL_SCISSOR_BIT | GL_ENABLE_BIT);
        glDisable(GL_SCISSOR_TEST);
        if (kept) {
            // What the screen drew after the frames lies in the square, where the copies
            // reach a little way in, or was noted.
            over.push_back({0.0f, key.view[1], 64.0f, key.view[3]});
            restore_drawn_over(over);
        } else {
            left.restore();
            right.restore();
        }
        // The shadowed inner edges and the cover, drawn as before but only beyond the copies.
        glEnable(GL_SCISSOR_TEST);
        glScissor(left_end, 0, key.width - left_end, key.height);
        draw_left(texture, offset);
        glScissor(0, 0, right_begin, key.height);
        draw_right(texture, offset);
        glScissor(left_end, 0, right_begin - left_end, key.height);
        draw_cover();
        glPopAttrib();
        last_key = key;
        return;
    }
    draw_left(texture, offset);
    draw_right(texture, offset);
    draw_cover();
    // Copied on the second frame drawn alike: frames that are still sliding are not.
    if (can_copy && key == last_key) {
        held = capture(key, *texture);
        if (held)
            held_key = key;
    }
    last_key = key;
}
