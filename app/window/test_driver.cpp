// The test driver: virtual time, scripted events pushed into SDL's queue, frame captures.
#include "app/window/test_driver.h"

#include "app/image_file/png_file.h"
#include "app/log.h"
#include "app/window/message_box.h"
#include "app/window/window.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

void push(SDL_Event& e)
{
    if (SDL_PushEvent(&e) < 0)
        log_line(log_info) << "test driver: event lost: " << SDL_GetError();
}

void push_button(glw_window& w, int32_t button, bool down, int clicks, int x, int y)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = w.window ? SDL_GetWindowID(w.window) : 0;
    e.button.button = button == 1 ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = Uint8(clicks);
    e.button.x = x;
    e.button.y = y;
    push(e);
}

void push_key(glw_window& w, uint32_t vk, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = w.window ? SDL_GetWindowID(w.window) : 0;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = glw_sdl_keycode(vk);
    e.key.keysym.scancode = SDL_GetScancodeFromKey(e.key.keysym.sym);
    push(e);
}

}  // namespace

glw_test_driver::glw_test_driver()
{
    virtual_clock.counter_frequency = [] { return virtual_frequency; };
    virtual_clock.counter = [this] { return virtual_ticks; };
    virtual_clock.milliseconds = [this] {
        return uint32_t(uint64_t(virtual_ticks) / (virtual_frequency / 1000));
    };
}

glw_test_driver::~glw_test_driver()
{
    stop();
}

bool glw_test_driver::start(glw_window& window, const driver_options& o, std::string& error)
{
    options = o;
    if (!options.script_path.empty() && !driver_load_script(options.script_path.c_str(), script, error))
        return false;
    frame = 0;
    next_event = 0;
    virtual_ticks = 0;
    attached = &window;
    window.driver = this;
    glw_set_headless(true);
    if (options.fixed_frame) {
        frame_timer().use_source(virtual_clock);
        set_wall_clock([this] { return virtual_clock.milliseconds(); });
    }
    inject_due_events(window);
    return true;
}

void glw_test_driver::stop()
{
    if (!attached)
        return;
    if (attached->driver == this)
        attached->driver = nullptr;
    attached = nullptr;
    if (options.fixed_frame) {
        frame_timer().use_source(perf_system_clock());
        set_wall_clock(nullptr);
    }
    glw_set_headless(false);
}

void glw_test_driver::before_swap(glw_window& window)
{
    if (std::find(options.capture_frames.begin(), options.capture_frames.end(), frame) ==
        options.capture_frames.end())
        return;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window.window, &w, &h);
    std::vector<uint8_t> rgb;
    std::string path = options.capture_prefix + std::to_string(frame) + ".png";
    std::string error;
    if (glw_read_pixels(w, h, rgb) && png_file_write(path, w, h, 3, rgb.data(), error))
        captures_written.push_back(path);
    else
        log_line(log_info) << "test driver: cannot write " << path
                           << (error.empty() ? "" : " (" + error + ")");
}

void glw_test_driver::after_swap(glw_window& window)
{
    ++frame;
    if (options.fixed_frame)
        virtual_ticks += int64_t(std::llround(options.frame_time * double(virtual_frequency)));
    inject_due_events(window);
}

void glw_test_driver::inject_due_events(glw_window& window)
{
    while (next_event < script.events.size() && script.events[next_event].frame <= frame) {
        const driver_event& e = script.events[next_event++];
        // View units to window pixels through the view the window has now.
        int px = int(std::lround(window.pointer_x)), py = int(std::lround(window.pointer_y));
        if (e.has_position || e.action == driver_action::move) {
            float vw = window.view[2] - window.view[0], vh = window.view[3] - window.view[1];
            px = int(std::lround((e.x - window.view[0]) / (vw != 0 ? vw : 1) * float(window.width)));
            py = int(std::lround((e.y - window.view[1]) / (vh != 0 ? vh : 1) * float(window.height)));
            // A move is this motion alone; a press somewhere else is preceded by it.
            SDL_Event m{};
            m.type = SDL_MOUSEMOTION;
            m.motion.windowID = window.window ? SDL_GetWindowID(window.window) : 0;
            m.motion.x = px;
            m.motion.y = py;
            push(m);
        }
        switch (e.action) {
        case driver_action::move:
            break;
        case driver_action::press:
            push_button(window, e.button, true, 1, px, py);
            break;
        case driver_action::release:
            push_button(window, e.button, false, 1, px, py);
            break;
        case driver_action::click:
            push_button(window, e.button, true, 1, px, py);
            push_button(window, e.button, false, 1, px, py);
            break;
        case driver_action::double_click:
            push_button(window, e.button, true, 2, px, py);
            push_button(window, e.button, false, 2, px, py);
            break;
        case driver_action::key_down:
            push_key(window, e.key, true);
            break;
        case driver_action::key_up:
            push_key(window, e.key, false);
            break;
        case driver_action::key:
            push_key(window, e.key, true);
            push_key(window, e.key, false);
            break;
        case driver_action::text: {
            // SDL carries at most 31 bytes per text event; longer texts are split on
            // character boundaries.
            std::string_view t = e.text;
            while (!t.empty()) {
                size_t n = std::min<size_t>(t.size(), SDL_TEXTINPUTEVENT_TEXT_SIZE - 1);
                while (n < t.size() && n > 0 && (static_cast<unsigned char>(t[n]) & 0xC0) == 0x80)
                    --n;
                SDL_Event x{};
                x.type = SDL_TEXTINPUT;
                x.text.windowID = window.window ? SDL_GetWindowID(window.window) : 0;
                std::memcpy(x.text.text, t.data(), n);
                push(x);
                t.remove_prefix(n);
            }
            break;
        }
        case driver_action::window: {
            SDL_Event w{};
            w.type = SDL_WINDOWEVENT;
            w.window.windowID = window.window ? SDL_GetWindowID(window.window) : 0;
            w.window.data1 = glw_scripted_window_event;
            w.window.event = e.change == driver_window_change::focus_lost     ? SDL_WINDOWEVENT_FOCUS_LOST
                             : e.change == driver_window_change::focus_gained ? SDL_WINDOWEVENT_FOCUS_GAINED
                             : e.change == driver_window_change::minimized    ? SDL_WINDOWEVENT_MINIMIZED
                                                                              : SDL_WINDOWEVENT_RESTORED;
            push(w);
            break;
        }
        case driver_action::quit: {
            SDL_Event q{};
            q.type = SDL_QUIT;
            push(q);
            break;
        }
        }
    }
}

bool glw_read_pixels(int32_t width, int32_t height, std::vector<uint8_t>& rgb)
{
    if (width <= 0 || height <= 0)
        return false;
    size_t row = size_t(width) * 3;
    std::vector<uint8_t> bottom_up(row * size_t(height));
    while (glGetError() != GL_NO_ERROR) {}
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottom_up.data());
    if (glGetError() != GL_NO_ERROR)
        return false;
    rgb.resize(bottom_up.size());
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(rgb.data() + row * size_t(y), bottom_up.data() + row * size_t(height - 1 - y), row);
    return true;
}
