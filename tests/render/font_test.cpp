// The glyph font's advances, measuring and aligned printing; the editors' fixed-cell font
// with wrapping and its textured rectangle.
#include "render/font.h"
#include "render/glyph_font.h"
#include "tests/render/render_test_util.h"

namespace {

// A 256 x 256 sheet (16 x 16 texel cells) with ink of width `ink[c]` texels from the cell's
// left edge (plus 2 columns of faint ink, alpha 100, after it) for the codes given.
std::vector<uint8_t> sheet(const std::vector<std::pair<int, int>>& ink, uint32_t rgb = 0xFFFFFF)
{
    std::vector<uint8_t> pixels(256 * 256 * 4, 0);
    auto put = [&](int x, int y, uint8_t alpha) {
        uint8_t* p = &pixels[size_t(y * 256 + x) * 4];
        p[0] = uint8_t(rgb >> 16);
        p[1] = uint8_t(rgb >> 8);
        p[2] = uint8_t(rgb);
        p[3] = alpha;
    };
    for (auto [code, width] : ink) {
        int x0 = (code & 15) * 16, y0 = (code >> 4) * 16;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < width; ++x)
                put(x0 + x, y0 + y, 255);
            for (int x = width; x < std::min(16, width + 2); ++x)
                put(x0 + x, y0 + y, 100);
        }
    }
    return pixels;
}

TEST(glyph_font, advances_come_from_the_ink_and_space_is_always_a_fifth)
{
    glyph_font f;
    std::vector<uint8_t> pixels = sheet({{'A', 8}, {'W', 16}, {' ', 12}, {0xE9, 4}});
    // 'j' is inked in columns 3 to 6 of its cell: the advance still counts from the
    // cell's left edge.
    int jx = ('j' & 15) * 16, jy = ('j' >> 4) * 16;
    for (int y = 0; y < 16; ++y)
        for (int x = 3; x < 7; ++x)
            pixels[size_t((jy + y) * 256 + jx + x) * 4 + 3] = 255;
    f.measure_sheet(pixels.data(), 256, 256);
    EXPECT_FLOAT_EQ(f.advance['j'], 7.0f / 16.0f - 0.09375f);
    // 'A': inked columns 0..7, faint 8..9 (alpha above 64 keeps the glyph going), ends at 10.
    EXPECT_FLOAT_EQ(f.advance['A'], 10.0f / 16.0f - 0.09375f);
    EXPECT_FLOAT_EQ(f.advance['W'], glyph_empty_advance);
    EXPECT_FLOAT_EQ(f.advance['B'], glyph_empty_advance);
    EXPECT_FLOAT_EQ(f.advance[' '], glyph_space_advance);
    EXPECT_FLOAT_EQ(f.advance[0xE9], 6.0f / 16.0f - 0.09375f);
    EXPECT_FLOAT_EQ(f.measure("AB A"), f.advance['A'] * 2 + f.advance['B'] + 0.2f);
    // Latin-1 letters index the table as unsigned codes.
    EXPECT_FLOAT_EQ(f.measure("\xE9"), f.advance[0xE9]);
    EXPECT_FLOAT_EQ(f.measure(nullptr), 0.0f);
    EXPECT_FLOAT_EQ(f.measure(""), 0.0f);

    // Ink that only reaches alpha 128 does not start a glyph.
    std::vector<uint8_t> faint(256 * 256 * 4, 0);
    for (int y = 0; y < 16; ++y)
        faint[size_t(y * 256 + 3) * 4 + 3] = 128;
    f.measure_sheet(faint.data(), 256, 256);
    EXPECT_FLOAT_EQ(f.advance[0], glyph_empty_advance);
}

TEST(glyph_font, empty_and_null_texts_return_their_start_with_the_alignment_applied)
{
    glyph_font f;
    EXPECT_FLOAT_EQ(f.print(10, 5, 4, "", font_left), 10.0f);
    EXPECT_FLOAT_EQ(f.print(10, 5, 4, "", font_centre | font_middle), 10.0f);
    EXPECT_FLOAT_EQ(f.print(10, 5, 4, "", font_right), 10.0f);
    EXPECT_FLOAT_EQ(f.print(10, 5, 4, nullptr, font_centre), 10.0f);
}

struct font_test : render_fixture {
    test_store store;
};

TEST_F(font_test, print_lays_glyphs_out_by_their_advances_in_four_alignments)
{
    // 'I' is a bar 4 texels wide (advance 0.375 - 0.09375 = 0.28125 with the faint edge);
    // 0xC9 (a Latin-1 capital) is a full green cell.
    store.add_image("tex\\font\\test", 256, 256, sheet({{'I', 4}, {0xC9, 16}}));
    glyph_font f(store.texture("tex\\font\\test"));
    float bar = f.advance['I'];
    EXPECT_FLOAT_EQ(bar, 6.0f / 16.0f - 0.09375f);

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Size 8: a glyph 8 units tall, each 'I' advancing 8 x bar units.
    EXPECT_FLOAT_EQ(f.print(0, 4, 8, "II", font_left), 16 * bar);
    float end = f.print(64, 20, 8, "II", font_right);
    EXPECT_FLOAT_EQ(end, 64.0f);
    EXPECT_FLOAT_EQ(f.print(32, 40, 8, "II", font_centre | font_middle), 32 + 8 * bar);
    // The first bar of each line: its ink covers the left quarter of the glyph's cell.
    EXPECT_TRUE(near_colour(at(0.5f, 8), 255, 255, 255)) << at(0.5f, 8);
    EXPECT_TRUE(near_colour(at(8 * bar + 0.5f, 8), 255, 255, 255)) << at(8 * bar + 0.5f, 8);
    EXPECT_TRUE(near_colour(at(5.75f, 8), 0, 0, 0)) << at(5.75f, 8);
    EXPECT_TRUE(near_colour(at(64 - 16 * bar + 0.5f, 24), 255, 255, 255)) << at(64 - 16 * bar + 0.5f, 24);
    // Centred on x 32 and vertically on y 40: the glyphs span y 36 to 44.
    EXPECT_TRUE(near_colour(at(32 - 8 * bar + 0.5f, 37), 255, 255, 255)) << at(32 - 8 * bar + 0.5f, 37);
    EXPECT_TRUE(near_colour(at(32 - 8 * bar + 0.5f, 45), 0, 0, 0)) << at(32 - 8 * bar + 0.5f, 45);

    // A Latin-1 code draws from the lower half of the sheet, where it sits.
    f.print(10, 50, 8, "\xC9", font_left);
    EXPECT_TRUE(near_colour(at(14, 54), 255, 255, 255)) << at(14, 54);
}

TEST_F(font_test, the_fixed_cell_font_wraps_past_its_right_limit_and_a_missing_sheet_draws_nothing)
{
    store.add_image("tex\\font\\cells", 256, 256, sheet({{'x', 16}}));
    font f(store.texture("tex\\font\\cells"), 4.0f, 6.0f);
    EXPECT_FLOAT_EQ(f.cell_span, 0.0625f - 1.0f / 256.0f);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 0.5f, 0);
    // Cells of 4 x 6 from x 0: the third would start at 8, past the limit 6, and goes to
    // the next line at the wrap x 2; the fourth, at 6, is not past it.
    float end = f.print_wrapped(0, 0, -1, 2, 6, "xxxx");
    EXPECT_FLOAT_EQ(end, 10.0f);
    EXPECT_TRUE(near_colour(at(2, 3), 255, 128, 0)) << at(2, 3);
    EXPECT_TRUE(near_colour(at(6, 3), 255, 128, 0)) << at(6, 3);
    EXPECT_TRUE(near_colour(at(10, 3), 0, 0, 0)) << at(10, 3);
    EXPECT_TRUE(near_colour(at(1, 9), 0, 0, 0)) << at(1, 9);
    EXPECT_TRUE(near_colour(at(4, 9), 255, 128, 0)) << at(4, 9);
    EXPECT_TRUE(near_colour(at(8, 9), 255, 128, 0)) << at(8, 9);
    EXPECT_TRUE(near_colour(at(11, 9), 0, 0, 0)) << at(11, 9);

    font missing(nullptr, 4.0f, 6.0f);
    EXPECT_FLOAT_EQ(missing.cell_span, 0.0625f);
    missing.print(0, 30, -1, "xxxx");
    EXPECT_TRUE(near_colour(at(2, 33), 0, 0, 0)) << at(2, 33);

    // The rectangle spans its corners; without a texture it draws nothing.
    store.add_texture("tex\\white", 4, 4, 0xFFFFFFFF);
    draw_textured_rect(store.texture("tex\\white").get(), 0, 40, 40, 48, 48, -1);
    draw_textured_rect(nullptr, 0, 50, 40, 58, 48, -1);
    EXPECT_FALSE(near_colour(at(44, 44), 0, 0, 0)) << at(44, 44);
    EXPECT_TRUE(near_colour(at(54, 44), 0, 0, 0)) << at(54, 44);
}

}  // namespace
