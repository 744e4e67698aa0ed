// The rain effect (streaks spawning, falling and respawning; splashes on markers and their
// frames) and the dissolving caption of blur_sequence.
#include "render/blur_sequence.h"
#include "render/effect_rain.h"
#include "tests/render/render_test_util.h"

#include <cmath>
#include <cstdlib>

namespace {

vec2 centre(const effect_vertex* v)
{
    return vec2{(v[0].x + v[1].x + v[2].x + v[3].x) / 4, (v[0].y + v[1].y + v[2].y + v[3].y) / 4};
}

TEST(effect_rain, streaks_start_above_the_view_fall_slanted_and_respawn_32_to_33_units_above_the_top)
{
    std::srand(7);
    effect_rain rain(nullptr, nullptr);
    float sa = std::sin(rain.angle), ca = std::cos(rain.angle);
    for (int q = 0; q < effect_rain::streak_count; ++q) {
        vec2 c = centre(rain.streaks + q * 4);
        // Spread 128 at construction, then one update.
        EXPECT_GE(c.y, -160.0f) << q;
        EXPECT_LE(c.y, -32.0f + 1.5f * ca) << q;
        EXPECT_GE(rain.speeds[q], 0.3f);
        EXPECT_LE(rain.speeds[q], 1.5f);
        // Half length 6 s along the slant: |v0 - v3| = 12 s = 40 x speed.
        const effect_vertex* v = rain.streaks + q * 4;
        EXPECT_NEAR(std::hypot(v[0].x - v[3].x, v[0].y - v[3].y), 40.0f * rain.speeds[q], 1e-3);
    }

    // One update moves every corner by (-sin a, cos a) x speed.
    effect_vertex before = rain.streaks[5];
    rain.update();
    EXPECT_NEAR(rain.streaks[5].x, before.x - sa * rain.speeds[1], 1e-4);
    EXPECT_NEAR(rain.streaks[5].y, before.y + ca * rain.speeds[1], 1e-4);

    // Past y 96 a streak comes back with spread 1: between 32 and 33 units above the top.
    for (int q = 0; q < effect_rain::streak_count; ++q)
        rain.streaks[q * 4].y = 100.0f;
    rain.update();
    for (int q = 0; q < effect_rain::streak_count; ++q) {
        vec2 c = centre(rain.streaks + q * 4);
        EXPECT_GE(c.y, -33.0f - 1e-4f) << q;
        EXPECT_LE(c.y, -32.0f + 1e-4f) << q;
        EXPECT_GE(c.x, 32.0f * sa - 1e-4f);
        EXPECT_LE(c.x, 32.0f * sa + sa * 64.0f + 64.0f + 1e-4f);
        EXPECT_EQ(rain.streaks[q * 4 + 2].v, 1.0f);
        EXPECT_FLOAT_EQ(rain.streaks[q * 4 + 1].u, 0.5097656f);
    }
}

TEST(effect_rain, splashes_stand_on_markers_and_stay_collapsed_without_any)
{
    std::srand(3);
    v_world empty;
    v_world marked;
    marked.add_marker(10, 20, 0.0f);
    effect_rain rain(nullptr, &empty);
    for (int k = 0; k < effect_rain::splash_count; ++k) {
        EXPECT_GE(rain.splash_timers[k], 0);
        EXPECT_LE(rain.splash_timers[k], 0x3FFF + 200);
    }
    // 83 updates take every timer past 16384 at least once.
    for (int i = 0; i < 83; ++i)
        rain.update();
    for (const effect_vertex& v : rain.splashes) {
        EXPECT_EQ(v.x, 0.0f);
        EXPECT_EQ(v.y, 0.0f);
    }
    rain.world = &marked;
    for (int i = 0; i < 83; ++i)
        rain.update();
    // A 2 x 2 square standing on the marker, raised along its normal (0, -1).
    const effect_vertex* v = rain.splashes;
    EXPECT_FLOAT_EQ(v[0].x, 9.0f);
    EXPECT_FLOAT_EQ(v[0].y, 18.0f);
    EXPECT_FLOAT_EQ(v[2].x, 11.0f);
    EXPECT_FLOAT_EQ(v[2].y, 20.0f);
    EXPECT_EQ(v[2].u, 1.0f);
    rain.world = nullptr;
    rain.place_splash(0);
    EXPECT_EQ(rain.splashes[0].x, 0.0f);
}

struct effect_draw_test : render_fixture {
    test_store store;
};

TEST_F(effect_draw_test, a_splash_timer_of_exactly_16384_holds_the_last_frame)
{
    test_define("tex\\Effect_RainSpat_Frame { anim_speed 0 }");
    store.add_texture("tex\\Effect_RainSpat_Frame", 4, 4, 0xFF0000FF);
    store.add_texture("tex\\Effect_RainSpat_Frame2", 4, 4, 0x0000FFFF);
    store.add_texture("tex\\Effect_RainSpat_Frame3", 4, 4, 0x00FF00FF);
    v_world world;
    world.add_marker(32, 40, 0.0f);
    effect_rain rain(&store.pak, &world);
    ASSERT_TRUE(rain.splash_texture);
    ASSERT_EQ(rain.splash_texture->frame_count(), 3);
    ASSERT_FALSE(rain.streak_texture);  // missing: no streaks drawn

    const int32_t timers[] = {0, 5461, 5462, 16383, 16384};
    const int32_t frames[] = {0, 0, 1, 2, 2};
    for (int i = 0; i < 5; ++i) {
        rain.splash_timers[0] = timers[i];
        EXPECT_EQ(rain.splash_frame(0), frames[i]) << timers[i];
    }
    for (int k = 0; k < effect_rain::splash_count; ++k) {
        rain.place_splash(k);
        rain.splash_timers[k] = 16384;
    }
    glEnable(GL_TEXTURE_2D);
    rain.draw();
    // The last frame's green, never the untextured white of frame index 3.
    EXPECT_TRUE(near_colour(at(32, 39), 0, 255, 0)) << at(32, 39);
}

TEST_F(effect_draw_test, a_blur_sequence_dissolves_from_the_sharp_image_into_ever_coarser_copies)
{
    std::vector<uint8_t> halves(32 * 32 * 4, 0);
    for (int i = 0; i < 32 * 32; ++i) {
        halves[size_t(i) * 4 + ((i % 32) < 16 ? 0 : 2)] = 255;
        halves[size_t(i) * 4 + 3] = 255;
    }
    store.add_image("tex\\caption", 32, 32, halves);
    blur_sequence caption(store.texture("tex\\caption"), 4, 3.0f);
    ASSERT_EQ(caption.level_count, 4);
    const int sizes[4] = {16, 8, 4, 2};
    for (int i = 0; i < 4; ++i) {
        GLint w = 0;
        glBindTexture(GL_TEXTURE_2D, caption.names[size_t(i)]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        EXPECT_EQ(w, sizes[i]);
    }

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    caption.draw(16, 16, 24, 24, 0.0f, 1.0f);
    EXPECT_TRUE(near_colour(at(10, 16), 255, 0, 0)) << at(10, 16);
    EXPECT_TRUE(near_colour(at(22, 16), 0, 0, 255)) << at(22, 16);
    // Half way: level 1 (8 x 8, blurred twice) at half strength; the halves have run into
    // each other at the middle.
    caption.draw(48, 16, 24, 24, 0.5f, 1.0f);
    test_rgb mid = at(48, 16), left = at(38, 16);
    EXPECT_TRUE(mid.r > 20 && mid.b > 20 && mid.r < 140 && mid.b < 140) << mid;
    EXPECT_GT(left.r, left.b) << left;
    EXPECT_LT(left.r, 160) << left;
    // At the end nothing is left; brightness darkens.
    caption.draw(16, 48, 24, 24, 1.0f, 1.0f);
    EXPECT_TRUE(near_colour(at(10, 48), 0, 0, 0)) << at(10, 48);
    caption.draw(48, 48, 24, 24, 0.0f, 0.5f);
    EXPECT_TRUE(near_colour(at(42, 48), 128, 0, 0)) << at(42, 48);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);

    blur_sequence none(nullptr, 4, 3.0f);
    EXPECT_EQ(none.level_count, 0);
    none.draw(16, 48, 24, 24, 0.0f, 1.0f);
    EXPECT_TRUE(near_colour(at(10, 48), 0, 0, 0)) << at(10, 48);
    // A texture that holds no image (its data is damaged) is a missing caption too, not a
    // white box.
    store.module->add("tex\\damaged", pak_code_imag, test_image_records(32, 32, image_flag_coded, {1, 2, 3}));
    ref_ptr<gl_texture> damaged = store.texture("tex\\damaged");
    ASSERT_TRUE(damaged);
    ASSERT_TRUE(damaged->empty());
    blur_sequence blank(damaged, 4, 3.0f);
    blank.draw(16, 48, 24, 24, 0.0f, 1.0f);
    EXPECT_TRUE(near_colour(at(10, 48), 0, 0, 0)) << at(10, 48);
}

}  // namespace
