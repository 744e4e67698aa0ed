// The image file module: pixels that read back unchanged in RGB and RGBA, standard chunks,
// conversions on reading, and damaged, truncated or oversized files refused cleanly.
#include "app/image_file/png_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

uint32_t png_be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

std::vector<uint8_t> pattern(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(i * 37 + 11);
    return v;
}

TEST(png_write, writes_pixels_that_read_back_unchanged)
{
    const int32_t w = 7, h = 5;
    std::string error;
    for (int32_t channels : {3, 4}) {
        std::vector<uint8_t> pixels = pattern(size_t(w * h * channels));
        if (channels == 4)
            pixels[3] = 0;  // a transparent pixel keeps its colour
        ASSERT_TRUE(png_file_write("png_test.png", w, h, channels, pixels.data(), error)) << error;
        png_pixels img;
        ASSERT_TRUE(png_file_read("png_test.png", channels, img, error)) << error;
        EXPECT_EQ(img.width, w);
        EXPECT_EQ(img.height, h);
        EXPECT_EQ(img.channels, channels);
        EXPECT_EQ(img.data, pixels) << channels << " channels";
        EXPECT_EQ(img.at(1, 2), img.data.data() + (2 * w + 1) * channels);
    }
    std::remove("png_test.png");
}

TEST(png_write, chunk_crcs_match_the_reference_values)
{
    uint8_t px[3] = {255, 0, 0};
    std::vector<uint8_t> out;
    std::string error;
    ASSERT_TRUE(png_file_encode(1, 1, 3, px, out, error)) << error;
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
    std::string error;
    uint8_t px[4] = {};
    EXPECT_FALSE(png_file_encode(0, 1, 3, px, out, error));
    EXPECT_FALSE(png_file_encode(1, -1, 3, px, out, error));
    EXPECT_FALSE(png_file_encode(1, 1, 3, nullptr, out, error));
    EXPECT_FALSE(png_file_encode(png_max_dimension + 1, 1, 3, px, out, error));
    EXPECT_FALSE(png_file_encode(1, 1, 2, px, out, error));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(png_file_write("/nonexistent-dir/x.png", 1, 1, 3, px, error));
    EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos) << error;
}

TEST(png_file, reading_converts_to_the_channels_asked_for)
{
    // RGBA read as RGB: opaque pixels keep their colour, transparent ones are black.
    const uint8_t rgba[8] = {200, 100, 50, 255, 90, 80, 70, 0};
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(png_file_encode(2, 1, 4, rgba, file, error)) << error;
    png_pixels rgb;
    ASSERT_TRUE(png_file_decode(file.data(), file.size(), 3, rgb, error)) << error;
    EXPECT_EQ(rgb.data, (std::vector<uint8_t>{200, 100, 50, 0, 0, 0}));
    // RGB read as RGBA is opaque.
    ASSERT_TRUE(png_file_encode(1, 2, 3, rgba, file, error)) << error;
    png_pixels opaque;
    ASSERT_TRUE(png_file_decode(file.data(), file.size(), 4, opaque, error)) << error;
    EXPECT_EQ(opaque.data, (std::vector<uint8_t>{200, 100, 50, 255, 255, 90, 80, 255}));
    EXPECT_FALSE(png_file_decode(file.data(), file.size(), 1, opaque, error));
}

// A chunk with its length and CRC.
void put_chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(uint8_t(data.size() >> s));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uint32_t crc = uint32_t(crc32(0, out.data() + start, uInt(out.size() - start)));
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(uint8_t(crc >> s));
}

TEST(png_file, damaged_truncated_and_oversized_files_are_refused)
{
    const int32_t w = 9, h = 6;
    std::vector<uint8_t> pixels = pattern(size_t(w * h * 4)), file;
    std::string error;
    ASSERT_TRUE(png_file_encode(w, h, 4, pixels.data(), file, error)) << error;
    png_pixels img;
    // Every cut before the image data ends fails, with a reason and nothing kept.
    for (size_t n = 0; n + 12 < file.size(); ++n) {
        error.clear();
        EXPECT_FALSE(png_file_decode(file.data(), n, 4, img, error)) << n;
        EXPECT_FALSE(error.empty()) << n;
        EXPECT_TRUE(img.data.empty()) << n;
    }
    // A damaged byte of the compressed data fails its CRC.
    std::vector<uint8_t> damaged = file;
    damaged[damaged.size() - 20] ^= 0x55;
    EXPECT_FALSE(png_file_decode(damaged.data(), damaged.size(), 4, img, error));
    EXPECT_FALSE(png_file_decode(nullptr, 0, 4, img, error));

    // A head claiming more than the limit is refused before any pixel is allocated.
    std::vector<uint8_t> huge = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    uint32_t wide = uint32_t(png_max_dimension) + 1;
    put_chunk(huge, "IHDR",
              {uint8_t(wide >> 24), uint8_t(wide >> 16), uint8_t(wide >> 8), uint8_t(wide), 0, 0, 0, 1, 8, 2,
               0, 0, 0});
    put_chunk(huge, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    put_chunk(huge, "IEND", {});
    EXPECT_FALSE(png_file_decode(huge.data(), huge.size(), 3, img, error));
    EXPECT_NE(error.find("unusable size"), std::string::npos) << error;
    EXPECT_FALSE(png_file_read("/nonexistent-dir/x.png", 3, img, error));
}

}  // namespace
