// The capture PNG writer: a file that decodes back to the same pixels, with valid CRCs.
#include "app/window/png_write.h"
#include "tests/window/png_read.h"

#include <gtest/gtest.h>

namespace {

TEST(png_write, writes_pixels_that_read_back_unchanged)
{
    const int32_t w = 7, h = 5;
    std::vector<uint8_t> rgb(size_t(w * h * 3));
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = uint8_t(i * 37 + 11);
    ASSERT_TRUE(png_write_rgb("png_test.png", w, h, rgb.data()));
    test_image img;
    ASSERT_TRUE(png_read_rgb_file("png_test.png", img));
    EXPECT_EQ(img.width, w);
    EXPECT_EQ(img.height, h);
    EXPECT_EQ(img.rgb, rgb);
    std::remove("png_test.png");
}

TEST(png_write, chunk_crcs_match_the_reference_values)
{
    uint8_t px[3] = {255, 0, 0};
    std::vector<uint8_t> out;
    ASSERT_TRUE(png_encode_rgb(1, 1, px, out));
    // Signature, then IHDR for 1x1 RGB 8-bit; its CRC is the well-known 0x907753DE.
    ASSERT_GE(out.size(), 33u);
    EXPECT_EQ(out[0], 0x89);
    EXPECT_EQ(std::string(out.begin() + 12, out.begin() + 16), "IHDR");
    EXPECT_EQ(png_be32(&out[29]), 0x907753DEu);
    // IEND's CRC is fixed too.
    EXPECT_EQ(png_be32(&out[out.size() - 4]), 0xAE426082u);
}

TEST(png_write, rejects_empty_or_absurd_sizes)
{
    std::vector<uint8_t> out;
    uint8_t px[3] = {};
    EXPECT_FALSE(png_encode_rgb(0, 1, px, out));
    EXPECT_FALSE(png_encode_rgb(1, -1, px, out));
    EXPECT_FALSE(png_encode_rgb(1, 1, nullptr, out));
    EXPECT_FALSE(png_encode_rgb(100000, 100000, px, out));
    EXPECT_FALSE(png_write_rgb("/nonexistent-dir/x.png", 1, 1, px));
}

}  // namespace
