// The generated art through the game's own texture path on Mesa: every type of the built
// archive drawn alone by the world drawing shows its picture where the type puts it, the
// balls in their colours; the stars, a caption and a line of the big font land on screen.
#include "physics/type_creators.h"
#include "render/render.h"
#include "tests/render/render_test_util.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

struct art_capture : render_fixture {
    pak_system pak;

    void SetUp() override
    {
        render_fixture::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        gl_register_texture_creator(pak);
        v_register_type_creators(pak);
        ASSERT_TRUE(pak.add_archive(TAMBLE_ARCHIVE, false)) << TAMBLE_ARCHIVE;
        v_level_set_store(&pak);
        v_install_default_constraint_type(pak);
        // Texture metadata (repeat, animation) comes from the "INIT" chunks, as in the game.
        for_each_chunk(pak_code_init, [](pak_chunkref& ref) { pak_parse_chunk(ref, script_global_tree()); });
    }
    void TearDown() override
    {
        release_world_textures();
        if (v_level_store() == &pak)
            v_level_set_store(nullptr);
        v_set_default_constraint_type(nullptr);
        render_fixture::TearDown();
    }

    void for_each_chunk(uint32_t code, const std::function<void(pak_chunkref&)>& fn)
    {
        pak_enum_function visit([&](ref_ptr<pak_chunkref> ref) { fn(*ref); });
        pak.enumerate(code, visit);
    }
    std::set<std::string> names_of(uint32_t code)
    {
        std::set<std::string> names;
        for_each_chunk(code, [&](pak_chunkref& ref) { names.insert(ref.get_name()); });
        return names;
    }

    // Draws a level made of `text` alone and reads the frame back.
    bool draw_level(const std::string& text, v_world& world)
    {
        v_level_report report;
        if (!v_level_load_text(world, text.c_str(), "art", &report) || !report.clean())
            return false;
        clear();
        draw_world(world, false);
        return true;
    }

    // Pixels of the 4 x 4-unit square around (x, y) that are not the black clear colour,
    // every pixel of it: thin coils and strands would slip between coarser samples.
    int lit_around(float x, float y)
    {
        constexpr int side = 32;  // 4 units at 8 pixels a unit
        int px = int((x + 8.0f) * 8.0f) - side / 2, py = height - int(y * 8.0f) - side / 2;
        std::vector<uint8_t> block(size_t(side * side) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(px, py, side, side, GL_RGBA, GL_UNSIGNED_BYTE, block.data());
        int lit = 0;
        for (size_t i = 0; i < block.size(); i += 4)
            lit += block[i] + block[i + 1] + block[i + 2] > 20;
        return lit;
    }
};

TEST_F(art_capture, every_type_of_the_archive_draws_its_picture_where_it_stands)
{
    int drawn = 0;
    for (const std::string& type : names_of(pak_code_ntyp)) {
        v_world world;
        ASSERT_TRUE(draw_level("nodes { ~{ x 32.0 y 32.0 fixed 1 type \"" + type + "\" } }", world)) << type;
        EXPECT_GT(lit_around(32, 32), 0) << type << " draws nothing at its node";
        EXPECT_EQ(lit_around(12, 12), 0) << type << " draws far from its node";
        ++drawn;
    }
    for (const std::string& type : names_of(pak_code_btyp)) {
        v_world world;
        ASSERT_TRUE(draw_level(
            "bodies { ~{ x 32.0 y 32.0 ang 0.0 fix_mask \"PPPPPPPP\" type \"" + type + "\" } }", world))
            << type;
        ASSERT_EQ(world.bodies.size(), 1u) << type;
        vec2 p = world.bodies[0]->position;
        EXPECT_GT(lit_around(p.x, p.y) + lit_around(32, 32), 0) << type << " draws nothing";
        ++drawn;
    }
    for (const std::string& type : names_of(pak_code_ctyp)) {
        v_world world;
        ASSERT_TRUE(draw_level("nodes { ~{ x 20.0 y 32.0 fixed 1 type \"nodes\\anchor\" }"
                               " ~{ x 44.0 y 32.0 fixed 1 type \"nodes\\anchor\" } }"
                               " constraints { ~{ len 0.0 type \"" +
                                   type + "\" n1 0 n2 1 } }",
                               world))
            << type;
        ASSERT_EQ(world.constraints.size(), 1u) << type;
        // Uncuttable links are hidden in play; everything else shows between its ends.
        if (world.constraints[0]->type && world.constraints[0]->type->cuttable) {
            EXPECT_GT(lit_around(32, 32), 0) << type << " draws nothing between its ends";
        }
        ++drawn;
    }
    EXPECT_GT(drawn, 25);
}

TEST_F(art_capture, balls_show_their_colours)
{
    struct ball {
        const char* type;
        std::function<bool(test_rgb)> hue;
    };
    const ball balls[] = {
        {"nodes\\ball_red", [](test_rgb c) { return c.r > c.g + 40 && c.r > c.b + 40; }},
        {"nodes\\ball_blue", [](test_rgb c) { return c.b > c.r + 40; }},
        {"nodes\\ball_green", [](test_rgb c) { return c.g > c.r + 30 && c.g > c.b; }},
        {"nodes\\ball_yellow", [](test_rgb c) { return c.r > c.b + 60 && c.g > c.b + 40; }},
    };
    for (const ball& b : balls) {
        v_world world;
        ASSERT_TRUE(
            draw_level(std::string("nodes { ~{ x 32.0 y 32.0 fixed 1 type \"") + b.type + "\" } }", world));
        // Beside the centre (the symbol sits there): the glass of the ball's own colour.
        test_rgb c = at(32.4f, 32.4f);
        EXPECT_TRUE(b.hue(c)) << b.type << " shows " << c;
    }
}

TEST_F(art_capture, stars_caption_and_big_font_land_on_screen)
{
    clear();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    ref_ptr<gl_texture> star, star_off, caption, sheet;
    ASSERT_TRUE(pak.get_object("tex\\ui\\Star_On", star));
    ASSERT_TRUE(pak.get_object("tex\\ui\\Star_Off", star_off));
    ASSERT_TRUE(pak.get_object("tex\\ui\\text_READY", caption));
    ASSERT_TRUE(pak.get_object("tex\\font\\64x64_Black", sheet));
    star->draw_quad(8, 8, 8, 8);
    star_off->draw_quad(20, 8, 8, 8);
    caption->draw_quad(32, 32, 48, 12);
    glyph_font font(sheet);
    glColor4f(1, 1, 1, 1);
    // White paper behind the dark glyphs, so that ink shows as dark on light.
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glVertex3f(0, 52, -2);
    glVertex3f(64, 52, -2);
    glVertex3f(64, 60, -2);
    glVertex3f(0, 60, -2);
    glEnd();
    glEnable(GL_TEXTURE_2D);  // the game draws with texturing on throughout
    float end = font.print(32, 56, 4, "Tamble 0123", font_centre | font_middle);

    // A lit star is warm and bright; the unlit one is darker.
    test_rgb on = at(8, 8), off = at(20, 8);
    EXPECT_GT(on.r, 150) << on;
    EXPECT_GT(on.r, on.b + 40) << on;
    EXPECT_GT(on.r + on.g + on.b, off.r + off.g + off.b + 60) << on << " against " << off;
    // The caption has ink across its middle and leaves the corners of its quad clear.
    int ink = 0;
    for (float x = 12; x <= 52; x += 1)
        ink += at(x, 32).r + at(x, 32).g + at(x, 32).b > 90;
    EXPECT_GT(ink, 10);
    // The line of text: dark glyphs on the paper, centred on x = 32, and nothing of it past
    // where print says it ends.
    int dark_left = 0, dark_right = 0;
    for (float x = 2; x < 62; x += 0.25f) {
        test_rgb c = at(x, 56);
        bool dark = c.r + c.g + c.b < 300;
        (x < 32 ? dark_left : dark_right) += dark;
        if (x > end + 0.5f) {
            EXPECT_FALSE(dark) << "ink at x " << x << " past the end " << end;
        }
    }
    EXPECT_GT(dark_left, 6);
    EXPECT_GT(dark_right, 6);
    EXPECT_NEAR(end - 32, font.measure("Tamble 0123") * 4 / 2, 0.01f);
}

}  // namespace
