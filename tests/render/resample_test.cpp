// The Gaussian resampler at every size (smaller and larger than the source), and the four
// level pictures made from a capture and written as PNG files.
#include "render/level_pictures.h"
#include "render/render_target.h"
#include "render/resample.h"
#include "tests/render/render_test_util.h"
#include "tests/window/png_read.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::vector<uint8_t> image(int32_t w, int32_t h, uint32_t (*colour)(int32_t x, int32_t y))
{
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 4);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint32_t c = colour(x, y);
            for (int k = 0; k < 4; ++k)
                out[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(k)] = uint8_t(c >> (24 - 8 * k));
        }
    return out;
}

TEST(resample, enlarging_stays_inside_both_images_and_keeps_a_flat_colour_exact)
{
    // Wider and taller than the source: the horizontal pass used to write its rows back
    // into the source's, past their end. Guard bytes around the images catch any stray
    // write; the source must come out unchanged.
    std::vector<uint8_t> src = image(3, 2, [](int32_t, int32_t) { return 0xFF8000C0u; });
    std::vector<uint8_t> guarded_src(src.size() + 64, 0xAB);
    std::copy(src.begin(), src.end(), guarded_src.begin() + 32);
    std::vector<uint8_t> dst(40 * 30 * 4 + 64, 0xCD);
    resample_gaussian(1.5f, guarded_src.data() + 32, 3, 2, dst.data() + 32, 40, 30, true);
    for (int i = 0; i < 32; ++i) {
        ASSERT_EQ(dst[size_t(i)], 0xCD);
        ASSERT_EQ(dst[dst.size() - 1 - size_t(i)], 0xCD);
        ASSERT_EQ(guarded_src[size_t(i)], 0xAB);
    }
    EXPECT_TRUE(std::equal(src.begin(), src.end(), guarded_src.begin() + 32));
    for (size_t i = 32; i < dst.size() - 32; i += 4) {
        ASSERT_EQ(dst[i], 255);
        ASSERT_EQ(dst[i + 1], 128);
        ASSERT_EQ(dst[i + 2], 0);
        ASSERT_EQ(dst[i + 3], 192);
    }
    // Without keep_alpha the result is opaque.
    resample_gaussian(1.5f, src.data(), 3, 2, dst.data(), 5, 5, false);
    EXPECT_EQ(dst[3], 255);
}

TEST(resample, shrinking_blurs_and_a_sigma_of_zero_or_a_huge_one_stays_in_range)
{
    // A 16-texel checkerboard to 4 x 4 with sigma 2: every texel near mid grey.
    std::vector<uint8_t> src =
        image(16, 16, [](int32_t x, int32_t y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0x000000FFu; });
    std::vector<uint8_t> dst(4 * 4 * 4);
    resample_gaussian(2.0f, src.data(), 16, 16, dst.data(), 4, 4, true);
    for (size_t i = 0; i < dst.size(); i += 4)
        EXPECT_NEAR(dst[i], 127, 20) << i;
    // Sigma 0 takes the nearest texel: texel i of the result is source texel 4 i.
    resample_gaussian(0.0f, src.data(), 16, 16, dst.data(), 4, 4, true);
    EXPECT_EQ(dst[0], 0);
    std::vector<uint8_t> stripes =
        image(8, 1, [](int32_t x, int32_t) { return x == 4 ? 0xFFFFFFFFu : 0x000000FFu; });
    std::vector<uint8_t> two(2 * 1 * 4);
    resample_gaussian(0.0f, stripes.data(), 8, 1, two.data(), 2, 1, true);
    EXPECT_EQ(two[0], 0);
    EXPECT_EQ(two[4], 255);
    // Tiny and enormous sigmas and non-numbers give averages, never garbage.
    for (float sigma : {1e-6f, 1e30f, std::numeric_limits<float>::infinity(), std::nanf("")}) {
        resample_gaussian(sigma, src.data(), 16, 16, dst.data(), 4, 4, true);
        for (uint8_t v : dst)
            EXPECT_TRUE(v == 0 || v == 255 || (v > 100 && v < 156)) << sigma;
    }
}

TEST(level_images, four_opaque_pictures_of_128_64_32_and_16_pixels_in_png_files)
{
    // A 256-pixel capture, left half red and right half blue (BGRA, bottom row first), with
    // some transparency that the pictures must not keep, and a green bottom row that must
    // end up at the bottom of the files.
    std::vector<uint8_t> capture(256 * 256 * 4);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            uint8_t* p = &capture[size_t(y * 256 + x) * 4];
            p[0] = x < 128 ? 0 : 255;
            p[1] = y < 8 ? 255 : 0;
            p[2] = x < 128 ? 255 : 0;
            p[3] = 10;
        }
    std::array<level_image, 4> images = make_level_images(capture.data(), 256);
    const std::string base = "level_images_" + std::to_string(getpid()) + "_";
    std::string error;
    ASSERT_TRUE(write_level_pictures(base, images, error)) << error;
    const int sizes[4] = {16, 32, 64, 128};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(images[size_t(i)].size, sizes[i]);
        EXPECT_EQ(images[size_t(i)].bgra[3], 255);
        test_image png;
        std::string path = base + std::to_string(i) + ".png";
        ASSERT_TRUE(png_read_rgb_file(path, png)) << path;
        EXPECT_EQ(png.width, sizes[i]);
        EXPECT_EQ(png.height, sizes[i]);
        // The file holds the picture's colours, top row first.
        const uint8_t* bottom_left = png.at(1, sizes[i] - 1);
        const uint8_t* from = &images[size_t(i)].bgra[4];
        EXPECT_EQ(bottom_left[0], from[2]);
        EXPECT_EQ(bottom_left[1], from[1]);
        EXPECT_EQ(bottom_left[2], from[0]);
        const uint8_t* left = png.at(1, sizes[i] / 2);
        const uint8_t* right = png.at(sizes[i] - 2, sizes[i] / 2);
        EXPECT_GT(left[0], 200) << path;
        EXPECT_LT(left[2], 60) << path;
        EXPECT_GT(right[2], 200) << path;
        EXPECT_GT(png.at(sizes[i] / 2, sizes[i] - 1)[1], png.at(sizes[i] / 2, 0)[1]) << path;
        std::remove(path.c_str());
    }
    // The smaller pictures are the blurrier: the edge between the halves spreads wider.
    auto edge_width = [](const level_image& img) {
        int mixed = 0;
        for (int x = 0; x < img.size; ++x) {
            const uint8_t* p = &img.bgra[size_t(img.size / 2 * img.size + x) * 4];
            mixed += p[0] > 40 && p[2] > 40;
        }
        return double(mixed) / img.size;
    };
    EXPECT_LT(edge_width(images[3]), edge_width(images[0]));

    // A folder that cannot be made (a file stands in its way), and no pictures at all.
    const std::string blocker = base + "blocker";
    std::fclose(std::fopen(blocker.c_str(), "w"));
    EXPECT_FALSE(write_level_pictures(blocker + "/x", images, error));
    EXPECT_NE(error.find("x0.png"), std::string::npos) << error;
    std::remove(blocker.c_str());
    EXPECT_FALSE(write_level_pictures(base, std::array<level_image, 4>{}, error));
}

}  // namespace
