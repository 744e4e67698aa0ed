// window_patch: copying a rectangle of the back buffer into a texture and drawing it back.
#include "render/window_patch.h"

#include "app/log.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

int32_t power_of_two_at_least(int32_t n)
{
    int32_t p = 1;
    while (p < n && p < (1 << 30))
        p *= 2;
    return p;
}

}  // namespace

window_patch::~window_patch()
{
    release();
}

void window_patch::release()
{
    if (texture) {
        GLuint name = texture;
        glDeleteTextures(1, &name);
    }
    texture = 0;
    texture_width = texture_height = 0;
    x = y = width = height = 0;
}

bool window_patch::capture(int32_t px, int32_t py, int32_t w, int32_t h)
{
    width = height = 0;
    if (w <= 0 || h <= 0)
        return false;
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    // A power-of-two texture, so that GLs without other sizes take it too; the copy sits in
    // its bottom-left corner.
    int32_t tw = power_of_two_at_least(w), th = power_of_two_at_least(h);
    if (tw > limit || th > limit)
        return false;
    // Errors left by earlier calls must not be taken for the copy's own.
    while (glGetError() != GL_NO_ERROR) {}
    glPushAttrib(GL_TEXTURE_BIT);
    if (!texture) {
        GLuint name = 0;
        glGenTextures(1, &name);
        texture = name;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    if (tw != texture_width || th != texture_height) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        texture_width = tw;
        texture_height = th;
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, px, py, w, h);
    glPopAttrib();
    if (GLenum error = glGetError(); error != GL_NO_ERROR) {
        log_line(log_problem) << "window_patch: GL refused the copy of " << w << " x " << h << " pixels (error "
                              << int32_t(error) << ")";
        release();
        return false;
    }
    x = px;
    y = py;
    width = w;
    height = h;
    return true;
}

void window_patch::restore() const
{
    restore(x, y, width, height);
}

void window_patch::restore(int32_t rx, int32_t ry, int32_t rw, int32_t rh) const
{
    int32_t x0 = std::max(rx, x), y0 = std::max(ry, y);
    int32_t x1 = int32_t(std::min(int64_t(rx) + rw, int64_t(x) + width));
    int32_t y1 = int32_t(std::min(int64_t(ry) + rh, int64_t(y) + height));
    if (!held() || x0 >= x1 || y0 >= y1)
        return;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Window pixels, y up: each pixel's centre falls on the centre of its texel, so that
    // nearest sampling gives back exactly the texel copied from it.
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // Texel (i, j) of the copy is window pixel (x + i, y + j).
    float u0 = float(x0 - x) / float(texture_width), u1 = float(x1 - x) / float(texture_width);
    float v0 = float(y0 - y) / float(texture_height), v1 = float(y1 - y) / float(texture_height);
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v0);
    glVertex2f(float(x0), float(y0));
    glTexCoord2f(u1, v0);
    glVertex2f(float(x1), float(y0));
    glTexCoord2f(u1, v1);
    glVertex2f(float(x1), float(y1));
    glTexCoord2f(u0, v1);
    glVertex2f(float(x0), float(y1));
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
