// The window layer on a real SDL window (under Xvfb in CI): mouse flag sequences, keys,
// activation, quit, resizing and the view space, all through the event choke point.
#include "app/window/message_box.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "tests/test_display.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void park_pointer()
{
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
        SDL_WarpMouseGlobal(mode.w - 1, mode.h - 1);
}

struct mouse_recorder : glw_mouseevent {
    std::vector<uint32_t> flags;
    void on_mouse(uint32_t f, float, float) override { flags.push_back(f); }
};

struct key_recorder : glw_kbevent {
    std::vector<key_event> keys;
    void on_key(uint32_t k, uint32_t d) override { keys.push_back({k, d}); }
};

class window_layer : public ::testing::Test {
protected:
    mouse_recorder mouse;
    key_recorder kb;
    std::unique_ptr<glw_window> w;

    void SetUp() override
    {
        TAMBLE_REQUIRE_DISPLAY();
        w = std::make_unique<glw_window>("tamble", "Tamble window test", &mouse, &kb);
        ASSERT_TRUE(w->create_gl_window(640, 480, 32, false));
        // Tests run side by side on one display: with the pointer parked in a corner that
        // no centred test window covers, windows coming and going send no real motion.
        park_pointer();
        w->set_view(32, 32, 32);
        pump();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        mouse.flags.clear();
        kb.keys.clear();
        w->flush_input();
    }

    void push(SDL_Event e)
    {
        e.common.timestamp = SDL_GetTicks();
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    }
    void button(Uint8 b, bool down, int clicks = 1, int x = 10, int y = 10)
    {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = b;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = Uint8(clicks);
        e.button.x = x;
        e.button.y = y;
        push(e);
    }
    void motion(int x, int y)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        push(e);
    }
    void window_event(Uint8 what, int a = 0, int b = 0)
    {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        e.window.data1 = a;
        e.window.data2 = b;
        push(e);
    }
    void key(SDL_Keycode sym, bool down, Uint16 mod = 0, bool repeat = false)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        e.key.repeat = repeat ? 1 : 0;
        push(e);
    }
    bool pump() { return w->pump_messages(); }
    std::vector<uint32_t> queued_flags()
    {
        std::vector<uint32_t> out;
        uint32_t f;
        float x, y;
        while (w->pop_mouse_event(f, x, y))
            out.push_back(f);
        return out;
    }
};

using flags = std::vector<uint32_t>;

TEST_F(window_layer, press_drag_release_and_a_right_press_while_left_is_held)
{
    button(SDL_BUTTON_LEFT, true);
    motion(20, 20);
    motion(30, 30);
    button(SDL_BUTTON_LEFT, false);
    ASSERT_TRUE(pump());
    EXPECT_EQ(mouse.flags, (flags{17, 16, 16, 64}));
    EXPECT_EQ(queued_flags(), (flags{17, 16, 16, 64}));

    mouse.flags.clear();
    button(SDL_BUTTON_LEFT, true);
    button(SDL_BUTTON_RIGHT, true);
    button(SDL_BUTTON_RIGHT, false);
    motion(5, 5);
    ASSERT_TRUE(pump());
    // Releasing either button clears both held bits.
    EXPECT_EQ(mouse.flags, (flags{17, 50, 128, 0}));
    EXPECT_EQ(w->buttons, 0u);
}

TEST_F(window_layer, double_clicks_arrive_as_press_release_double_release)
{
    button(SDL_BUTTON_LEFT, true, 1);
    button(SDL_BUTTON_LEFT, false, 1);
    button(SDL_BUTTON_LEFT, true, 2);
    button(SDL_BUTTON_LEFT, false, 2);
    // A third click starts a new press.
    button(SDL_BUTTON_LEFT, true, 3);
    button(SDL_BUTTON_LEFT, false, 3);
    ASSERT_TRUE(pump());
    EXPECT_EQ(mouse.flags, (flags{17, 64, 4, 64, 17, 64}));

    mouse.flags.clear();
    button(SDL_BUTTON_RIGHT, true, 1);
    button(SDL_BUTTON_RIGHT, false, 1);
    button(SDL_BUTTON_RIGHT, true, 2);
    button(SDL_BUTTON_RIGHT, false, 2);
    button(SDL_BUTTON_MIDDLE, true, 1);
    ASSERT_TRUE(pump());
    EXPECT_EQ(mouse.flags, (flags{34, 128, 8, 128}));
}

TEST_F(window_layer, minimise_and_restore_follow_the_window_not_the_focus)
{
    EXPECT_TRUE(w->is_active());
    window_event(SDL_WINDOWEVENT_FOCUS_LOST);
    ASSERT_TRUE(pump());
    EXPECT_TRUE(w->is_active());
    window_event(SDL_WINDOWEVENT_MINIMIZED);
    ASSERT_TRUE(pump());
    EXPECT_FALSE(w->is_active());
    window_event(SDL_WINDOWEVENT_RESTORED);
    ASSERT_TRUE(pump());
    EXPECT_TRUE(w->is_active());
}

TEST_F(window_layer, a_driven_window_follows_only_its_scripts_focus_and_minimising)
{
    // Another window on the same display taking the focus must not pause a scripted run.
    // The set-up's pump may already have seen such a window take the focus: start focused.
    w->focused = true;
    w->active = true;
    glw_test_driver driver;
    w->driver = &driver;
    window_event(SDL_WINDOWEVENT_FOCUS_LOST);
    window_event(SDL_WINDOWEVENT_MINIMIZED);
    ASSERT_TRUE(pump());
    EXPECT_TRUE(w->focused);
    EXPECT_TRUE(w->is_active());
    window_event(SDL_WINDOWEVENT_FOCUS_LOST, glw_scripted_window_event);
    window_event(SDL_WINDOWEVENT_MINIMIZED, glw_scripted_window_event);
    ASSERT_TRUE(pump());
    EXPECT_FALSE(w->focused);
    EXPECT_FALSE(w->is_active());
    w->driver = nullptr;
}

TEST_F(window_layer, close_ends_the_pump_once)
{
    // The close posts a quit: the key queued behind it is still handled by the same pump.
    window_event(SDL_WINDOWEVENT_CLOSE);
    key(SDLK_q, true);
    EXPECT_FALSE(pump());
    ASSERT_EQ(kb.keys.size(), 1u);
    EXPECT_EQ(kb.keys[0].key, 0x51u);
    EXPECT_TRUE(pump());
    SDL_Event q{};
    q.type = SDL_QUIT;
    push(q);
    EXPECT_FALSE(pump());
    EXPECT_TRUE(pump());
}

TEST_F(window_layer, zero_height_resize_sets_a_viewport_of_height_one)
{
    w->resize(640, 0);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 1);

    window_event(SDL_WINDOWEVENT_SIZE_CHANGED, 300, 0);
    ASSERT_TRUE(pump());
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[3], 1);
    EXPECT_TRUE(std::isfinite(w->view_width()));
}

TEST_F(window_layer, the_game_view_on_a_1280_by_1024_client)
{
    window_event(SDL_WINDOWEVENT_SIZE_CHANGED, 1280, 1024);
    ASSERT_TRUE(pump());
    w->set_view(32, 32, 32);
    EXPECT_FLOAT_EQ(w->view_width(), 80.0f);
    EXPECT_FLOAT_EQ(w->view[0], -8.0f);
    EXPECT_FLOAT_EQ(w->view[2], 72.0f);
    EXPECT_FLOAT_EQ(w->view[1], 0.0f);
    EXPECT_FLOAT_EQ(w->view[3], 64.0f);

    motion(640, 512);
    ASSERT_TRUE(pump());
    float x, y;
    w->mouse_position(x, y);
    EXPECT_FLOAT_EQ(x, 32.0f);
    EXPECT_FLOAT_EQ(y, 32.0f);
    uint32_t f;
    ASSERT_TRUE(w->pop_mouse_event(f, x, y));
    EXPECT_FLOAT_EQ(x, 32.0f);
    EXPECT_FLOAT_EQ(y, 32.0f);

    // The projection puts the view's top at the top of the screen: y grows downward.
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    auto ndc = [&](float vx, float vy, int row) { return m[row] * vx + m[4 + row] * vy + m[12 + row]; };
    EXPECT_NEAR(ndc(32, 32, 0), 0.0f, 1e-6);
    EXPECT_NEAR(ndc(-8, 0, 0), -1.0f, 1e-6);
    EXPECT_NEAR(ndc(32, 0, 1), 1.0f, 1e-6);
    EXPECT_NEAR(ndc(32, 64, 1), -1.0f, 1e-6);
    // Depth runs from near 0 to far 16.
    EXPECT_NEAR(m[10], -2.0f / 16.0f, 1e-7);
    EXPECT_NEAR(m[14], -1.0f, 1e-7);

    // A window made wider keeps the centre and the height of the view.
    window_event(SDL_WINDOWEVENT_SIZE_CHANGED, 2048, 1024);
    ASSERT_TRUE(pump());
    EXPECT_FLOAT_EQ(w->view_width(), 128.0f);
    EXPECT_FLOAT_EQ(w->view[0], -32.0f);
}

TEST_F(window_layer, keys_become_virtual_key_events_and_repeats_are_presses)
{
    key(SDLK_a, true);
    key(SDLK_a, true, 0, true);
    key(SDLK_a, false);
    key(SDLK_SPACE, true);
    key(SDLK_F5, true);
    key(SDLK_EQUALS, true);
    key(SDLK_x, true, KMOD_LALT);  // a system key: no event
    key(SDLK_CAPSLOCK, true);      // unknown to the game: no event
    ASSERT_TRUE(pump());
    std::vector<std::pair<uint32_t, uint32_t>> want = {{0x41, 1}, {0x41, 1}, {0x41, 0},
                                                       {0x20, 1}, {0x74, 1}, {0xBB, 1}};
    std::vector<std::pair<uint32_t, uint32_t>> got;
    for (const key_event& k : kb.keys)
        got.push_back({k.key, k.down});
    EXPECT_EQ(got, want);
    uint32_t k, d;
    size_t queued = 0;
    while (w->pop_key_event(k, d))
        ++queued;
    EXPECT_EQ(queued, want.size());
}

TEST_F(window_layer, every_virtual_key_maps_back_to_itself)
{
    std::vector<uint32_t> vks = {0x08, 0x09, 0x0D, 0x10, 0x11, 0x1B, 0x20, 0x25, 0x26,
                                 0x27, 0x28, 0x2E, 0xBB, 0xBD, 0xDB, 0xDD, 0x60, 0x69};
    for (uint32_t c = 0x41; c <= 0x5A; ++c)
        vks.push_back(c);
    for (uint32_t c = 0x30; c <= 0x39; ++c)
        vks.push_back(c);
    for (uint32_t c = 0x70; c <= 0x7B; ++c)
        vks.push_back(c);
    for (uint32_t vk : vks)
        EXPECT_EQ(glw_virtual_key(glw_sdl_keycode(vk)), vk) << std::hex << vk;
    EXPECT_EQ(glw_sdl_keycode(0xFF), SDLK_UNKNOWN);
}

TEST_F(window_layer, alt_enter_toggles_full_screen_without_key_events)
{
    bool before = w->fullscreen;
    key(SDLK_RETURN, true, KMOD_LALT);
    key(SDLK_RETURN, false, KMOD_LALT);
    ASSERT_TRUE(pump());
    EXPECT_TRUE(kb.keys.empty());
    EXPECT_NE(w->fullscreen, before);
    key(SDLK_RETURN, true, KMOD_RALT);
    ASSERT_TRUE(pump());
    EXPECT_EQ(w->fullscreen, before);
}

TEST_F(window_layer, typed_text_keeps_latin1_characters_only)
{
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strcpy(e.text.text, "a\xC3\xA9\xE2\x82\xAC"
                             "b");
    push(e);
    ASSERT_TRUE(pump());
    std::vector<uint32_t> chars;
    uint32_t c;
    while (w->pop_char_event(c))
        chars.push_back(c);
    EXPECT_EQ(chars, (std::vector<uint32_t>{'a', 0xE9, 'b'}));
}

TEST_F(window_layer, flush_input_empties_the_queues)
{
    button(SDL_BUTTON_LEFT, true);
    key(SDLK_b, true);
    ASSERT_TRUE(pump());
    w->flush_input();
    uint32_t a, b;
    float x, y;
    EXPECT_FALSE(w->pop_mouse_event(a, x, y));
    EXPECT_FALSE(w->pop_key_event(a, b));
}

TEST_F(window_layer, initial_gl_state_and_the_screen_saver)
{
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    EXPECT_EQ(func, GL_LEQUAL);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    EXPECT_FLOAT_EQ(clear[0] + clear[1] + clear[2], 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_FLOAT_EQ(depth, 1.0f);
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);
    GLint hint = 0, min_filter = 0, mag_filter = 0;
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(hint, GL_NICEST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    EXPECT_EQ(min_filter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(mag_filter, GL_LINEAR);
    EXPECT_TRUE(w->swap());
}

TEST_F(window_layer, kill_and_create_again)
{
    w->kill_gl_window();
    EXPECT_EQ(w->window, nullptr);
    EXPECT_EQ(w->context, nullptr);
    EXPECT_FALSE(w->swap());
    EXPECT_TRUE(w->create_gl_window(320, 200, 32, false));
    EXPECT_TRUE(w->swap());
    // A second creation while a window lives is refused.
    EXPECT_FALSE(w->create_gl_window(320, 200, 32, false));
}

TEST_F(window_layer, editor_callbacks_route_to_the_installed_handlers)
{
    static uint32_t seen_flags, seen_key;
    ed_mouse_callback().handler = [](uint32_t f, float, float) { seen_flags = f; };
    ed_kb_callback().handler = [](uint32_t k, uint32_t) { seen_key = k; };
    w->mouse_callback = &ed_mouse_callback();
    w->kb_callback = &ed_kb_callback();
    button(SDL_BUTTON_RIGHT, true);
    key(SDLK_z, true);
    ASSERT_TRUE(pump());
    EXPECT_EQ(seen_flags, 34u);
    EXPECT_EQ(seen_key, 0x5Au);
    ed_mouse_callback().handler = nullptr;
    ed_kb_callback().handler = nullptr;
    button(SDL_BUTTON_RIGHT, false);
    ASSERT_TRUE(pump());
    EXPECT_EQ(seen_flags, 34u);
}

TEST(message_box, headless_runs_answer_no_and_never_block)
{
    glw_set_headless(true);
    testing::internal::CaptureStderr();
    glw_message_box("Something failed.", "ERROR", glw_icon::error);
    EXPECT_FALSE(glw_ask_yes_no("Really?", "Question"));
    EXPECT_TRUE(glw_open_url("https://example.invalid/"));
    std::string err = testing::internal::GetCapturedStderr();
    glw_set_headless(false);
    EXPECT_NE(err.find("ERROR: Something failed."), std::string::npos);
    EXPECT_NE(err.find("Really?"), std::string::npos);
    EXPECT_FALSE(glw_open_url(""));
}

}  // namespace
