// The headless test driver end to end: virtual frame time, scripted input in view units,
// a captured frame read back from its PNG, and the frame limit's clean quit.
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "tests/test_display.h"
#include "tests/window/png_read.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

struct mouse_log : glw_mouseevent {
    std::vector<mouse_event> events;
    void on_mouse(uint32_t f, float x, float y) override { events.push_back({f, x, y}); }
};

struct key_log : glw_kbevent {
    std::vector<key_event> keys;
    void on_key(uint32_t k, uint32_t d) override { keys.push_back({k, d}); }
};

void fill_rect(float l, float t, float r, float b)
{
    glBegin(GL_QUADS);
    glVertex2f(l, t);
    glVertex2f(r, t);
    glVertex2f(r, b);
    glVertex2f(l, b);
    glEnd();
}

TEST(driver, a_scripted_run_moves_clicks_types_captures_and_quits)
{
    TAMBLE_REQUIRE_DISPLAY();
    {
        std::ofstream s("driver_test.script");
        s << "# pointer to the centre, click, type\n"
             "1 move 32 32\n"
             "2 press left\n"
             "2 move 40 16\n"
             "3 release left 16 48\n"
             "3 key space\n"
             "4 text \"ab\"\n";
    }
    mouse_log mouse;
    key_log kb;
    glw_window w("tamble", "driver test", &mouse, &kb);
    ASSERT_TRUE(w.create_gl_window(320, 256, 32, false));
    w.set_view(32, 32, 32);
    // Park the pointer where no centred test window lies, so that no real motion interleaves.
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
        SDL_WarpMouseGlobal(mode.w - 1, mode.h - 1);
    w.pump_messages();
    mouse.events.clear();

    driver_options o;
    o.fixed_frame = true;
    o.script_path = "driver_test.script";
    o.capture_frames = {3};
    o.capture_prefix = "driver_test_";
    o.frame_limit = 6;
    glw_test_driver driver;
    std::string error;
    ASSERT_TRUE(driver.start(w, o, error)) << error;

    frame_timer().reset();
    int frames = 0;
    std::vector<uint32_t> chars;
    while (w.pump_messages()) {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 0, 0);
        fill_rect(24, 24, 40, 40);
        w.swap();
        ++frames;
        uint32_t c;
        while (w.pop_char_event(c))
            chars.push_back(c);
        ASSERT_LT(frames, 100);
    }
    // Six frames, each exactly 1/60 s of virtual time.
    EXPECT_EQ(frames, 6);
    EXPECT_DOUBLE_EQ(frame_timer().elapsed(), 0.1);
    EXPECT_FALSE(w.pump_messages());

    std::vector<uint32_t> want_flags = {0, 17, 16, 16, 64};
    ASSERT_EQ(mouse.events.size(), want_flags.size());
    for (size_t i = 0; i < want_flags.size(); ++i)
        EXPECT_EQ(mouse.events[i].flags, want_flags[i]) << i;
    EXPECT_NEAR(mouse.events[0].x, 32, 0.2);
    EXPECT_NEAR(mouse.events[0].y, 32, 0.2);
    EXPECT_NEAR(mouse.events[2].x, 40, 0.2);
    EXPECT_NEAR(mouse.events[2].y, 16, 0.2);
    EXPECT_NEAR(mouse.events[4].x, 16, 0.2);
    EXPECT_NEAR(mouse.events[4].y, 48, 0.2);
    ASSERT_EQ(kb.keys.size(), 2u);
    EXPECT_EQ(kb.keys[0].key, 0x20u);
    EXPECT_EQ(kb.keys[0].down, 1u);
    EXPECT_EQ(kb.keys[1].down, 0u);
    EXPECT_EQ(chars, (std::vector<uint32_t>{'a', 'b'}));

    ASSERT_EQ(driver.captures_written, std::vector<std::string>{"driver_test_3.png"});
    test_image img;
    ASSERT_TRUE(png_read_rgb_file("driver_test_3.png", img));
    EXPECT_EQ(img.width, 320);
    EXPECT_EQ(img.height, 256);
    // The red square sits at the centre of the view; the edges are black.
    const uint8_t* centre = img.at(160, 128);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 0);
    const uint8_t* corner = img.at(2, 2);
    EXPECT_EQ(corner[0], 0);
    // View y 24 is pixel row 96 from the top: the square's top edge.
    EXPECT_EQ(img.at(160, 94)[0], 0);
    EXPECT_EQ(img.at(160, 98)[0], 255);

    driver.stop();
    EXPECT_EQ(w.driver, nullptr);
    EXPECT_TRUE(frame_timer().use_counter);
    std::remove("driver_test.script");
    std::remove("driver_test_3.png");
}

TEST(driver, a_missing_script_is_reported)
{
    TAMBLE_REQUIRE_DISPLAY();
    glw_window w("tamble", "driver test", nullptr, nullptr);
    driver_options o;
    o.script_path = "no-such-script.txt";
    glw_test_driver driver;
    std::string error;
    EXPECT_FALSE(driver.start(w, o, error));
    EXPECT_NE(error.find("no-such-script.txt"), std::string::npos);
    EXPECT_EQ(w.driver, nullptr);
}

}  // namespace
