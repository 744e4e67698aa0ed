// glw_window on SDL2: creation, the GL context, the view space, queues and the event choke point.
#include "app/window/window.h"

#include "app/image_file/png_file.h"
#include "app/log.h"
#include "app/window/copy_present.h"
#include "app/window/message_box.h"
#include "app/window/test_driver.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

void copy_name(char (&to)[256], const char* from)
{
    std::strncpy(to, from ? from : "", sizeof to - 1);
    to[sizeof to - 1] = 0;
}

// Appends the Latin-1 characters of a UTF-8 text; anything else is skipped.
void push_latin1(std::deque<uint32_t>& out, const char* utf8)
{
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s) {
        uint32_t c = *s;
        int extra = c < 0x80             ? 0
                    : (c & 0xE0) == 0xC0 ? 1
                    : (c & 0xF0) == 0xE0 ? 2
                    : (c & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (extra < 0) {
            ++s;
            continue;
        }
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        ++s;
        bool ok = true;
        for (int i = 0; i < extra; ++i, ++s) {
            if ((*s & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            code = (code << 6) | (*s & 0x3F);
        }
        if (ok && code >= 32 && code <= 255 && code != 127)
            out.push_back(code);
    }
}

}  // namespace

bool glw_display_named()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

void* glw_gl_proc_address(const char* name)
{
    if (!name || !SDL_GL_GetCurrentContext())
        return nullptr;
    return SDL_GL_GetProcAddress(name);
}

bool glw_gl_extension_supported(const char* extension)
{
    return extension && SDL_GL_GetCurrentContext() && SDL_GL_ExtensionSupported(extension) == SDL_TRUE;
}

ed_mouse_callback_t& ed_mouse_callback()
{
    static ed_mouse_callback_t callback;
    return callback;
}

ed_kb_callback_t& ed_kb_callback()
{
    static ed_kb_callback_t callback;
    return callback;
}

glw_window::glw_window(const char* cls, const char* ttl, glw_mouseevent* mouse, glw_kbevent* kb)
    : mouse_callback(mouse), kb_callback(kb)
{
    copy_name(class_name, cls);
    copy_name(title, ttl);
    // Closing the window is the program's quit, handled once, as the close row below.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Alt+Tab away from full screen must not minimise the game behind the user's back.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    video_ready = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!video_ready)
        glw_message_box("Failed To Register The Window Class.", "ERROR", glw_icon::warning);
}

glw_window::~glw_window()
{
    kill_gl_window();
    flush_input();
    if (video_ready)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool glw_window::create_gl_window(int32_t w, int32_t h, int32_t colour_bits, bool full)
{
    width = w;
    height = h;
    if (!video_ready || window)
        return false;
    fullscreen = full;

    int channel = colour_bits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colour_bits >= 24 ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    if (fullscreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            width = desktop.w;
            height = desktop.h;
        }
    }
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, std::max(width, 1),
                              std::max(height, 1), flags);
    if (!window) {
        kill_gl_window();
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (!context || SDL_GL_MakeCurrent(window, context) != 0) {
        kill_gl_window();
        return false;
    }
    if (fullscreen || own_cursor)
        SDL_ShowCursor(SDL_DISABLE);
    SDL_DisableScreenSaver();
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);

    SDL_GetWindowSize(window, &width, &height);
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    resize(dw, dh);

    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // TAMBLE_PRESENT=swap keeps buffer swaps on a software renderer too.
    const char* present = std::getenv("TAMBLE_PRESENT");
    present_by_copy = !(present && std::strcmp(present, "swap") == 0) && glw_copy_present_available();
    if (present_by_copy)
        log_line(log_info) << "window: a software renderer; frames are presented by copy, keeping the back buffer";
    back_buffer_kept = false;
    return true;
}

void glw_window::kill_gl_window()
{
    if (fullscreen && window)
        SDL_SetWindowFullscreen(window, 0);
    if ((fullscreen || own_cursor) && window)
        SDL_ShowCursor(SDL_ENABLE);
    if (context) {
        // Teardown reports a failed step and goes on with the next one.
        if (SDL_GL_MakeCurrent(window, nullptr) != 0)
            glw_message_box("Release Of DC And RC Failed.", "SHUTDOWN ERROR", glw_icon::information);
        SDL_GL_DeleteContext(context);
        context = nullptr;
        present_by_copy = back_buffer_kept = false;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
        SDL_EnableScreenSaver();
    }
}

void glw_window::maximise()
{
    if (window && !fullscreen)
        SDL_MaximizeWindow(window);
}

void glw_desktop_size(int32_t& width, int32_t& height)
{
    width = 1280;
    height = 1024;
    SDL_DisplayMode desktop;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
    }
}

bool glw_window::pump_messages()
{
    if (driver && driver->finished())
        return false;
    SDL_Event e;
    while (SDL_PollEvent(&e))
        if (!handle_event(e)) {
            quit_posted = false;
            return false;
        }
    // A close request is a posted quit: it is taken once the events before it are handled.
    if (quit_posted) {
        quit_posted = false;
        return false;
    }
    return true;
}

bool glw_window::swap()
{
    if (!window)
        return false;
    if (driver)
        driver->before_swap(*this);
    if (screenshot_due)
        take_screenshot();
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    back_buffer_kept = present_by_copy && glw_copy_present(0, 0, dw, dh);
    if (!back_buffer_kept)
        SDL_GL_SwapWindow(window);
    if (++swaps == 1 && after_first_swap)
        after_first_swap();
    if (driver)
        driver->after_swap(*this);
    return true;
}

bool glw_window::set_swap_interval(int32_t interval)
{
    return context && SDL_GL_SetSwapInterval(interval) == 0;
}

void glw_window::resize(int32_t w, int32_t h)
{
    if (h == 0)
        h = 1;
    if (context)
        glViewport(0, 0, w, h);
    // The view keeps its centre and height and takes the window's new aspect.
    set_view(view_cx, view_cy, view_hh);
}

void glw_window::set_view(float cx, float cy, float hh)
{
    view_cx = cx;
    view_cy = cy;
    view_hh = hh;
    float hw = float(width) * hh / float(std::max(height, 1));
    view[0] = cx - hw;
    view[1] = cy - hh;
    view[2] = cx + hw;
    view[3] = cy + hh;
    apply_view();
}

void glw_window::apply_view()
{
    if (!context)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(view[0], view[2], view[3], view[1], 0.0, view_depth);
    glMatrixMode(GL_MODELVIEW);
}

void glw_window::mouse_position(float& x, float& y) const
{
    float nx = pointer_x / float(std::max(width, 1));
    float ny = pointer_y / float(std::max(height, 1));
    x = view[0] + (view[2] - view[0]) * nx;
    y = view[1] + (view[3] - view[1]) * ny;
}

bool glw_window::pop_mouse_event(uint32_t& flags, float& x, float& y)
{
    if (mouse_queue.empty())
        return false;
    const mouse_event& m = mouse_queue.front();
    flags = m.flags;
    x = m.x;
    y = m.y;
    mouse_queue.pop_front();
    return true;
}

bool glw_window::pop_key_event(uint32_t& k, uint32_t& down)
{
    if (key_queue.empty())
        return false;
    k = key_queue.front().key;
    down = key_queue.front().down;
    key_queue.pop_front();
    return true;
}

bool glw_window::pop_char_event(uint32_t& latin1)
{
    if (char_queue.empty())
        return false;
    latin1 = char_queue.front();
    char_queue.pop_front();
    return true;
}

void glw_window::flush_input()
{
    mouse_queue.clear();
    key_queue.clear();
    char_queue.clear();
}

void glw_window::toggle_fullscreen()
{
    if (!window)
        return;
    if (SDL_SetWindowFullscreen(window, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        return;
    fullscreen = !fullscreen;
    SDL_ShowCursor(fullscreen || own_cursor ? SDL_DISABLE : SDL_ENABLE);
    SDL_GetWindowSize(window, &width, &height);
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    resize(dw, dh);
}

void glw_window::set_icon(const uint8_t* rgba, int32_t w, int32_t h)
{
    if (!window || !rgba || w <= 0 || h <= 0)
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), w, h, 32, w * 4,
                                                              SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// The back buffer as a PNG in the screenshot folder, named by the local time; a name taken
// already gets a number, so no screenshot replaces another.
void glw_window::take_screenshot()
{
    screenshot_due = false;
    if (screenshot_folder.empty())
        return;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    std::vector<uint8_t> rgb;
    if (!glw_read_pixels(w, h, rgb)) {
        log_line(log_always) << "screenshot: the picture cannot be read";
        return;
    }
    char stamp[32] = "screenshot";
    std::time_t now = std::time(nullptr);
    if (std::tm* local = std::localtime(&now))
        std::strftime(stamp, sizeof stamp, "tamble-%Y%m%d-%H%M%S", local);
    std::string path = screenshot_folder + stamp + ".png";
    for (int n = 2; n < 1000; ++n) {
        std::FILE* existing = std::fopen(path.c_str(), "rb");
        if (!existing)
            break;
        std::fclose(existing);
        path = screenshot_folder + stamp + "-" + std::to_string(n) + ".png";
    }
    std::string error;
    if (png_file_write(path, w, h, 3, rgb.data(), error)) {
        last_screenshot = path;
        log_line(log_always) << "screenshot: " << path;
    } else {
        log_line(log_always) << "screenshot: cannot write " << path << " (" << error << ")";
    }
}

void glw_window::deliver(uint32_t flags)
{
    float x, y;
    mouse_position(x, y);
    if (mouse_callback)
        mouse_callback->on_mouse(flags, x, y);
    mouse_queue.push_back({flags, x, y});
}

void glw_window::key(uint32_t vk, uint32_t down)
{
    if (vk == vk_control)
        control_down = down != 0;
    if (vk == vk_f12 && down)
        screenshot_due = true;
    if (kb_callback)
        kb_callback->on_key(vk, down);
    key_queue.push_back({vk, down});
}

void glw_window::button(int sdl_button, bool down, int clicks)
{
    bool left = sdl_button == SDL_BUTTON_LEFT;
    if (!left && sdl_button != SDL_BUTTON_RIGHT)
        return;
    if (!down) {
        // Releasing either button clears both held bits.
        buttons = 0;
        deliver(left ? left_release : right_release);
    } else if (clicks >= 2 && clicks % 2 == 0) {
        // The second press of a double click arrives as the double-click row only.
        deliver(buttons | (left ? left_double : right_double));
    } else {
        buttons |= left ? left_held : right_held;
        deliver(buttons | (left ? left_press : right_press));
    }
}

bool glw_window::handle_event(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_QUIT:
        return false;
    case SDL_WINDOWEVENT:
        // A scripted run sees only its script's focus and minimising: a display shared with
        // other windows (tests side by side on one X server) takes the focus at any moment.
        if (driver && e.window.data1 != glw_scripted_window_event)
            switch (e.window.event) {
            case SDL_WINDOWEVENT_MINIMIZED:
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_FOCUS_GAINED:
            case SDL_WINDOWEVENT_FOCUS_LOST:
                return true;
            default:
                break;
            }
        switch (e.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            active = false;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_MAXIMIZED:
            active = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            active = true;
            focused = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Keys released elsewhere never arrive here.
            focused = false;
            control_down = false;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            width = e.window.data1;
            height = e.window.data2;
            // The viewport is in drawable pixels, which HiDPI screens scale.
            int ww = 0, wh = 0, dw = 0, dh = 0;
            if (window) {
                SDL_GetWindowSize(window, &ww, &wh);
                SDL_GL_GetDrawableSize(window, &dw, &dh);
            }
            double scale = ww > 0 && dw > 0 ? double(dw) / ww : 1.0;
            resize(int32_t(width * scale), int32_t(height * scale));
            break;
        }
        case SDL_WINDOWEVENT_CLOSE:
            quit_posted = true;
            break;
        }
        return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        bool down = e.type == SDL_KEYDOWN;
        // Keys pressed with Alt are system keys: no key events. Alt+Enter toggles full screen.
        if (e.key.keysym.mod & KMOD_ALT) {
            if (down && !e.key.repeat &&
                (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER))
                toggle_fullscreen();
            return true;
        }
        if (uint32_t vk = glw_virtual_key(e.key.keysym.sym))
            key(vk, down ? 1 : 0);
        return true;
    }
    case SDL_TEXTINPUT:
        push_latin1(char_queue, e.text.text);
        return true;
    case SDL_MOUSEMOTION:
        pointer_x = float(e.motion.x);
        pointer_y = float(e.motion.y);
        deliver(buttons);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        pointer_x = float(e.button.x);
        pointer_y = float(e.button.y);
        button(e.button.button, e.type == SDL_MOUSEBUTTONDOWN, e.button.clicks);
        return true;
    default:
        return true;
    }
}
