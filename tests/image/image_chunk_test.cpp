// "IMAG" chunk records: made by the tools, read back by the decoder, and refused
// when a record is missing or the data is short.
#include "data/pak_chunk.h"
#include "render/image/image_chunk.h"
#include "tests/image/image_pattern.h"

#include <gtest/gtest.h>

namespace {

TEST(image_chunk, records_round_trip_coded_and_raw)
{
    const int32_t w = 40, h = 30;
    std::vector<uint8_t> img = image_pattern::make(w, h, 21);
    std::string error;
    image_rgba out;

    std::vector<uint8_t> raw = image_chunk_content(w, h, img.data(), 50, true);
    ASSERT_TRUE(image_from_chunk(raw.data(), raw.size(), true, true, out, error)) << error;
    EXPECT_EQ(out.width, w);  // raw images are never halved
    EXPECT_EQ(out.pixels, img);

    std::vector<uint8_t> coded = image_chunk_content(w, h, img.data(), 90, false);
    EXPECT_LT(coded.size(), raw.size());
    pak_rawchunk walker(coded.data(), uint32_t(coded.size()));
    pak_record head;
    ASSERT_TRUE(walker.find(pak_code_head, head));
    EXPECT_EQ(head.size, 16u);
    image_head parsed = image_head_from_bytes(head.data, head.size);
    EXPECT_EQ(parsed.unused, 0u);
    EXPECT_EQ(parsed.flags, image_flag_coded);

    ASSERT_TRUE(image_from_chunk(coded.data(), coded.size(), false, false, out, error)) << error;
    EXPECT_GE(image_pattern::psnr(img, out.pixels, 0, 4), 28.0);
    ASSERT_TRUE(image_from_chunk(coded.data(), coded.size(), true, false, out, error)) << error;
    EXPECT_EQ(out.width, w / 2);
    EXPECT_EQ(out.height, h / 2);
}

TEST(image_chunk, missing_records_and_short_data_are_refused)
{
    std::vector<uint8_t> img = image_pattern::make(8, 8, 2);
    std::string error;
    image_rgba out;

    std::vector<uint8_t> head_only;
    uint8_t head[16];
    image_head_to_bytes(image_head{0, 8, 8, 0}, head);
    pak_editchunk::node(pak_code_imag, "", {pak_editchunk::leaf(pak_code_head, "HEAD", {head, head + 16})})
        .serialise_content(head_only);
    EXPECT_FALSE(image_from_chunk(head_only.data(), head_only.size(), false, false, out, error));
    EXPECT_EQ(error, "no DATA record");

    std::vector<uint8_t> short_raw;
    pak_editchunk::node(pak_code_imag, "",
                        {pak_editchunk::leaf(pak_code_head, "HEAD", {head, head + 16}),
                         pak_editchunk::leaf(pak_code_data, "DATA", {img.begin(), img.end() - 4})})
        .serialise_content(short_raw);
    EXPECT_FALSE(image_from_chunk(short_raw.data(), short_raw.size(), false, false, out, error));
    EXPECT_TRUE(out.pixels.empty());

    EXPECT_FALSE(image_from_chunk(nullptr, 0, false, false, out, error));
    EXPECT_EQ(error, "no HEAD record");
}

}  // namespace
