// Image streams encoded once and committed: decoding them must give the same bytes for
// ever, or every texture already stored in an archive would change. A change to the
// decoders, the Huffman trees, the tables or the transform that alters them fails here;
// a deliberate format change re-encodes the golden files and re-pins the hashes (printed).
#include "render/image/image_chunk.h"
#include "tests/golden.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

namespace {

uint64_t decoded_hash(const std::vector<uint8_t>& chunk, bool half, bool fast, int32_t width, int32_t height)
{
    image_rgba out;
    std::string error;
    EXPECT_TRUE(image_from_chunk(chunk.data(), chunk.size(), half, fast, out, error)) << error;
    EXPECT_EQ(out.width, width);
    EXPECT_EQ(out.height, height);
    uint64_t h = golden_hash(out.pixels.data(), out.pixels.size());
    std::printf("%s %s: 0x%016" PRIx64 "\n", half ? "half" : "full", fast ? "fast" : "plain", h);
    return h;
}

// 37 x 21 at quality 75: gradients, a translucent disc, stripes, noisy alpha, clipped
// macroblocks at the right and bottom edges.
TEST(image_golden_stream, every_decoder_gives_its_pinned_bytes)
{
    std::vector<uint8_t> chunk = golden_chunk("image/golden/pattern_37x21_q75.IMAG.pkc");
    ASSERT_FALSE(chunk.empty());
    EXPECT_EQ(decoded_hash(chunk, false, false, 37, 21), 0xd357c5aff182f6e1ull);
    EXPECT_EQ(decoded_hash(chunk, false, true, 37, 21), 0xd357c5aff182f6e1ull);
    EXPECT_EQ(decoded_hash(chunk, true, false, 18, 10), 0x568e7db802bc8a34ull);
    EXPECT_EQ(decoded_hash(chunk, true, true, 18, 10), 0x568e7db802bc8a34ull);
}

}  // namespace
