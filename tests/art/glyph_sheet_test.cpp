// The glyph sheets as the game reads them: advances from the alpha scan that
// glyph_font runs over "tex\font\64x64_Black", and the fixed cells of "tex\font\8x8_1".
#include "tests/art/art_test_util.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// The game's advance table: per cell, a column with alpha above 128 starts the
// glyph, the first later column with no alpha above 64 ends it; the advance is
// (end - cell start) * 16 / width - 0.09375, an empty cell 0.90625, space 0.2.
std::array<float, 256> advances(const image_rgba& sheet)
{
    std::array<float, 256> out{};
    int cw = sheet.width / 16, ch = sheet.height / 16;
    auto alpha = [&](int x, int y) { return sheet.pixels[(size_t(y) * sheet.width + x) * 4 + 3]; };
    for (int code = 0; code < 256; ++code) {
        int x0 = (code & 15) * cw, y0 = (code >> 4) * ch;
        int end = -1;
        bool started = false;
        for (int x = x0; x < x0 + cw && end < 0; ++x) {
            int top = 0;
            for (int y = y0; y < y0 + ch; ++y)
                top = std::max(top, int(alpha(x, y)));
            if (!started)
                started = top > 128;
            else if (top <= 64)
                end = x;
        }
        if (started && end < 0)
            end = x0 + cw;
        out[code] =
            started ? (end - x0) * 16.0f / sheet.width - 0.09375f : cw * 16.0f / sheet.width - 0.09375f;
    }
    out[32] = 0.2f;
    return out;
}

TEST(glyph_sheet, big_font_advances_suit_every_printable_code)
{
    image_rgba sheet;
    std::string error;
    ASSERT_TRUE(art_decode("tex\\font\\64x64_Black", false, sheet, error)) << error;
    ASSERT_EQ(sheet.width, 1024);
    ASSERT_EQ(sheet.height, 1024);
    std::array<float, 256> adv = advances(sheet);
    auto printable = [](int c) {
        return c == 30 || c == 31 || (c >= 33 && c <= 126) || (c >= 161 && c <= 255);
    };
    for (int c = 0; c < 256; ++c) {
        if (printable(c)) {
            EXPECT_GE(adv[c], 0.15f) << "code " << c;
            EXPECT_LE(adv[c], 1.0f) << "code " << c;
        }
    }
    for (int c = '1'; c <= '9'; ++c)
        EXPECT_EQ(adv[c], adv['0']) << "digit " << char(c);
    // Proportional: an 'i' is narrower than an 'm'; capitals wider than their lower case.
    EXPECT_LT(adv['i'] * 2, adv['m']);
    EXPECT_GT(adv['W'], adv['w']);
}

TEST(glyph_sheet, big_font_cells_keep_their_borders_clear)
{
    // Filtering at a cell's edge samples its neighbour: the outer texels stay empty.
    image_rgba sheet;
    std::string error;
    ASSERT_TRUE(art_decode("tex\\font\\64x64_Black", false, sheet, error)) << error;
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x) {
            bool border = x % 64 == 0 || x % 64 == 63 || y % 64 == 0 || y % 64 == 63;
            if (border) {
                ASSERT_EQ(sheet.pixels[(size_t(y) * sheet.width + x) * 4 + 3], 0) << x << "," << y;
            }
        }
}

TEST(glyph_sheet, fixed_font_draws_within_the_cell_span)
{
    // The editor font shows each cell less its last texel row and column.
    image_rgba sheet;
    std::string error;
    ASSERT_TRUE(art_decode("tex\\font\\8x8_1", false, sheet, error)) << error;
    ASSERT_EQ(sheet.width, 128);
    for (int code = 0; code < 256; ++code) {
        int x0 = (code & 15) * 8, y0 = (code >> 4) * 8, inked = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                uint8_t a = sheet.pixels[(size_t(y0 + y) * 128 + x0 + x) * 4 + 3];
                if (x == 7 || y == 7) {
                    EXPECT_EQ(a, 0) << "code " << code;
                }
                inked += a == 255 && sheet.pixels[(size_t(y0 + y) * 128 + x0 + x) * 4] == 255;
            }
        bool printable = (code >= 33 && code <= 126) || (code >= 161 && code <= 255 && code != 173);
        if (printable) {
            EXPECT_GT(inked, 0) << "code " << code;
        }
    }
}

}  // namespace
