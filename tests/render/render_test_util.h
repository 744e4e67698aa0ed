// Helpers of the render tests: a store of chunks made in memory (textures encoded in the
// test), a window whose back buffer the tests draw into and read back, and a log capture.
#pragma once

#include "app/log.h"
#include "app/pacing.h"
#include "app/window/window.h"
#include "data/byte_order.h"
#include "data/pak.h"
#include "data/pak_script.h"
#include "physics/level.h"
#include "render/image/image_chunk.h"
#include "render/texture.h"
#include "render/world_draw.h"
#include "tests/data/pak_test_util.h"
#include "tests/test_display.h"
#include "tests/test_util.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// A pak system with the texture creator and one memory store, installed as the store that
// levels (and so world drawing) resolve names through.
struct test_store {
    pak_system pak;
    test_module* module = nullptr;

    test_store()
    {
        gl_register_texture_creator(pak);
        auto m = std::make_unique<test_module>(&pak);
        module = m.get();
        pak.add_module(std::move(m));
        v_level_set_store(&pak);
    }
    ~test_store()
    {
        release_world_textures();
        if (v_level_store() == &pak)
            v_level_set_store(nullptr);
    }

    // A w x h texture of one colour, coded (quality 100) or raw.
    void add_texture(const char* name, int32_t w, int32_t h, uint32_t rgba, bool raw = true)
    {
        std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 4);
        for (size_t i = 0; i < pixels.size(); i += 4)
            for (int c = 0; c < 4; ++c)
                pixels[i + size_t(c)] = uint8_t(rgba >> (24 - 8 * c));
        add_image(name, w, h, pixels, raw);
    }
    void add_image(const char* name, int32_t w, int32_t h, const std::vector<uint8_t>& pixels,
                   bool raw = true)
    {
        module->add(name, pak_code_imag, image_chunk_content(w, h, pixels.data(), 100, raw));
    }
    ref_ptr<gl_texture> texture(const char* name)
    {
        ref_ptr<gl_texture> t;
        pak.get_object(name, t);
        return t;
    }
};

// Texture metadata for the global script tree, as an "INIT" chunk would give it.
inline void test_define(const char* text)
{
    ASSERT_TRUE(pak_parse_text("test", text, script_global_tree()));
}

// The "HEAD" and "DATA" records of a texture chunk, with any bytes.
inline std::vector<uint8_t> test_image_records(int32_t w, int32_t h, uint32_t flags,
                                               std::vector<uint8_t> data)
{
    image_head head;
    head.width = w;
    head.height = h;
    head.flags = flags;
    return image_chunk_records(head, std::move(data));
}

struct test_rgb {
    int r = 0, g = 0, b = 0;
};

// A 640 x 512 window with the game's view (centre (32, 32), half-height 32): 8 pixels a
// unit, x from -8 to 72.
class render_fixture : public ::testing::Test {
protected:
    std::unique_ptr<glw_window> window;
    static constexpr int32_t width = 640, height = 512;

    void SetUp() override
    {
        TAMBLE_REQUIRE_DISPLAY();
        window = std::make_unique<glw_window>("tamble", "render test", nullptr, nullptr);
        ASSERT_TRUE(window->create_gl_window(width, height, 32, false));
        window->set_view(32, 32, 32);
        set_app_window(window.get());
        warm_up_read_back();
        clear();
    }

    // The first read-back after a draw makes Mesa allocate state that it keeps for the rest
    // of the process and that LeakSanitizer cannot attribute (the stacks run through code
    // without frame pointers). It is made here, unwatched, so that the tests' own leaks
    // stay checked.
    void warm_up_read_back()
    {
#if defined(__SANITIZE_ADDRESS__)
        __lsan_disable();
#endif
        glBegin(GL_TRIANGLES);
        glVertex2f(0, 0);
        glVertex2f(1, 0);
        glVertex2f(0, 1);
        glEnd();
        uint8_t p[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
    }
    void TearDown() override
    {
        set_app_window(nullptr);
        release_world_textures();
    }

    void clear()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor4f(1, 1, 1, 1);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
    }

    // The back buffer's colour at a point of the view.
    test_rgb at(float x, float y) const
    {
        int px = int((x + 8.0f) * 8.0f), py = int(y * 8.0f);
        uint8_t p[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(px, height - 1 - py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
};

inline bool near_colour(test_rgb c, int r, int g, int b, int tolerance = 24)
{
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance && std::abs(c.b - b) <= tolerance;
}

inline std::ostream& operator<<(std::ostream& o, const test_rgb& c)
{
    return o << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Counts the log lines sink 1 receives while alive.
struct test_log_capture {
    test_log_capture()
    {
        previous = log_redirect_sink0(nullptr);
        log_sink_clear(1);
    }
    ~test_log_capture() { log_redirect_sink0(previous); }
    std::vector<std::string> lines() const { return log_sink_entries(1); }
    size_t count_containing(const std::string& text) const
    {
        size_t n = 0;
        for (const std::string& l : lines())
            n += l.find(text) != std::string::npos;
        return n;
    }
    std::FILE* previous;
};
