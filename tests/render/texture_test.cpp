// gl_texture on Mesa: uploaded levels and sizes, damaged chunks, translucency, metadata
// (frames, scrolling, wrapping), the frame choice of bind and the texture-memory counter.
#include "app/clock.h"
#include "tests/render/render_test_util.h"

namespace {

struct texture_test : render_fixture {
    test_store store;

    void TearDown() override
    {
        gl_textures().half_size = false;
        gl_textures().max_size = 0;
        set_wall_clock(nullptr);
        render_fixture::TearDown();
    }

    // Width of each uploaded level, read back from GL; stops at the first missing level.
    std::vector<std::pair<int, int>> level_sizes(gl_texture& t)
    {
        std::vector<std::pair<int, int>> sizes;
        glBindTexture(GL_TEXTURE_2D, t.name);
        for (int level = 0; level < 16; ++level) {
            GLint w = 0, h = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
            if (w == 0)
                break;
            sizes.push_back({w, h});
        }
        return sizes;
    }

    GLint parameter(gl_texture& t, GLenum which)
    {
        GLint v = 0;
        glBindTexture(GL_TEXTURE_2D, t.name);
        glGetTexParameteriv(GL_TEXTURE_2D, which, &v);
        return v;
    }
};

TEST_F(texture_test, coded_textures_upload_a_mipmap_chain_down_to_a_dimension_of_one)
{
    store.add_texture("tex\\one", 1, 1, 0xFF0000FF, false);
    store.add_texture("tex\\wide", 64, 32, 0x00FF00FF, false);
    store.add_texture("tex\\raw", 64, 32, 0x00FF00FF, true);
    ref_ptr<gl_texture> one = store.texture("tex\\one"), wide = store.texture("tex\\wide");
    ref_ptr<gl_texture> raw = store.texture("tex\\raw");
    ASSERT_TRUE(one && wide && raw);

    EXPECT_EQ(level_sizes(*one), (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(level_sizes(*wide),
              (std::vector<std::pair<int, int>>{{64, 32}, {32, 16}, {16, 8}, {8, 4}, {4, 2}, {2, 1}}));
    EXPECT_EQ(wide->levels, 6);
    // Raw images (fonts) keep their one exact level.
    EXPECT_EQ(level_sizes(*raw).size(), 1u);
    EXPECT_EQ(wide->memory_size, 64u * 32 * 4);
    EXPECT_EQ(parameter(*wide, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(*wide, GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    // The mipmap levels are 2 x 2 means of the level above: a flat colour stays flat.
    std::vector<uint8_t> level(2 * 1 * 4);
    glBindTexture(GL_TEXTURE_2D, wide->name);
    glGetTexImage(GL_TEXTURE_2D, 5, GL_RGBA, GL_UNSIGNED_BYTE, level.data());
    EXPECT_NEAR(level[1], 255, 3);
    EXPECT_NEAR(level[0], 0, 3);
}

TEST_F(texture_test, small_screens_get_coded_textures_at_half_size)
{
    gl_texture_choose_half_size(1024, 768);
    EXPECT_TRUE(gl_textures().half_size);
    store.add_texture("tex\\big", 256, 256, 0x808080FF, false);
    store.add_texture("tex\\font", 256, 256, 0x808080FF, true);
    ref_ptr<gl_texture> big = store.texture("tex\\big"), font = store.texture("tex\\font");
    ASSERT_TRUE(big && font);
    EXPECT_EQ(level_sizes(*big).front(), std::make_pair(128, 128));
    EXPECT_EQ(big->width(), 128);
    EXPECT_EQ(big->memory_size, 128u * 128 * 4);
    // Raw images are never halved.
    EXPECT_EQ(font->width(), 256);

    gl_texture_choose_half_size(1280, 1024);
    EXPECT_FALSE(gl_textures().half_size);
}

TEST_F(texture_test, images_larger_than_gl_takes_are_halved_until_they_fit_with_one_log_line)
{
    // GL refused such images and they drew white while counting as loaded.
    gl_textures().max_size = 64;
    store.add_texture("tex\\huge", 256, 128, 0x20C040FF, false);
    store.add_texture("tex\\tall_raw", 1, 200, 0xC02040FF, true);
    test_log_capture log;
    ref_ptr<gl_texture> huge = store.texture("tex\\huge"), tall = store.texture("tex\\tall_raw");
    ASSERT_TRUE(huge && tall);
    EXPECT_EQ(level_sizes(*huge).front(), std::make_pair(64, 32));
    EXPECT_EQ(huge->levels, 6);
    EXPECT_EQ(huge->width(), 64);
    EXPECT_EQ(huge->memory_size, 64u * 32 * 4);
    EXPECT_EQ(level_sizes(*tall), (std::vector<std::pair<int, int>>{{1, 50}}));
    EXPECT_EQ(tall->height(), 50);
    EXPECT_EQ(log.count_containing("is larger than GL takes (64)"), 2u);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    huge->draw_quad(16, 32, 16, 8);
    tall->draw_quad(48, 32, 8, 40);
    EXPECT_TRUE(near_colour(at(16, 32), 0x20, 0xC0, 0x40)) << at(16, 32);
    EXPECT_TRUE(near_colour(at(48, 32), 0xC0, 0x20, 0x40)) << at(48, 32);
}

TEST_F(texture_test, the_memory_counter_follows_the_living_textures)
{
    uint64_t before = gl_textures().memory;
    store.add_texture("tex\\counted", 16, 8, 0xFFFFFFFF);
    {
        ref_ptr<gl_texture> t = store.texture("tex\\counted");
        ASSERT_TRUE(t);
        EXPECT_EQ(gl_textures().memory, before + 16 * 8 * 4);
        // A second request while the first is held shares the object.
        EXPECT_EQ(store.texture("tex\\counted").get(), t.get());
    }
    EXPECT_EQ(gl_textures().memory, before);
}

TEST_F(texture_test, damaged_chunks_give_empty_textures_with_one_log_line)
{
    std::vector<uint8_t> coded = image_encode_data(16, 16, std::vector<uint8_t>(16 * 16 * 4, 200).data(), 90);
    std::vector<uint8_t> cut(coded.begin(), coded.begin() + long(coded.size() / 3));
    store.module->add("tex\\short_raw", pak_code_imag,
                      test_image_records(4, 4, 0, std::vector<uint8_t>(63, 1)));
    store.module->add("tex\\long_raw", pak_code_imag,
                      test_image_records(4, 4, 0, std::vector<uint8_t>(68, 1)));
    store.module->add("tex\\zero", pak_code_imag, test_image_records(0, 4, 0, {}));
    store.module->add("tex\\negative", pak_code_imag, test_image_records(-4, 4, 1, coded));
    store.module->add("tex\\huge", pak_code_imag, test_image_records(1 << 20, 1 << 20, 1, coded));
    store.module->add("tex\\cut", pak_code_imag, test_image_records(16, 16, 1, cut));
    // Records that claim more bytes than the chunk holds.
    std::vector<uint8_t> lying = test_image_records(4, 4, 0, std::vector<uint8_t>(64, 1));
    store_le32(&lying[lying.size() - 64 - 12], 1000);
    store.module->add("tex\\lying", pak_code_imag, lying);
    store.module->add("tex\\headless", pak_code_imag, std::vector<uint8_t>(40, 0));

    for (const char* name : {"tex\\short_raw", "tex\\long_raw", "tex\\zero", "tex\\negative", "tex\\huge",
                             "tex\\cut", "tex\\lying", "tex\\headless"}) {
        test_log_capture log;
        ref_ptr<gl_texture> t = store.texture(name);
        ASSERT_TRUE(t) << name;
        EXPECT_TRUE(t->empty()) << name;
        EXPECT_EQ(t->width(), 0) << name;
        EXPECT_EQ(t->memory_size, 0u) << name;
        EXPECT_EQ(log.count_containing(name), 1u) << name;
        EXPECT_EQ(level_sizes(*t).size(), 0u) << name;
    }
}

TEST_F(texture_test, translucency_is_an_alpha_strictly_between_15_and_240_and_solid_is_none_below_240)
{
    store.add_texture("tex\\solid", 4, 4, 0xFFFFFFF0);   // alpha 240
    store.add_texture("tex\\cutout", 4, 4, 0xFFFFFF0F);  // alpha 15
    store.add_texture("tex\\glass", 4, 4, 0xFFFFFF80);   // alpha 128
    store.add_texture("tex\\glass_coded", 16, 16, 0x2040FF80, false);
    store.add_texture("tex\\solid_coded", 16, 16, 0x2040FFFF, false);
    // Opaque but for one pixel that lets the alpha test through yet is not quite solid.
    std::vector<uint8_t> almost(4 * 4 * 4, 255);
    almost[5 * 4 + 3] = 239;
    store.add_image("tex\\almost", 4, 4, almost);
    EXPECT_FALSE(store.texture("tex\\solid")->translucent());
    EXPECT_FALSE(store.texture("tex\\cutout")->translucent());
    EXPECT_TRUE(store.texture("tex\\glass")->translucent());
    EXPECT_TRUE(store.texture("tex\\glass_coded")->translucent());
    EXPECT_TRUE(store.texture("tex\\almost")->translucent());

    EXPECT_TRUE(store.texture("tex\\solid")->solid());
    EXPECT_TRUE(store.texture("tex\\solid_coded")->solid());
    EXPECT_FALSE(store.texture("tex\\cutout")->solid());
    EXPECT_FALSE(store.texture("tex\\glass")->solid());
    EXPECT_FALSE(store.texture("tex\\almost")->solid());
}

TEST_F(texture_test, animation_frames_are_collected_up_to_the_first_missing_suffix)
{
    test_define("tex\\anim { anim_speed 1024 }  tex\\still { anim_speed 1024 }  tex\\plain { repeat 0 }");
    for (const char* name :
         {"tex\\anim", "tex\\anim2", "tex\\anim3", "tex\\anim5", "tex\\still", "tex\\plain", "tex\\plain2"})
        store.add_texture(name, 2, 2, 0xFFFFFFFF);
    ref_ptr<gl_texture> anim = store.texture("tex\\anim");
    ASSERT_TRUE(anim);
    ASSERT_EQ(anim->frames.size(), 2u);
    EXPECT_EQ(anim->frames[0].get(), store.texture("tex\\anim2").get());
    EXPECT_EQ(anim->frames[1].get(), store.texture("tex\\anim3").get());
    EXPECT_EQ(anim->frame_count(), 3);
    EXPECT_EQ(anim->anim_speed, 1024);

    // At 1024 frames per 1.024 s the frame moves on every millisecond, through 0, 1, 2.
    EXPECT_EQ(anim->frame_at(0), 0);
    EXPECT_EQ(anim->frame_at(1), 1);
    EXPECT_EQ(anim->frame_at(2), 2);
    EXPECT_EQ(anim->frame_at(3), 0);
    uint32_t now = 4;
    set_wall_clock([&] { return now; });
    EXPECT_EQ(anim->gl_name(-1), anim->frames[0]->name);
    now = 5;
    EXPECT_EQ(anim->gl_name(-1), anim->frames[1]->name);
    EXPECT_EQ(anim->gl_name(0), anim->name);
    EXPECT_EQ(anim->gl_name(2), anim->frames[1]->name);
    // An index past the last frame (the frame count itself) binds no texture.
    EXPECT_EQ(anim->gl_name(3), 0u);
    EXPECT_EQ(anim->gl_name(-2), 0u);
    anim->bind(1);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), anim->frames[0]->name);

    // "anim_speed" without a "2" texture animates over the texture's own image only;
    // without "anim_speed", frames are not looked for.
    ref_ptr<gl_texture> still = store.texture("tex\\still"), plain = store.texture("tex\\plain");
    EXPECT_EQ(still->frames.size(), 0u);
    EXPECT_EQ(still->gl_name(-1), still->name);
    EXPECT_EQ(plain->frames.size(), 0u);
}

TEST_F(texture_test, scrolling_and_repeat_choose_the_wrap_modes_and_offsets_run_on_the_clock)
{
    test_define(
        "tex\\cloud { scroll_x 0.25 scroll_y -0.5 }  tex\\tile { repeat 1 }  tex\\belt { scroll_y 2 }");
    for (const char* name : {"tex\\cloud", "tex\\tile", "tex\\belt", "tex\\fixed"})
        store.add_texture(name, 4, 4, 0xFFFFFFFF);
    ref_ptr<gl_texture> cloud = store.texture("tex\\cloud"), tile = store.texture("tex\\tile");
    ref_ptr<gl_texture> belt = store.texture("tex\\belt"), fixed = store.texture("tex\\fixed");
    EXPECT_EQ(parameter(*cloud, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(*cloud, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(parameter(*tile, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(*tile, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(parameter(*belt, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(*belt, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(parameter(*fixed, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(*fixed, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);

    uint32_t now = 1000;
    set_wall_clock([&] { return now; });
    EXPECT_FLOAT_EQ(cloud->scroll_offset_x(), 0.25f);
    // -0.5 widths a second: the offset repeats every 2 s and stays in [0, 1).
    EXPECT_FLOAT_EQ(cloud->scroll_offset_y(), 0.5f);
    now = 3000;
    EXPECT_FLOAT_EQ(cloud->scroll_offset_x(), 0.75f);
    now = 4000;
    EXPECT_FLOAT_EQ(cloud->scroll_offset_x(), 0.0f);
    EXPECT_FLOAT_EQ(fixed->scroll_offset_x(), 0.0f);
}

TEST_F(texture_test, draw_quad_puts_the_image_at_its_centre_and_size_and_a_null_texture_draws_nothing)
{
    // Left half red, right half blue: the quad's uv corners decide which side shows where.
    std::vector<uint8_t> pixels(8 * 8 * 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = &pixels[size_t(y * 8 + x) * 4];
            p[0] = x < 4 ? 255 : 0;
            p[2] = x < 4 ? 0 : 255;
            p[3] = 255;
        }
    store.add_image("tex\\halves", 8, 8, pixels);
    ref_ptr<gl_texture> t = store.texture("tex\\halves");
    ASSERT_TRUE(t);
    glEnable(GL_TEXTURE_2D);
    t->draw_quad(20, 30, 16, 8);
    // Mirrored by its uv corners.
    t->draw_quad(50, 30, 16, 8, {1, 0}, {0, 1});
    gl_draw_quad(nullptr, 32, 50, 10, 10);
    EXPECT_TRUE(near_colour(at(14, 30), 255, 0, 0)) << at(14, 30);
    EXPECT_TRUE(near_colour(at(26, 30), 0, 0, 255)) << at(26, 30);
    EXPECT_TRUE(near_colour(at(44, 30), 0, 0, 255)) << at(44, 30);
    EXPECT_TRUE(near_colour(at(56, 30), 255, 0, 0)) << at(56, 30);
    EXPECT_TRUE(near_colour(at(20, 35), 0, 0, 0)) << at(20, 35);  // below its height
    EXPECT_TRUE(near_colour(at(32, 50), 0, 0, 0)) << at(32, 50);
    EXPECT_EQ(t->last_use, gl_textures().frame_counter);
}

}  // namespace
