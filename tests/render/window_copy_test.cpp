// Copies that stand in for drawing, on Mesa: a window patch gives back exactly the pixels it
// took, and the margin frames drawn from copies, or left in a back buffer kept from frame to
// frame, give the very pixels of drawing them whole, while what lies under their shadowed
// edges changes.
#include "render/margin_frames.h"
#include "render/window_patch.h"
#include "tests/render/render_test_util.h"

namespace {

struct window_copy_test : render_fixture {
    test_store store;

    std::vector<uint8_t> read_window() const
    {
        std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    // Pixels of two read-backs that differ, and the first of them.
    static int differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, std::string& first)
    {
        int n = 0;
        for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4)
            if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) {
                if (n++ == 0)
                    first = "pixel " + std::to_string(i / 4 % width) + ", " + std::to_string(i / 4 / width);
            }
        return n;
    }

    // The square in a colour that changes with the frame's number, opaque, no depth test.
    static void changing_square(int number)
    {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glColor4f(float(number % 3) / 2.0f, 0.5f, float(number % 2), 1.0f);
        glRectf(0, 0, 64, 64);
    }

    // Textured and blended by source alpha in white, as the frames are drawn.
    static void textured_in_white()
    {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, 1);
    }

    // A 64 x 128 frame: opaque noise from its outer edge, then a shadow fading out towards
    // its inner edge (eight columns of it, or fewer).
    ref_ptr<gl_texture> frame_texture(int opaque_columns = 56)
    {
        std::vector<uint8_t> frame(64 * 128 * 4);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 64; ++x) {
                uint8_t* p = &frame[size_t(y * 64 + x) * 4];
                p[0] = uint8_t((x * 37 + y * 11) % 256);
                p[1] = uint8_t((x * 5 + y * 53) % 256);
                p[2] = uint8_t((x * y) % 256);
                p[3] = x < opaque_columns ? 255 : uint8_t(255 - (x - opaque_columns + 1) * 30);
            }
        store.add_image("tex\\frame", 64, 128, frame);
        return store.texture("tex\\frame");
    }
};

TEST_F(window_copy_test, a_patch_gives_back_exactly_the_pixels_it_took_and_leaves_the_state_alone)
{
    // A picture with something in every pixel: a magnified, filtered texture of noise.
    std::vector<uint8_t> noise(16 * 16 * 4);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = uint8_t(i * 7919 % 251);
    store.add_image("tex\\noise", 16, 16, noise);
    ref_ptr<gl_texture> t = store.texture("tex\\noise");
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    t->draw_quad(32, 32, 80, 64);
    std::vector<uint8_t> drawn = read_window();

    window_patch patch;
    EXPECT_FALSE(patch.capture(5, 5, 0, 10));
    EXPECT_FALSE(patch.held());
    // An odd rectangle, not a power of two in either direction.
    ASSERT_TRUE(patch.capture(37, 21, 301, 77));
    EXPECT_TRUE(patch.held());

    // Whatever state the caller has: a colour, blending, the depth test.
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    std::vector<uint8_t> cleared = read_window();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glColor4f(0.5f, 0.25f, 1.0f, 0.5f);
    patch.restore();

    std::vector<uint8_t> restored = read_window();
    int inside = 0, outside = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t i = (size_t(y) * size_t(width) + size_t(x)) * 4;
            bool in = x >= 37 && x < 37 + 301 && y >= 21 && y < 21 + 77;
            const std::vector<uint8_t>& expected = in ? drawn : cleared;
            bool same = std::equal(restored.begin() + long(i), restored.begin() + long(i) + 3,
                                   expected.begin() + long(i));
            (in ? inside : outside) += same;
        }
    EXPECT_EQ(inside, 301 * 77);
    EXPECT_EQ(outside, width * height - 301 * 77);

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.25f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    // The view is back: a quad in view units lands where it should.
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glRectf(60, 60, 64, 64);
    EXPECT_TRUE(near_colour(at(62, 62), 255, 255, 255, 0)) << at(62, 62);
}

TEST_F(window_copy_test, margin_frames_from_copies_are_the_pixels_of_drawing_them_whole)
{
    ref_ptr<gl_texture> texture = frame_texture();
    ASSERT_TRUE(texture);

    // What lies beside the frames changes from frame to frame; the frames are drawn over it
    // as the screens draw them.
    auto scene = [&](int frame_number) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glColor4f(float(frame_number % 3) / 2.0f, 0.5f, float(frame_number % 2), 1.0f);
        glRectf(-8, 0, 72, 64);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, 1);
    };
    struct variant {
        const char* what;
        float offset, brightness;
        bool copied;
    };
    const variant variants[] = {
        {"in place", 0.0f, 1.0f, true},
        {"pushed out", 3.0f, 1.0f, true},
        {"dimmed", 0.0f, 0.5f, false},
        // The shadowed edge lies outside the window: nothing of the frames shows.
        {"out of the window", 40.0f, 1.0f, false},
    };
    for (const variant& v : variants) {
        margin_frames margins;
        for (int f = 0; f < 5; ++f) {
            scene(f);
            glColor4f(v.brightness, v.brightness, v.brightness, 1.0f);
            gl_draw_quad(texture.get(), -14 - v.offset, 32, 32, 64);
            gl_draw_quad(texture.get(), 78 + v.offset, 32, 32, 64, {1, 1}, {0, 0});
            std::vector<uint8_t> whole = read_window();

            scene(f);
            glColor4f(v.brightness, v.brightness, v.brightness, 1.0f);
            margins.draw(window.get(), texture.get(), v.offset);
            std::string first;
            EXPECT_EQ(differing(read_window(), whole, first), 0) << v.what << ", frame " << f << ": " << first;
        }
        // Copied on the second frame and used from the third on.
        EXPECT_EQ(margins.held, v.copied) << v.what;
        if (v.copied) {
            EXPECT_GT(margins.left.width, 0) << v.what;
            EXPECT_LT(margins.right_begin, width) << v.what;
        }
    }

    // A minimised window's back buffer is not copied from; once shown, the copies come.
    {
        margin_frames margins;
        window->active = false;
        for (int f = 0; f < 3; ++f) {
            scene(f);
            margins.draw(window.get(), texture.get(), 0.0f);
        }
        EXPECT_FALSE(margins.held);
        window->active = true;
        for (int f = 0; f < 3; ++f) {
            scene(f);
            margins.draw(window.get(), texture.get(), 0.0f);
        }
        EXPECT_TRUE(margins.held);
    }

    // Without a window the frames are drawn whole.
    {
        margin_frames margins;
        std::vector<uint8_t> drawn;
        for (int f = 0; f < 3; ++f) {
            scene(f);
            margins.draw(nullptr, texture.get(), 0.0f);
            drawn = read_window();
        }
        scene(2);
        gl_draw_quad(texture.get(), -14, 32, 32, 64);
        gl_draw_quad(texture.get(), 78, 32, 32, 64, {1, 1}, {0, 0});
        std::string first;
        EXPECT_EQ(differing(drawn, read_window(), first), 0) << "without a window: " << first;
        EXPECT_FALSE(margins.held);
    }

    // A window resized in between: the copies follow it.
    margin_frames margins;
    for (int f = 0; f < 3; ++f) {
        scene(f);
        margins.draw(window.get(), texture.get(), 0.0f);
    }
    ASSERT_TRUE(margins.held);
    int32_t end = margins.left_end;
    window->resize(320, 256);
    window->set_view(32, 32, 32);
    for (int f = 0; f < 3; ++f) {
        scene(f);
        margins.draw(window.get(), texture.get(), 0.0f);
    }
    EXPECT_TRUE(margins.held);
    EXPECT_EQ(margins.held_key.width, 320);
    EXPECT_LT(margins.left_end, end);
    window->resize(width, height);
}

TEST_F(window_copy_test, a_cover_is_held_with_the_frames_and_their_copies_leave_no_pixel_to_clear)
{
    // Opaque to x = 0.75, a little into the square, as the game's frames are.
    ref_ptr<gl_texture> texture = frame_texture(62);
    std::vector<uint8_t> spots(8 * 8 * 4);
    for (size_t i = 0; i < spots.size(); ++i)
        spots[i] = uint8_t(i % 4 == 3 ? (i * 29) % 256 : (i * 13) % 256);
    store.add_image("tex\\spots", 8, 8, spots);
    ref_ptr<gl_texture> spot = store.texture("tex\\spots");
    ASSERT_TRUE(texture && spot);

    // Translucent pictures on both frames, one of them across the copies' inner edge (the
    // copies end a pixel short of x = 0.75).
    int picture = 0;
    margin_cover cover;
    cover.draw = [&] {
        glColor4f(1, 1, 1, 1);
        gl_draw_quad(spot.get(), -4, 12 + 4 * float(picture), 6, 8);
        gl_draw_quad(spot.get(), 0.5f, 40, 3, 8);
        gl_draw_quad(spot.get(), 68, 52, 8, 8 + float(picture));
    };
    // The square changes from frame to frame and is drawn opaquely over all of it; the
    // frames and their cover go over it as the play screen draws them. `stale` stands for
    // what a back buffer may hold from earlier frames where the colour is not cleared.
    auto frame = [&](int number, bool clear_colour, bool copies) {
        glClearColor(clear_colour ? 0.0f : 1.0f, 0.0f, clear_colour ? 0.0f : 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        changing_square(number);
        textured_in_white();
        if (copies) {
            cover.key = uint64_t(picture);
            return;
        }
        gl_draw_quad(texture.get(), -14, 32, 32, 64);
        gl_draw_quad(texture.get(), 78, 32, 32, 64, {1, 1}, {0, 0});
        cover.draw();
    };

    margin_frames margins;
    std::vector<bool> covered;
    for (int f = 0; f < 8; ++f) {
        // The cover changes its picture (and its key) at frame 4.
        picture = f < 4 ? 0 : 1;
        frame(f, true, false);
        std::vector<uint8_t> whole = read_window();

        bool covers = margins.covers_window(window.get(), texture.get(), 0.0f, uint64_t(picture));
        covered.push_back(covers);
        frame(f, !covers, true);
        margins.draw(window.get(), texture.get(), 0.0f, cover);
        std::string first;
        EXPECT_EQ(differing(read_window(), whole, first), 0) << "frame " << f << ": " << first;
    }
    // Copied on the second frame alike and again on the second with the new picture.
    EXPECT_EQ(covered, (std::vector<bool>{false, false, true, true, false, false, true, true}));
    EXPECT_FALSE(margins.covers_window(window.get(), texture.get(), 0.0f, 0));
    EXPECT_FALSE(margins.covers_window(window.get(), texture.get(), 0.5f, 1));
    EXPECT_FALSE(margins.covers_window(nullptr, texture.get(), 0.0f, 1));

    // Frames pushed out leave a gap beside the square: copied, but not covering it.
    margin_frames pushed;
    for (int f = 0; f < 3; ++f) {
        frame(f, true, true);
        pushed.draw(window.get(), texture.get(), 3.0f, cover);
    }
    EXPECT_TRUE(pushed.held);
    EXPECT_FALSE(pushed.covers_window(window.get(), texture.get(), 3.0f, cover.key));
}

TEST_F(window_copy_test, frames_left_in_a_kept_back_buffer_show_the_pixels_of_drawing_them_whole)
{
    // Mesa's software rasteriser presents by copy and keeps the back buffer. Once, on a
    // loaded machine, a window came up without it (Mesa's loader complaining about
    // XDG_RUNTIME_DIR, as when it falls back from GLX): a second window is asked first.
    if (!window->present_by_copy) {
        window->kill_gl_window();
        ASSERT_TRUE(window->create_gl_window(width, height, 32, false));
        window->set_view(32, 32, 32);
        warm_up_read_back();
    }
    const GLubyte* renderer = glGetString(GL_RENDERER);
    ASSERT_TRUE(window->present_by_copy) << "renderer: " << (renderer ? reinterpret_cast<const char*>(renderer) : "none");
    ref_ptr<gl_texture> texture = frame_texture(62);
    std::vector<uint8_t> spots(8 * 8 * 4);
    for (size_t i = 0; i < spots.size(); ++i)
        spots[i] = uint8_t(i % 4 == 3 ? 128 + (i * 29) % 128 : (i * 13) % 256);
    store.add_image("tex\\spots", 8, 8, spots);
    ref_ptr<gl_texture> spot = store.texture("tex\\spots");
    ASSERT_TRUE(texture && spot);

    // A pointer that wanders over both frames and the square, and a card across the whole
    // square (over the copies' reach into it) on some frames.
    auto pointer = [](int f) { return std::pair<float, float>{f % 3 == 0 ? -6.0f : f % 3 == 1 ? 66.5f : 30.0f, 8.0f + 5.0f * float(f)}; };
    auto card = [](int f) { return f % 4 == 1; };
    margin_frames margins;
    // One frame as the play screen draws it: the square opaque and changing, something that
    // strays beyond it (which the frames cover, or the scissor keeps off them), the frames
    // (whole, or from `margins`), then the card and the pointer.
    auto frame = [&](int f, bool whole, bool untouched) {
        glClearColor(0, 0, 0, 1);
        if (untouched) {
            glClear(GL_DEPTH_BUFFER_BIT);
            margins.scissor_between();
        } else {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
        changing_square(f);
        glColor4f(1.0f, float(f % 2), 0.0f, 1.0f);
        glRectf(-10, 20, 74, 30);
        glDisable(GL_SCISSOR_TEST);
        textured_in_white();
        if (whole) {
            gl_draw_quad(texture.get(), -14, 32, 32, 64);
            gl_draw_quad(texture.get(), 78, 32, 32, 64, {1, 1}, {0, 0});
        } else {
            margins.draw(window.get(), texture.get(), 0.0f, {}, untouched);
        }
        if (card(f))
            gl_draw_quad(spot.get(), 32, 40, 64, 10);
        auto [x, y] = pointer(f);
        gl_draw_quad(spot.get(), x, y, 8, 8);
        margins.drawn_over(x, y, 8, 8);
    };

    constexpr int frames = 12;
    std::vector<std::vector<uint8_t>> wholes;
    for (int f = 0; f < frames; ++f) {
        frame(f, true, false);
        wholes.push_back(read_window());
    }
    margins.drawn_over_frames.clear();
    std::vector<bool> kept;
    for (int f = 0; f < frames; ++f) {
        // Frame 6 follows a frame presented by a swap; frame 9 a capture between frames.
        window->present_by_copy = f != 5;
        if (f == 9) {
            glClear(GL_COLOR_BUFFER_BIT);
            window->back_buffer_kept = false;
        }
        bool untouched = margins.keeps_window(window.get(), texture.get(), 0.0f);
        kept.push_back(untouched);
        frame(f, false, untouched);
        std::string first;
        EXPECT_EQ(differing(read_window(), wholes[size_t(f)], first), 0) << "frame " << f << ": " << first;
        ASSERT_TRUE(window->swap());
    }
    window->present_by_copy = true;
    EXPECT_EQ(kept, (std::vector<bool>{false, false, true, true, true, true, false, true, true, false, true, true}));

    // A frame skipped (another screen drew and presented one) leaves nothing to build on.
    frame(0, true, false);
    ASSERT_TRUE(window->swap());
    EXPECT_FALSE(margins.keeps_window(window.get(), texture.get(), 0.0f));
}

}  // namespace
