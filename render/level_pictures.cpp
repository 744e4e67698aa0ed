// capture_level_pictures: the capture, its drawing and the PNG sources it writes.
#include "render/level_pictures.h"

#include "app/image_file/png_file.h"
#include "render/world_draw.h"

#include <GL/gl.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// A captured picture (BGRA, bottom row first) as RGB rows top to bottom.
std::vector<uint8_t> top_down_rgb(const level_image& image)
{
    int32_t s = image.size;
    std::vector<uint8_t> rgb(size_t(s) * size_t(s) * 3);
    for (int32_t y = 0; y < s; ++y)
        for (int32_t x = 0; x < s; ++x) {
            const uint8_t* from = &image.bgra[(size_t(s - 1 - y) * size_t(s) + size_t(x)) * 4];
            uint8_t* to = &rgb[(size_t(y) * size_t(s) + size_t(x)) * 3];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    return rgb;
}

// The level as the play screen shows it when its intro ends: the playfield backdrop, then
// the world. Whatever has no texture in the stores is drawn plainly rather than left out.
void draw_level(const render_target& target, const v_world& world)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (target.playfield_background)
        target.playfield_background->draw_quad(32, 32, 64, 64);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    world_draw_style style;
    style.fallback = true;
    draw_world(world, style);
    glDisable(GL_DEPTH_TEST);
}

}  // namespace

std::string level_picture_base(const std::string& root, const std::string& level)
{
    std::string base = root.empty() ? "." : root;
    if (base.back() == '/')
        base.pop_back();
    base += "/tex/";
    for (char c : level)
        base += c == '\\' ? '/' : c;
    return base;
}

bool write_level_pictures(const std::string& base, const std::array<level_image, 4>& images,
                          std::string& error)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(base).parent_path(), ec);
    for (int32_t i = 0; i < 4; ++i) {
        const level_image& image = images[size_t(i)];
        std::string path = base + std::to_string(i) + ".png";
        if (image.size <= 0 || image.bgra.size() != size_t(image.size) * size_t(image.size) * 4) {
            error = path + ": no picture to write";
            return false;
        }
        std::vector<uint8_t> rgb = top_down_rgb(image);
        if (!png_file_write(path, image.size, image.size, 3, rgb.data(), error))
            return false;
    }
    return true;
}

bool capture_level_pictures(render_target& target, glw_window& window, pak_system* store, const v_world& world,
                            const std::string& root, const std::string& level, std::string& note)
{
    if (!target.setup(window, store)) {
        note = "no render target (the framebuffer-object extension is missing or failed)";
        return false;
    }
    // The current colour is saved by hand: on Mesa, popping GL_CURRENT_BIT did not bring it
    // back once the world had been drawn.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::array<level_image, 4> images;
    bool captured = target.begin_capture();
    if (captured) {
        draw_level(target, world);
        captured = target.end_capture(images);
    }
    glPopAttrib();
    glColor4fv(colour);
    if (!captured) {
        note = "the render target cannot capture here";
        return false;
    }
    std::string base = level_picture_base(root, level);
    if (!write_level_pictures(base, images, note))
        return false;
    note = base + "0.png ... 3.png";
    return true;
}
