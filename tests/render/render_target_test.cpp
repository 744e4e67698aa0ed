// The render target on Mesa: a capture of the back buffer written as four level pictures,
// and set-up's log line for each way it can fail (through stand-in entry points).
#include "render/render_target.h"
#include "tests/render/render_test_util.h"

#include <GL/glext.h>
#include <unistd.h>

namespace {

struct render_target_test : render_fixture {
    test_store store;
    render_target target;
    std::string base;

    void SetUp() override
    {
        render_fixture::SetUp();
        base = "render_target_" + std::to_string(getpid()) + "_";
    }
    void TearDown() override
    {
        for (int i = 0; i < 4; ++i)
            std::remove((base + std::to_string(i) + ".bmp").c_str());
        render_fixture::TearDown();
    }
};

void fill(float l, float t, float r, float b)
{
    glBegin(GL_QUADS);
    glVertex3f(l, t, -1);
    glVertex3f(r, t, -1);
    glVertex3f(r, b, -1);
    glVertex3f(l, b, -1);
    glEnd();
}

TEST_F(render_target_test, a_capture_becomes_four_blurred_but_recognisable_pictures)
{
    store.add_texture("tex\\ui\\playfield_tile", 4, 4, 0xFFFFFFFF);
    test_log_capture log;
    ASSERT_TRUE(target.setup(*window, &store.pak));
    EXPECT_TRUE(target.ready);
    EXPECT_EQ(target.size, height);
    EXPECT_EQ(log.count_containing("SCREEN HEIGHT:512 "), 1u);
    EXPECT_TRUE(target.playfield_tile);
    EXPECT_FALSE(target.playfield_background);
    EXPECT_TRUE(target.setup(*window, &store.pak));
    EXPECT_EQ(log.count_containing("SCREEN HEIGHT:"), 1u);  // once only
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ(bound, 0);

    // The playfield: left half red, right half blue, a green square in the top-left corner.
    ASSERT_TRUE(target.begin_capture());
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 0, 0);
    fill(0, 0, 32, 64);
    glColor3f(0, 0, 1);
    fill(32, 0, 64, 64);
    glColor3f(0, 1, 0);
    glDisable(GL_DEPTH_TEST);
    fill(0, 0, 16, 16);
    ASSERT_TRUE(target.save_level_images(base.c_str()));

    const int sizes[4] = {16, 32, 64, 128};
    for (int i = 0; i < 4; ++i) {
        test_bmp bmp;
        ASSERT_TRUE(test_read_bmp(base + std::to_string(i) + ".bmp", bmp)) << i;
        int s = sizes[i];
        ASSERT_EQ(bmp.width, s);
        ASSERT_EQ(bmp.height, s);
        auto red = [&](int x, int y) { return bmp.at(x, y)[2] > 150 && bmp.at(x, y)[0] < 90; };
        auto blue = [&](int x, int y) { return bmp.at(x, y)[0] > 150 && bmp.at(x, y)[2] < 90; };
        auto green = [&](int x, int y) { return bmp.at(x, y)[1] > 100 && bmp.at(x, y)[1] > bmp.at(x, y)[2]; };
        EXPECT_TRUE(red(s / 8, s * 3 / 4)) << i;
        EXPECT_TRUE(blue(s * 7 / 8, s / 2)) << i;
        EXPECT_TRUE(green(s / 8, s / 8)) << i;
        EXPECT_FALSE(green(s / 8, s * 7 / 8)) << i;  // the picture is not upside down
        EXPECT_EQ(bmp.at(s / 2, s / 2)[3], 255);
        // Across the edge between the halves the colours mix: a blur, not a hard cut.
        const uint8_t* mid = bmp.at(s / 2, s * 3 / 4);
        EXPECT_TRUE(mid[0] > 30 && mid[2] > 30) << i << ": " << int(mid[0]) << " " << int(mid[2]);
    }

    // The window's view and viewport are back.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
    EXPECT_FLOAT_EQ(window->view[0], -8.0f);
    target.release();
    EXPECT_FALSE(target.playfield_tile);
}

TEST_F(render_target_test, a_target_taller_than_the_window_captures_only_what_the_window_holds)
{
    // A window resized smaller than at set-up (or taller than wide): the square read back
    // must lie inside the drawable area, or the pictures would hold undefined pixels.
    int32_t saved = window->height;
    window->height = 1024;
    ASSERT_TRUE(target.setup(*window, nullptr));
    window->height = saved;
    EXPECT_EQ(target.size, 1024);
    ASSERT_TRUE(target.begin_capture());
    EXPECT_EQ(target.capture_size, height);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0, 1, 0);
    fill(0, 0, 64, 64);
    ASSERT_TRUE(target.save_level_images(base.c_str()));
    test_bmp bmp;
    ASSERT_TRUE(test_read_bmp(base + "3.bmp", bmp));
    EXPECT_EQ(bmp.width, 128);
    for (int y = 0; y < 128; y += 9)
        for (int x = 0; x < 128; x += 9)
            ASSERT_GT(bmp.at(x, y)[1], 240) << x << " " << y;
}

TEST_F(render_target_test, without_set_up_a_capture_does_nothing)
{
    EXPECT_FALSE(target.begin_capture());
    EXPECT_FALSE(target.save_level_images(base.c_str()));
    test_bmp bmp;
    EXPECT_FALSE(test_read_bmp(base + "0.bmp", bmp));
    // Saving without a capture begun does nothing either.
    ASSERT_TRUE(target.setup(*window, nullptr));
    EXPECT_FALSE(target.save_level_images(base.c_str()));
}

// Stand-in entry points: the real ones, except the one a test breaks.
const char* missing_proc = nullptr;
const char* failing_proc = nullptr;
GLenum forced_status = 0;

void raise_gl_error()
{
    glEnable(0xFFFF);  // GL_INVALID_ENUM
}

void APIENTRY failing_storage(GLenum, GLenum, GLsizei, GLsizei)
{
    raise_gl_error();
}
void APIENTRY silent_storage(GLenum, GLenum, GLsizei, GLsizei)
{}
void APIENTRY failing_framebuffer_renderbuffer(GLenum, GLenum, GLenum, GLuint)
{
    raise_gl_error();
}
GLenum APIENTRY forced_check(GLenum)
{
    return forced_status;
}

void* stand_in(const char* name)
{
    std::string n = name;
    if (missing_proc && n == missing_proc)
        return nullptr;
    if (failing_proc && n == failing_proc) {
        if (n == "glRenderbufferStorageEXT")
            return reinterpret_cast<void*>(&failing_storage);
        if (n == "glFramebufferRenderbufferEXT")
            return reinterpret_cast<void*>(&failing_framebuffer_renderbuffer);
    }
    if (n == "glRenderbufferStorageEXT" && failing_proc && std::string(failing_proc) == "glTexImage2D")
        return reinterpret_cast<void*>(&silent_storage);
    if (n == "glCheckFramebufferStatusEXT" && forced_status)
        return reinterpret_cast<void*>(&forced_check);
    return glw_gl_proc_address(name);
}

TEST_F(render_target_test, each_failure_of_set_up_is_logged_and_leaves_drawing_on_the_window)
{
    ASSERT_TRUE(glw_gl_extension_supported("GL_EXT_framebuffer_object"));
    struct failure {
        const char* missing;
        const char* failing;
        GLenum status;
        const char* line;
    };
    const failure failures[] = {
        {"glGenFramebuffersEXT", nullptr, 0, "FBE INIT ERROR:extension not found(glGenFramebuffersEXT)"},
        {"glCheckFramebufferStatusEXT", nullptr, 0,
         "FBE INIT ERROR:extension not found(glCheckFramebufferStatusEXT)"},
        {nullptr, "glRenderbufferStorageEXT", 0, "glRenderbufferStorageEXT failed(500 "},
        {nullptr, "glFramebufferRenderbufferEXT", 0, "glFramebufferRenderbufferEXT failed(500 "},
        {nullptr, "glTexImage2D", 0, "glTexImage2D failed(501 "},
        {nullptr, nullptr, 0x8CD6, "glCheckFramebufferStatusEXT failed:8CD6 "},
    };
    for (const failure& f : failures) {
        render_target t;
        t.resolve = stand_in;
        missing_proc = f.missing;
        failing_proc = f.failing;
        forced_status = f.status;
        int32_t saved_height = window->height;
        if (f.failing && std::string(f.failing) == "glTexImage2D")
            window->height = 1 << 16;  // no texture that large
        test_log_capture log;
        EXPECT_FALSE(t.setup(*window, &store.pak)) << f.line;
        window->height = saved_height;
        EXPECT_FALSE(t.ready);
        std::vector<std::string> lines = log.lines();
        ASSERT_EQ(lines.size(), 2u) << f.line;
        EXPECT_EQ(lines[1], f.line);
        EXPECT_FALSE(t.begin_capture());
        GLint bound = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
        EXPECT_EQ(bound, 0) << f.line;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    missing_proc = failing_proc = nullptr;
    forced_status = 0;
}

}  // namespace
