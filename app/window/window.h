// The window layer: one window with its GL context, the view space every screen draws in,
// and the mouse and keyboard events, handed to callbacks and kept in queues.
#pragma once

#include "app/input_codes.h"
#include "app/view_space.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

struct SDL_Window;
union SDL_Event;
class glw_test_driver;

// The test driver marks the window events it injects with this value in data1, so that a
// driven window can tell them from the system's.
constexpr int32_t glw_scripted_window_event = 0x54424C45;

struct mouse_event {
    uint32_t flags = 0;
    float x = 0, y = 0;
};

struct key_event {
    uint32_t key = 0;
    uint32_t down = 0;
};

class glw_mouseevent {
public:
    virtual ~glw_mouseevent() = default;
    virtual void on_mouse(uint32_t flags, float x, float y) = 0;
};

class glw_kbevent {
public:
    virtual ~glw_kbevent() = default;
    virtual void on_key(uint32_t key, uint32_t down) = 0;
};

// Process-wide callbacks that route to the level editor or the body editor, whichever run
// mode installed its handlers, and do nothing otherwise.
class ed_mouse_callback_t : public glw_mouseevent {
public:
    void (*handler)(uint32_t flags, float x, float y) = nullptr;
    void on_mouse(uint32_t flags, float x, float y) override
    {
        if (handler)
            handler(flags, x, y);
    }
};

class ed_kb_callback_t : public glw_kbevent {
public:
    void (*handler)(uint32_t key, uint32_t down) = nullptr;
    void on_key(uint32_t key, uint32_t down) override
    {
        if (handler)
            handler(key, down);
    }
};

ed_mouse_callback_t& ed_mouse_callback();
ed_kb_callback_t& ed_kb_callback();

class glw_window {
public:
    // left, top, right, bottom in view units.
    float view[4] = {0, 0, view_size, view_size};
    char class_name[256] = {};
    char title[256] = {};
    bool fullscreen = false;
    SDL_Window* window = nullptr;
    void* context = nullptr;
    // False when the video system could not start: every creation then fails.
    bool video_ready = false;
    // The client size; follows the window when it is resized or toggled to full screen.
    int32_t width = 0, height = 0;
    bool active = true;
    // Whether the window has the keyboard focus; the game pauses a level without it.
    bool focused = true;
    // The program draws its own pointer: the system cursor is hidden over the window in a
    // window too, not only full screen. Set it before create_gl_window.
    bool own_cursor = false;
    // Where F12 writes screenshots (a folder with a trailing '/'); empty: F12 does nothing.
    std::string screenshot_folder;
    // The last screenshot written, for the log and tests.
    std::string last_screenshot;
    // Called once, right after the first buffer swap (the program measures its start-up).
    std::function<void()> after_first_swap;
    // Buffer swaps so far.
    int64_t swaps = 0;
    // Frames are presented by copying the back buffer to the window (on a software
    // rasteriser, see copy_present.h) instead of by a swap.
    bool present_by_copy = false;
    // The back buffer still holds the frame last presented, pixel for pixel: true after a
    // present by copy, false after a swap (which leaves it undefined).
    bool back_buffer_kept = false;
    glw_mouseevent* mouse_callback = nullptr;
    glw_kbevent* kb_callback = nullptr;
    std::deque<mouse_event> mouse_queue;
    std::deque<key_event> key_queue;
    // Typed characters (Latin-1 codes 32 to 255) for name entry.
    std::deque<uint32_t> char_queue;
    uint32_t buttons = 0;
    // The pointer in window pixels, as the last mouse event left it.
    float pointer_x = 0, pointer_y = 0;
    // Set while the headless test driver runs this window.
    glw_test_driver* driver = nullptr;

    glw_window(const char* class_name, const char* title, glw_mouseevent* mouse, glw_kbevent* kb);
    ~glw_window();
    glw_window(const glw_window&) = delete;
    glw_window& operator=(const glw_window&) = delete;

    // Full screen covers the desktop at its own resolution (no mode change); the size
    // asked for is then replaced by the desktop's.
    bool create_gl_window(int32_t width, int32_t height, int32_t colour_bits, bool fullscreen);
    void kill_gl_window();
    // Handles every pending event; false once a quit (window close, Ctrl+C) was taken.
    bool pump_messages();
    bool is_active() const { return active; }
    bool swap();
    void resize(int32_t width, int32_t height);
    void set_view(float cx, float cy, float half_height);
    void apply_view();
    float view_width() const { return view[2] - view[0]; }
    void mouse_position(float& x, float& y) const;
    bool pop_mouse_event(uint32_t& flags, float& x, float& y);
    bool pop_key_event(uint32_t& key, uint32_t& down);
    bool pop_char_event(uint32_t& latin1);
    void flush_input();
    // Switches between full screen and a window (Alt+Enter).
    void toggle_fullscreen();
    // Fills the desktop with the window, keeping its frame (the editors open this way).
    void maximise();
    // Whether Ctrl is held, as the key events this window received say (scripted ones too).
    bool control_held() const { return control_down; }
    // 1: swaps wait for the display's vertical retrace (when the driver offers it); 0: they
    // do not. False when the driver refuses.
    bool set_swap_interval(int32_t interval);
    // The icon the desktop shows for the window: RGBA, rows top to bottom.
    void set_icon(const uint8_t* rgba, int32_t width, int32_t height);

    // The one point every SDL event passes through; returns false for a quit. Closing the
    // window posts a quit that pump_messages takes after the events already queued.
    // Tests feed synthetic events here or through SDL_PushEvent.
    bool handle_event(const SDL_Event& e);

private:
    float view_cx = view_centre, view_cy = view_centre, view_hh = view_size / 2;
    bool quit_posted = false;
    bool control_down = false;
    bool screenshot_due = false;
    void take_screenshot();
    void deliver(uint32_t flags);
    void key(uint32_t vk, uint32_t down);
    void button(int sdl_button, bool down, int clicks);
};

// Whether the environment names a display to open windows on (an X or Wayland display, or
// an SDL video driver chosen by hand); without one, creating a window cannot succeed.
bool glw_display_named();

// The size of the desktop the window opens on (1280 x 1024 when the system cannot say).
void glw_desktop_size(int32_t& width, int32_t& height);

// Entry points of GL extensions (the framebuffer-object functions) of the current context,
// and whether the context lists an extension; null / false without a context.
void* glw_gl_proc_address(const char* name);
bool glw_gl_extension_supported(const char* extension);

// SDL key code to virtual-key number (0 for keys the game does not know), and back.
uint32_t glw_virtual_key(int32_t sdl_keycode);
int32_t glw_sdl_keycode(uint32_t virtual_key);
