// blur_sequence: building the halved, blurred levels and crossfading between them.
#include "render/blur_sequence.h"

#include "render/resample.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

void quad(float x, float y, float width, float height)
{
    float hw = width / 2.0f, hh = height / 2.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x - hw, y - hh, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x + hw, y - hh, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x + hw, y + hh, -1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x - hw, y + hh, -1.0f);
    glEnd();
}

}  // namespace

blur_sequence::blur_sequence(ref_ptr<gl_texture> texture, int32_t levels, float sigma)
    : source(std::move(texture))
{
    std::vector<uint8_t> image, next;
    if (levels <= 0 || !source || !source->read_pixels(image))
        return;
    int32_t w = source->width(), h = source->height();
    for (int32_t i = 0; i < levels; ++i) {
        // A level never shrinks below one texel.
        int32_t nw = std::max(1, w / 2), nh = std::max(1, h / 2);
        next.assign(size_t(nw) * size_t(nh) * 4, 0);
        resample_gaussian(sigma, image.data(), w, h, next.data(), nw, nh, true);
        GLuint id = 0;
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, nw, nh, 0, GL_RGBA, GL_UNSIGNED_BYTE, next.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        names.push_back(id);
        image.swap(next);
        w = nw;
        h = nh;
    }
    level_count = int32_t(names.size());
}

blur_sequence::~blur_sequence()
{
    for (uint32_t n : names) {
        GLuint id = n;
        glDeleteTextures(1, &id);
    }
}

void blur_sequence::draw(float x, float y, float width, float height, float progress, float brightness) const
{
    float b = brightness;
    progress = std::clamp(progress, 0.0f, 1.0f);
    if (!(progress == progress))
        progress = 0.0f;
    if (level_count == 0) {
        // A texture without an image binds a name GL draws as plain white: skip it as if
        // it were missing.
        if (source && !source->empty()) {
            glColor4f(b, b, b, 1.0f - progress);
            source->bind(0);
            quad(x, y, width, height);
        }
        glColor4f(b, b, b, 1.0f);
        return;
    }
    float scaled = float(level_count) * progress;
    int32_t k = std::min(int32_t(std::floor(scaled)), level_count - 1);
    float f = scaled - float(k);
    glColor4f(b, b, b, (1.0f - f) * (1.0f - progress));
    if (k == 0)
        source->bind(0);
    else
        glBindTexture(GL_TEXTURE_2D, names[size_t(k - 1)]);
    quad(x, y, width, height);
    glColor4f(b, b, b, (1.0f - progress) * f);
    glBindTexture(GL_TEXTURE_2D, names[size_t(k)]);
    quad(x, y, width, height);
    glColor4f(b, b, b, 1.0f);
}
