// gl_texture: decoding and uploading an "IMAG" chunk, its metadata, frames and scrolling.
#include "render/texture.h"

#include "app/clock.h"
#include "app/log.h"
#include "data/script.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Collecting frames stops here even if the store holds more ("x2" ... "x1025").
constexpr int32_t max_frames = 1024;

bool has_translucency(const std::vector<uint8_t>& rgba)
{
    for (size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] > 15 && rgba[i] < 240)
            return true;
    return false;
}

bool is_solid(const std::vector<uint8_t>& rgba)
{
    for (size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] < 240)
            return false;
    return !rgba.empty();
}

// The next mipmap level, computed in place: each pixel is the mean (rounded down) of its
// 2 x 2 source pixels. A destination pixel is never written before its sources are read,
// since every write lands at or before the first source byte still needed.
void halve_in_place(uint8_t* pixels, int32_t width, int32_t height)
{
    int32_t hw = width / 2, hh = height / 2;
    for (int32_t y = 0; y < hh; ++y)
        for (int32_t x = 0; x < hw; ++x) {
            const uint8_t* a = pixels + (size_t(2 * y) * size_t(width) + size_t(2 * x)) * 4;
            const uint8_t* b = a + size_t(width) * 4;
            uint8_t* out = pixels + (size_t(y) * size_t(hw) + size_t(x)) * 4;
            for (int c = 0; c < 4; ++c)
                out[c] = uint8_t((a[c] + a[c + 4] + b[c] + b[c + 4]) >> 2);
        }
}

// One halving toward the GL size limit, in place: each pixel is the mean of the 2 x 2 pixels
// it covers, or of the two (one) there are where a side is already 1.
void shrink_in_place(std::vector<uint8_t>& pixels, int32_t& width, int32_t& height)
{
    int32_t hw = std::max(1, width / 2), hh = std::max(1, height / 2);
    bool dx = width > 1, dy = height > 1;
    uint32_t count = (dx ? 2u : 1u) * (dy ? 2u : 1u);
    for (int32_t y = 0; y < hh; ++y)
        for (int32_t x = 0; x < hw; ++x) {
            const uint8_t* a = pixels.data() + (size_t(2 * y) * size_t(width) + size_t(2 * x)) * 4;
            const uint8_t* b = a + (dy ? size_t(width) * 4 : 0);
            uint8_t* out = pixels.data() + (size_t(y) * size_t(hw) + size_t(x)) * 4;
            for (int c = 0; c < 4; ++c) {
                uint32_t sum = a[c] + (dx ? a[c + 4] : 0u) + (dy ? b[c] : 0u) + (dx && dy ? b[c + 4] : 0u);
                out[c] = uint8_t(sum / count);
            }
        }
    width = hw;
    height = hh;
    pixels.resize(size_t(hw) * size_t(hh) * 4);
}

int32_t gl_size_limit()
{
    gl_texture_state& state = gl_textures();
    if (state.max_size <= 0) {
        GLint limit = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
        // GL guarantees 64; a context that answers nothing is taken at that.
        state.max_size = limit >= 64 ? int32_t(limit) : 64;
    }
    return state.max_size;
}

void upload_level(int32_t level, int32_t width, int32_t height, const uint8_t* pixels)
{
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}

class texture_creator : public pak_chunk_creator<gl_texture> {};

}  // namespace

gl_texture_state& gl_textures()
{
    static gl_texture_state state;
    return state;
}

void gl_texture_choose_half_size(int32_t screen_width, int32_t screen_height)
{
    gl_textures().half_size = int64_t(screen_width) * int64_t(screen_height) <= 786432;
}

void gl_register_texture_creator(pak_system& pak)
{
    static texture_creator creator;
    pak.register_creator(pak_code_imag, &creator);
}

gl_texture::gl_texture(ref_ptr<pak_chunkref> r) : pak_chunk(std::move(r))
{
    GLuint id = 0;
    glGenTextures(1, &id);
    name = id;
    glBindTexture(GL_TEXTURE_2D, name);

    pak_rawchunk raw(ref);
    pak_record head_record, data_record;
    if (!raw.find(pak_code_head, head_record)) {
        log_line(log_problem) << "gl_texture: '" << (ref ? ref->name : "") << "' has no HEAD record, empty texture";
        return;
    }
    head = image_head_from_bytes(head_record.data, head_record.size);
    if (raw.find(pak_code_data, data_record))
        upload(data_record.data, data_record.size);
    else {
        log_line(log_problem) << "gl_texture: '" << ref->name << "' has no DATA record, empty texture";
        head.width = head.height = 0;
    }
    gl_textures().memory += memory_size;
    read_metadata();

    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S,
                    repeat || scroll_x != 0.0f ? GL_REPEAT : GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T,
                    repeat || scroll_y != 0.0f ? GL_REPEAT : GL_CLAMP_TO_EDGE);
}

void gl_texture::upload(const uint8_t* data, uint32_t size)
{
    gl_texture_state& state = gl_textures();
    if (state.fast_decoder < 0)
        state.fast_decoder = image_cpu_has_fast_decoder() ? 1 : 0;
    bool coded = (head.flags & image_flag_coded) != 0;
    const char* problem = nullptr;
    image_rgba image;
    const int32_t limit = gl_size_limit();
    // Too large for GL: the half-size decoder gives the first halving for free.
    bool half = state.half_size || head.width > limit || head.height > limit;
    if (head.width <= 0 || head.height <= 0 || head.width > image_max_dimension ||
        head.height > image_max_dimension)
        problem = "unusable size";
    else if (!coded && uint64_t(size) != uint64_t(head.width) * uint64_t(head.height) * 4)
        problem = "raw DATA does not match the size";
    else if (!image_decode_data(head, data, size, half, state.fast_decoder != 0, image))
        problem = "damaged image data";
    if (problem) {
        log_line(log_problem) << "gl_texture: '" << ref->name << "' (" << std::to_string(head.width) << " x "
                    << std::to_string(head.height) << "): " << problem << ", empty texture";
        head.width = head.height = 0;
        return;
    }
    if (image.width > limit || image.height > limit) {
        while (image.width > limit || image.height > limit)
            shrink_in_place(image.pixels, image.width, image.height);
        log_line(log_problem) << "gl_texture: '" << ref->name << "' (" << std::to_string(head.width) << " x "
                              << std::to_string(head.height) << ") is larger than GL takes ("
                              << std::to_string(limit) << "): uploaded at " << std::to_string(image.width)
                              << " x " << std::to_string(image.height);
    }
    translucent_flag = has_translucency(image.pixels);
    solid_flag = is_solid(image.pixels);

    int32_t w = image.width, h = image.height;
    // Errors left by earlier calls must not be taken for the upload's own.
    while (glGetError() != GL_NO_ERROR) {}
    upload_level(0, w, h, image.pixels.data());
    if (GLenum error = glGetError(); error != GL_NO_ERROR) {
        log_line(log_problem) << "gl_texture: '" << ref->name << "' (" << std::to_string(w) << " x "
                              << std::to_string(h) << "): GL refused the image (error "
                              << std::to_string(error) << "), empty texture";
        head.width = head.height = 0;
        translucent_flag = solid_flag = false;
        return;
    }
    head.width = w;
    head.height = h;
    levels = 1;
    // Raw images (fonts, exact art) are drawn at their own size only.
    if (coded)
        while (w / 2 > 0 && h / 2 > 0) {
            halve_in_place(image.pixels.data(), w, h);
            w /= 2;
            h /= 2;
            upload_level(levels++, w, h, image.pixels.data());
        }
    memory_size = uint32_t(image.width) * uint32_t(image.height) * 4;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void gl_texture::read_metadata()
{
    if (!ref)
        return;
    script_handle meta = script_global_tree().get(ref->name);
    scroll_x = float(meta.get("scroll_x").as_real());
    scroll_y = float(meta.get("scroll_y").as_real());
    script_handle speed = meta.get("anim_speed");
    if (speed.exists()) {
        anim_speed = speed.as_int();
        pak_system* store = ref->module ? ref->module->system : nullptr;
        for (int32_t i = 2; store && i < max_frames + 2; ++i) {
            char frame_name[pak_name_capacity + 16];
            std::snprintf(frame_name, sizeof frame_name, "%s%d", ref->name, int(i));
            ref_ptr<gl_texture> frame;
            if (!store->get_object(frame_name, frame) || !frame)
                break;
            frames.push_back(std::move(frame));
        }
    }
    repeat = meta.get("repeat").as_int() != 0;
}

gl_texture::~gl_texture()
{
    gl_textures().memory -= memory_size;
    if (name) {
        GLuint id = name;
        glDeleteTextures(1, &id);
    }
}

int32_t gl_texture::frame_at(uint32_t milliseconds) const
{
    return frames.empty() ? 0 : wrap_frame(anim_frame_at(milliseconds, anim_speed));
}

int32_t gl_texture::current_frame() const
{
    return frames.empty() ? 0 : wrap_frame(anim_frame(anim_speed));
}

// A running frame number to an image index; a negative speed runs backward.
int32_t gl_texture::wrap_frame(int32_t running) const
{
    int32_t n = frame_count();
    int32_t i = running % n;
    return i < 0 ? i + n : i;
}

uint32_t gl_texture::gl_name(int32_t frame) const
{
    if (frame == -1)
        frame = current_frame();
    if (frame == 0)
        return name;
    if (frame >= 1 && frame <= int32_t(frames.size()))
        return frames[size_t(frame - 1)]->gl_name(-1);
    return 0;
}

void gl_texture::bind(int32_t frame)
{
    last_use = gl_textures().frame_counter;
    glBindTexture(GL_TEXTURE_2D, gl_name(frame));
}

float gl_texture::scroll_offset_x() const
{
    return scroll_x != 0.0f ? anim_phase(scroll_x) : 0.0f;
}

float gl_texture::scroll_offset_y() const
{
    return scroll_y != 0.0f ? anim_phase(scroll_y) : 0.0f;
}

void gl_texture::draw_quad(float x, float y, float width, float height, gl_uv uv0, gl_uv uv1, int32_t frame)
{
    bind(frame);
    float hw = width / 2.0f, hh = height / 2.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(uv0.u, uv0.v);
    glVertex3f(x - hw, y - hh, -1.0f);
    glTexCoord2f(uv1.u, uv0.v);
    glVertex3f(x + hw, y - hh, -1.0f);
    glTexCoord2f(uv1.u, uv1.v);
    glVertex3f(x + hw, y + hh, -1.0f);
    glTexCoord2f(uv0.u, uv1.v);
    glVertex3f(x - hw, y + hh, -1.0f);
    glEnd();
}

bool gl_texture::read_pixels(std::vector<uint8_t>& rgba) const
{
    rgba.clear();
    if (empty())
        return false;
    rgba.resize(size_t(head.width) * size_t(head.height) * 4);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return true;
}

bool gl_texture::frame_solid(int32_t frame) const
{
    if (frame == 0)
        return solid();
    const gl_texture* image =
        frame >= 1 && frame <= int32_t(frames.size()) ? frames[size_t(frame - 1)].get() : nullptr;
    return image && !image->empty() && image->solid();
}

void gl_draw_quad(gl_texture* texture, float x, float y, float width, float height, gl_uv uv0, gl_uv uv1,
                  int32_t frame)
{
    if (texture)
        texture->draw_quad(x, y, width, height, uv0, uv1, frame);
}
