// Sample streams encoded once and committed: decoding them must give the same samples for
// ever, or every sound already stored in an archive would change. A change to the
// decoder, the adaptive Huffman models, the transform or the spectral curve that alters
// them fails here; a deliberate format change re-encodes the golden files and re-pins the
// hashes (printed).
#include "sound/codec/sample_chunk.h"
#include "tests/golden.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

namespace {

uint64_t decoded_hash(const char* file, uint32_t frames)
{
    std::vector<uint8_t> chunk = golden_chunk(std::string("sound/golden/") + file);
    w_sample_data sample;
    EXPECT_TRUE(w_read_sample_chunk(chunk.data(), uint32_t(chunk.size()), sample)) << file;
    EXPECT_EQ(sample.frames(), frames);
    std::vector<int16_t> pcm;
    bool short_stream = true;
    std::string error;
    EXPECT_TRUE(w_decode_sample(sample, pcm, short_stream, error)) << error;
    EXPECT_FALSE(short_stream);
    EXPECT_EQ(pcm.size(), size_t(frames) * 2);
    uint64_t h = golden_hash(pcm.data(), pcm.size() * sizeof(int16_t));
    std::printf("%s: 0x%016" PRIx64 "\n", file, h);
    return h;
}

// 0.3 s of stereo tones with a noise burst, at the smallest common block size and at a
// large one (which reaches further along the spectral curve).
TEST(sample_golden_stream, decoding_gives_the_pinned_samples)
{
    EXPECT_EQ(decoded_hash("tones_n256_q28.SAMP.pkc", 13230), 0x30d8b8dbd73ceea9ull);
    EXPECT_EQ(decoded_hash("tones_n1024_q30.SAMP.pkc", 13230), 0xd5c6c2bd8fad9136ull);
}

}  // namespace
