// The render target on Mesa: a capture of the back buffer made into four level pictures,
// the level pictures written as the PNG sources the archive build packs, and set-up's log
// line for each way it can fail (through stand-in entry points).
#include "physics/scenes/scene_types.h"
#include "render/level_pictures.h"
#include "render/render_target.h"
#include "tests/render/render_test_util.h"
#include "tests/window/png_read.h"

#include <GL/glext.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

struct render_target_test : render_fixture {
    test_store store;
    render_target target;
    fs::path root;

    void SetUp() override
    {
        render_fixture::SetUp();
        root = fs::temp_directory_path() / ("render_target_" + std::to_string(getpid()));
        fs::remove_all(root);
    }
    void TearDown() override
    {
        fs::remove_all(root);
        render_fixture::TearDown();
    }
};

// A picture's pixel (BGRA, rows kept bottom first) by its distance from the top.
const uint8_t* pixel(const level_image& image, int32_t x, int32_t y_from_top)
{
    return image.bgra.data() + (size_t(image.size - 1 - y_from_top) * size_t(image.size) + size_t(x)) * 4;
}

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
    // Drawn over the back buffer between frames: a frame cannot build on the last one.
    window->back_buffer_kept = true;
    ASSERT_TRUE(target.begin_capture());
    EXPECT_FALSE(window->back_buffer_kept);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 0, 0);
    fill(0, 0, 32, 64);
    glColor3f(0, 0, 1);
    fill(32, 0, 64, 64);
    glColor3f(0, 1, 0);
    glDisable(GL_DEPTH_TEST);
    fill(0, 0, 16, 16);
    std::array<level_image, 4> images;
    ASSERT_TRUE(target.end_capture(images));

    const int sizes[4] = {16, 32, 64, 128};
    for (int i = 0; i < 4; ++i) {
        const level_image& img = images[size_t(i)];
        int s = sizes[i];
        ASSERT_EQ(img.size, s);
        ASSERT_EQ(img.bgra.size(), size_t(s) * size_t(s) * 4);
        auto red = [&](int x, int y) { return pixel(img, x, y)[2] > 150 && pixel(img, x, y)[0] < 90; };
        auto blue = [&](int x, int y) { return pixel(img, x, y)[0] > 150 && pixel(img, x, y)[2] < 90; };
        auto green = [&](int x, int y) {
            return pixel(img, x, y)[1] > 100 && pixel(img, x, y)[1] > pixel(img, x, y)[2];
        };
        EXPECT_TRUE(red(s / 8, s * 3 / 4)) << i;
        EXPECT_TRUE(blue(s * 7 / 8, s / 2)) << i;
        EXPECT_TRUE(green(s / 8, s / 8)) << i;
        EXPECT_FALSE(green(s / 8, s * 7 / 8)) << i;  // the picture is not upside down
        EXPECT_EQ(pixel(img, s / 2, s / 2)[3], 255);
        // Across the edge between the halves the colours mix: a blur, not a hard cut.
        const uint8_t* mid = pixel(img, s / 2, s * 3 / 4);
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
    std::array<level_image, 4> images;
    ASSERT_TRUE(target.end_capture(images));
    EXPECT_EQ(images[3].size, 128);
    for (int y = 0; y < 128; y += 9)
        for (int x = 0; x < 128; x += 9)
            ASSERT_GT(pixel(images[3], x, y)[1], 240) << x << " " << y;
}

TEST_F(render_target_test, without_set_up_a_capture_does_nothing)
{
    std::array<level_image, 4> images;
    EXPECT_FALSE(target.begin_capture());
    EXPECT_FALSE(target.end_capture(images));
    EXPECT_EQ(images[0].size, 0);
    // Ending without a capture begun does nothing either.
    ASSERT_TRUE(target.setup(*window, nullptr));
    EXPECT_FALSE(target.end_capture(images));
}

// The one way level pictures are made (the play screen's Ctrl+P, tamble-sim previews, the
// level editor): the level over the playfield backdrop, four PNG files where the archive
// build takes its texture sources, and the caller's GL state and view left as they were.
TEST_F(render_target_test, level_pictures_are_the_level_over_its_backdrop_as_png_sources_the_build_packs)
{
    store.add_texture("tex\\ui\\playfield_background", 4, 4, 0x2040C0FF);
    v_world world;
    world.add_node(scene_ball_type(1), vec2{32, 20});  // red, drawn plainly without a texture
    glDisable(GL_BLEND);
    glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
    std::string note;
    ASSERT_TRUE(capture_level_pictures(target, *window, &store.pak, world, root.string(), "levels\\Pic", note))
        << note;
    EXPECT_EQ(note, (root / "tex" / "levels" / "Pic").string() + "0.png ... 3.png");
    for (int i = 0; i < 4; ++i) {
        test_image img;
        fs::path file = root / "tex" / "levels" / ("Pic" + std::to_string(i) + ".png");
        ASSERT_TRUE(png_read_rgb_file(file.string(), img)) << file;
        EXPECT_EQ(img.width, 16 << i);
        EXPECT_EQ(img.height, 16 << i);
    }
    test_image sharp;
    ASSERT_TRUE(png_read_rgb_file((root / "tex" / "levels" / "Pic3.png").string(), sharp));
    const uint8_t* ball = sharp.at(64, 40);  // (32, 20) at 2 pixels a unit
    EXPECT_GT(ball[0], 180);
    EXPECT_LT(ball[2], 110);
    const uint8_t* backdrop = sharp.at(10, 118);
    EXPECT_NEAR(backdrop[0], 0x20, 8);
    EXPECT_NEAR(backdrop[2], 0xC0, 8);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);
    EXPECT_FLOAT_EQ(window->view[0], -8.0f);

    // A folder that cannot be made: false, naming the file.
    std::ofstream(root / "blocker") << "x";
    EXPECT_FALSE(
        capture_level_pictures(target, *window, &store.pak, world, (root / "blocker").string(), "levels\\Pic", note));
    EXPECT_NE(note.find("Pic0.png"), std::string::npos) << note;
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

// The names set-up generates, to see that a failure deletes them.
GLuint made_framebuffer = 0, made_renderbuffer = 0;
PFNGLGENFRAMEBUFFERSEXTPROC real_gen_framebuffers = nullptr;
PFNGLGENRENDERBUFFERSEXTPROC real_gen_renderbuffers = nullptr;

void APIENTRY recording_gen_framebuffers(GLsizei n, GLuint* names)
{
    real_gen_framebuffers(n, names);
    made_framebuffer = names[0];
}
void APIENTRY recording_gen_renderbuffers(GLsizei n, GLuint* names)
{
    real_gen_renderbuffers(n, names);
    made_renderbuffer = names[0];
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
    if (n == "glGenFramebuffersEXT") {
        real_gen_framebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(glw_gl_proc_address(name));
        return reinterpret_cast<void*>(&recording_gen_framebuffers);
    }
    if (n == "glGenRenderbuffersEXT") {
        real_gen_renderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSEXTPROC>(glw_gl_proc_address(name));
        return reinterpret_cast<void*>(&recording_gen_renderbuffers);
    }
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
    auto is_framebuffer = reinterpret_cast<PFNGLISFRAMEBUFFEREXTPROC>(glw_gl_proc_address("glIsFramebufferEXT"));
    auto is_renderbuffer =
        reinterpret_cast<PFNGLISRENDERBUFFEREXTPROC>(glw_gl_proc_address("glIsRenderbufferEXT"));
    ASSERT_TRUE(is_framebuffer && is_renderbuffer);
    int made_and_failed = 0;
    for (const failure& f : failures) {
        render_target t;
        t.resolve = stand_in;
        made_framebuffer = made_renderbuffer = 0;
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
        // What set-up made before it failed is deleted, and it is not tried again: the play
        // screen asks at every level.
        if (made_framebuffer && made_renderbuffer) {
            EXPECT_FALSE(is_framebuffer(made_framebuffer)) << f.line;
            EXPECT_FALSE(is_renderbuffer(made_renderbuffer)) << f.line;
            ++made_and_failed;
        }
        made_framebuffer = made_renderbuffer = 0;
        EXPECT_FALSE(t.setup(*window, &store.pak));
        EXPECT_EQ(log.lines().size(), 2u) << f.line;
        EXPECT_EQ(made_framebuffer, 0u) << f.line;
    }
    EXPECT_EQ(made_and_failed, 4);
    missing_proc = failing_proc = nullptr;
    forced_status = 0;
}

}  // namespace
