// render_target: framebuffer set-up with its log lines, the square capture and its pictures.
#include "render/render_target.h"

#include "app/log.h"
#include "app/view_space.h"
#include "app/window/window.h"
#include "data/asset_names.h"
#include "render/resample.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The framebuffer entry points, in the order set-up resolves them.
const char* const proc_names[] = {
    "glGenFramebuffersEXT",        "glBindFramebufferEXT",      "glGenRenderbuffersEXT",
    "glBindRenderbufferEXT",       "glRenderbufferStorageEXT",  "glFramebufferRenderbufferEXT",
    "glCheckFramebufferStatusEXT", "glFramebufferTexture2DEXT",
};

// Not among the entry points set-up needs, but part of the same extension: used to delete
// what a failed set-up made. Without them the names are dropped with the context.
const char* const delete_proc_names[] = {"glDeleteFramebuffersEXT", "glDeleteRenderbuffersEXT"};

struct fbo_procs {
    PFNGLGENFRAMEBUFFERSEXTPROC gen_framebuffers;
    PFNGLBINDFRAMEBUFFEREXTPROC bind_framebuffer;
    PFNGLGENRENDERBUFFERSEXTPROC gen_renderbuffers;
    PFNGLBINDRENDERBUFFEREXTPROC bind_renderbuffer;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbuffer_storage;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebuffer_renderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC check_framebuffer_status;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebuffer_texture_2d;
};

// Some GL libraries hand out an entry point for any name, so the extension string decides.
void* window_resolver(const char* name)
{
    if (!glw_gl_extension_supported("GL_EXT_framebuffer_object"))
        return nullptr;
    return glw_gl_proc_address(name);
}

// Logs "<call> failed(<code>" when GL reports an error after a call.
bool gl_ok(const char* call)
{
    GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return true;
    log_line(log_info) << call << " failed(" << logcon_hex(uint32_t(error), 0);
    return false;
}

void resampled(const level_image& from, int32_t size, float sigma, level_image& to)
{
    to.size = size;
    to.bgra.assign(size_t(size) * size_t(size) * 4, 0);
    resample_gaussian(sigma, from.bgra.data(), from.size, from.size, to.bgra.data(), size, size, false);
}

}  // namespace

std::array<level_image, 4> make_level_images(const uint8_t* bgra, int32_t size)
{
    std::array<level_image, 4> out;
    if (!bgra || size <= 0)
        return out;
    level_image capture;
    capture.size = size;
    capture.bgra.assign(bgra, bgra + size_t(size) * size_t(size) * 4);
    resampled(capture, 128, float(size) / 128.0f, out[3]);
    resampled(out[3], 64, 2.0f, out[2]);
    resampled(out[2], 32, 3.0f, out[1]);
    resampled(out[1], 16, 4.0f, out[0]);
    return out;
}

bool render_target::setup(glw_window& on_window, pak_system* store)
{
    if (ready || tried)
        return ready;
    tried = true;
    window = &on_window;
    size = on_window.height;
    log_line(log_info) << "SCREEN HEIGHT:" << size;

    void* found[std::size(proc_names)] = {};
    gl_proc_resolver resolver = resolve ? resolve : window_resolver;
    for (size_t i = 0; i < std::size(proc_names); ++i) {
        found[i] = resolver(proc_names[i]);
        if (!found[i]) {
            log_line(log_info) << "FBE INIT ERROR:extension not found(" << proc_names[i] << ")";
            return false;
        }
    }
    fbo_procs p;
    p.gen_framebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(found[0]);
    p.bind_framebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(found[1]);
    p.gen_renderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSEXTPROC>(found[2]);
    p.bind_renderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFEREXTPROC>(found[3]);
    p.renderbuffer_storage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEEXTPROC>(found[4]);
    p.framebuffer_renderbuffer = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>(found[5]);
    p.check_framebuffer_status = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>(found[6]);
    p.framebuffer_texture_2d = reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DEXTPROC>(found[7]);
    auto delete_framebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSEXTPROC>(resolver(delete_proc_names[0]));
    auto delete_renderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSEXTPROC>(resolver(delete_proc_names[1]));

    // Errors left by earlier drawing must not be taken for set-up's own.
    while (glGetError() != GL_NO_ERROR) {}
    GLuint fb = 0, rb = 0, tex = 0;
    bool ok = false;
    // Each step runs only when the ones before succeeded; the first error is logged.
    do {
        p.gen_framebuffers(1, &fb);
        if (!gl_ok("glGenFramebuffersEXT"))
            break;
        p.bind_framebuffer(GL_FRAMEBUFFER_EXT, fb);
        if (!gl_ok("glBindFramebufferEXT"))
            break;
        p.gen_renderbuffers(1, &rb);
        if (!gl_ok("glGenRenderbuffersEXT"))
            break;
        p.bind_renderbuffer(GL_RENDERBUFFER_EXT, rb);
        if (!gl_ok("glBindRenderbufferEXT"))
            break;
        p.renderbuffer_storage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, size, size);
        if (!gl_ok("glRenderbufferStorageEXT"))
            break;
        glGenTextures(1, &tex);
        glBindTexture(GL_TEXTURE_2D, tex);
        if (!gl_ok("glBindTexture"))
            break;
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (!gl_ok("glTexImage2D"))
            break;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        p.framebuffer_texture_2d(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, tex, 0);
        if (!gl_ok("glFramebufferTexture2DEXT"))
            break;
        p.framebuffer_renderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, rb);
        if (!gl_ok("glFramebufferRenderbufferEXT"))
            break;
        GLenum status = p.check_framebuffer_status(GL_FRAMEBUFFER_EXT);
        if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
            log_line(log_info) << "glCheckFramebufferStatusEXT failed:" << logcon_hex(uint32_t(status), 0);
            break;
        }
        ok = true;
    } while (false);

    // Drawing goes to the window again, whatever happened: a framebuffer left bound after a
    // failure would swallow every later frame.
    p.bind_framebuffer(GL_FRAMEBUFFER_EXT, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (!ok) {
        if (tex)
            glDeleteTextures(1, &tex);
        if (rb && delete_renderbuffers)
            delete_renderbuffers(1, &rb);
        if (fb && delete_framebuffers)
            delete_framebuffers(1, &fb);
        while (glGetError() != GL_NO_ERROR) {}
        return false;
    }
    framebuffer = fb;
    depth_buffer = rb;
    colour_texture = tex;
    if (store) {
        store->get_object(tex_ui_playfield_tile, playfield_tile);
        store->get_object(tex_ui_playfield_background, playfield_background);
    }
    ready = true;
    return true;
}

bool render_target::begin_capture()
{
    if (!ready || capturing)
        return false;
    glFlush();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    capture_size = std::min({size, int32_t(viewport[2]), int32_t(viewport[3])});
    if (capture_size <= 0)
        return false;
    glPushAttrib(GL_VIEWPORT_BIT | GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, capture_size, capture_size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, view_size, view_size, 0.0, 0.0, view_depth);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The capture draws over the back buffer between frames: the next frame cannot build on
    // what the last one left there.
    if (window)
        window->back_buffer_kept = false;
    capturing = true;
    return true;
}

bool render_target::end_capture(std::array<level_image, 4>& images)
{
    if (!ready || !capturing)
        return false;
    capturing = false;
    glPopAttrib();
    if (window)
        window->set_view(view_centre, view_centre, view_size / 2);
    int32_t s = capture_size;
    std::vector<uint8_t> bgra(size_t(s) * size_t(s) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, s, s, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
    images = make_level_images(bgra.data(), s);
    return true;
}

void render_target::release()
{
    playfield_tile.reset();
    playfield_background.reset();
}

render_target& render_target_global()
{
    static render_target target;
    return target;
}
