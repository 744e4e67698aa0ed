// Presenting by GLX_MESA_copy_sub_buffer.
#include "app/window/copy_present.h"

#include <GL/gl.h>
#include <GL/glx.h>

#include <cstring>
#include <initializer_list>

namespace {

using copy_sub_buffer_t = void (*)(Display*, GLXDrawable, int, int, int, int);

bool has_word(const char* list, const char* word)
{
    size_t n = std::strlen(word);
    for (const char* p = list ? std::strstr(list, word) : nullptr; p; p = std::strstr(p + 1, word))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == 0))
            return true;
    return false;
}

// Mesa's software rasterisers name themselves in the renderer string.
bool software_renderer()
{
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer)
        return false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(renderer, name))
            return true;
    return false;
}

copy_sub_buffer_t copy_sub_buffer()
{
    // Looked up once: GLX hands out the same entry point for every context.
    static copy_sub_buffer_t function = reinterpret_cast<copy_sub_buffer_t>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXCopySubBufferMESA")));
    return function;
}

}  // namespace

bool glw_copy_present_available()
{
    Display* display = glXGetCurrentDisplay();
    if (!display || !glXGetCurrentContext() || !glXGetCurrentDrawable() || !copy_sub_buffer())
        return false;
    // Every GLX hands out an entry point for any name: only the extension list tells.
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    return has_word(extensions, "GLX_MESA_copy_sub_buffer") && software_renderer();
}

bool glw_copy_present(int32_t x, int32_t y, int32_t width, int32_t height)
{
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    copy_sub_buffer_t copy = copy_sub_buffer();
    if (!display || !drawable || !copy || width <= 0 || height <= 0)
        return false;
    copy(display, drawable, x, y, width, height);
    return true;
}
