// margin_frames: the frames beside the square, drawn whole or put back from copies.
#include "render/margin_frames.h"

#include "app/window/window.h"

#include <GL/gl.h>

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

void margin_frames::draw(const glw_window* window, gl_texture* texture, float offset, const margin_cover& cover)
{
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
    if (can_copy && held && key == held_key) {
        left.restore();
        right.restore();
        // The shadowed inner edges and the cover, drawn as before but only beyond the copies.
        glPushAttrib(GL_SCISSOR_BIT | GL_ENABLE_BIT);
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
