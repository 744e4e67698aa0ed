// Encoder and decoder together: quality on the shared test signal and on tones at
// several block sizes, determinism, parameter checks, and "SAMP" chunks.
#include "sound/codec/sample_chunk.h"
#include "sound/codec/sample_decoder.h"
#include "sound/codec/sample_encoder.h"
#include "tests/sound/test_signal.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<int16_t> decode_all(const w_encoded_sample& e)
{
    w_sample_data sample;
    std::vector<uint8_t> chunk = w_sample_chunk_bytes(e.frames, e.stream);
    EXPECT_TRUE(w_read_sample_chunk(chunk.data(), uint32_t(chunk.size()), sample));
    std::vector<int16_t> pcm;
    bool short_stream = true;
    std::string error;
    EXPECT_TRUE(w_decode_sample(sample, pcm, short_stream, error)) << error;
    EXPECT_FALSE(short_stream);
    return pcm;
}

std::vector<int16_t> tone(uint32_t frames, double freq, double level, double side)
{
    std::vector<int16_t> pcm(2 * size_t(frames));
    for (uint32_t f = 0; f < frames; ++f) {
        double v = level * std::sin(2 * M_PI * freq * f / 44100.0);
        pcm[2 * f] = int16_t(std::lround(32767 * v * (1 + side)));
        pcm[2 * f + 1] = int16_t(std::lround(32767 * v * (1 - side)));
    }
    return pcm;
}

}  // namespace

TEST(sample_codec, test_signal_round_trip_meets_the_quality_bound)
{
    std::vector<int16_t> pcm = make_test_signal(4.0);
    uint32_t frames = uint32_t(pcm.size() / 2);
    w_encoded_sample e;
    ASSERT_TRUE(w_encode_sample(pcm.data(), frames, w_encode_params{}, e));
    EXPECT_EQ(e.frames, frames);
    EXPECT_EQ(e.clamps, 0);
    std::vector<int16_t> out = decode_all(e);
    ASSERT_EQ(out.size(), pcm.size());
    EXPECT_GT(signal_to_noise(pcm.data(), out.data(), frames), 15.0);
    // A modest rate: well under a fifth of the 1411 kbit/s of the source.
    double kbits = e.stream.size() * 8.0 / 4.0 / 1000.0;
    EXPECT_LT(kbits, 250.0);
}

TEST(sample_codec, tones_survive_every_block_size)
{
    for (int n : {16, 64, 256, 512, 1024, 2048}) {
        std::vector<int16_t> pcm = tone(20000, 1000.0, 0.5, 0.3);
        w_encoded_sample e;
        w_encode_params p;
        p.block_size = n;
        p.step = 32;
        ASSERT_TRUE(w_encode_sample(pcm.data(), 20000, p, e));
        std::vector<int16_t> out = decode_all(e);
        EXPECT_GT(signal_to_noise(pcm.data(), out.data(), 20000), 18.0) << "block " << n;
    }
}

TEST(sample_codec, identical_channels_decode_to_identical_channels)
{
    std::vector<int16_t> pcm = make_test_signal(1.0);
    for (size_t f = 0; f < pcm.size(); f += 2)
        pcm[f + 1] = pcm[f];
    w_encoded_sample e;
    ASSERT_TRUE(w_encode_sample(pcm.data(), uint32_t(pcm.size() / 2), w_encode_params{}, e));
    std::vector<int16_t> out = decode_all(e);
    for (size_t f = 0; f < out.size(); f += 2)
        ASSERT_EQ(out[f], out[f + 1]) << f;
}

TEST(sample_codec, silence_and_empty_input)
{
    std::vector<int16_t> quiet(2 * 3000, 0);
    w_encoded_sample e;
    ASSERT_TRUE(w_encode_sample(quiet.data(), 3000, w_encode_params{}, e));
    for (int16_t v : decode_all(e))
        ASSERT_EQ(v, 0);
    ASSERT_TRUE(w_encode_sample(nullptr, 0, w_encode_params{}, e));
    EXPECT_TRUE(decode_all(e).empty());
}

TEST(sample_codec, encoding_is_deterministic)
{
    std::vector<int16_t> pcm = make_test_signal(1.0);
    w_encoded_sample a, b;
    ASSERT_TRUE(w_encode_sample(pcm.data(), uint32_t(pcm.size() / 2), w_encode_params{}, a));
    ASSERT_TRUE(w_encode_sample(pcm.data(), uint32_t(pcm.size() / 2), w_encode_params{}, b));
    EXPECT_EQ(a.stream, b.stream);
}

TEST(sample_codec, refuses_bad_parameters)
{
    int16_t pcm[4] = {};
    w_encoded_sample e;
    for (auto [n, q] : {std::pair{1000, 28}, {8, 28}, {8192, 28}, {512, 0}, {512, 256}}) {
        w_encode_params p;
        p.block_size = n;
        p.step = q;
        EXPECT_FALSE(w_encode_sample(pcm, 2, p, e)) << n << " " << q;
    }
}

TEST(sample_chunk, records_round_trip_and_missing_records_leave_no_data)
{
    std::vector<uint8_t> stream = {1, 2, 3, 4, 5, 6};
    std::vector<uint8_t> chunk = w_sample_chunk_bytes(12345, stream);
    w_sample_data s;
    ASSERT_TRUE(w_read_sample_chunk(chunk.data(), uint32_t(chunk.size()), s));
    EXPECT_EQ(s.frames(), 12345u);
    EXPECT_EQ(s.head[0], 0u);
    EXPECT_EQ(s.data.length, 48);
    EXPECT_EQ(s.data.bytes(), stream);

    // Only the "HEAD" record: no data.
    std::vector<uint8_t> head_only(chunk.begin(), chunk.begin() + 16 + 12);
    EXPECT_FALSE(w_read_sample_chunk(head_only.data(), uint32_t(head_only.size()), s));
    EXPECT_EQ(s.data.length, 0);
    std::vector<int16_t> pcm;
    bool short_stream = false;
    std::string error;
    EXPECT_FALSE(w_decode_sample(s, pcm, short_stream, error));
    EXPECT_FALSE(error.empty());
}

TEST(sample_chunk, head_claiming_more_frames_than_the_data_holds_is_cut_short)
{
    std::vector<int16_t> pcm = tone(2000, 300.0, 0.3, 0.0);
    w_encoded_sample e;
    ASSERT_TRUE(w_encode_sample(pcm.data(), 2000, w_encode_params{}, e));
    std::vector<uint8_t> chunk = w_sample_chunk_bytes(0xFFFFFFF0u, e.stream);
    w_sample_data s;
    ASSERT_TRUE(w_read_sample_chunk(chunk.data(), uint32_t(chunk.size()), s));
    std::vector<int16_t> out;
    bool short_stream = false;
    std::string error;
    ASSERT_TRUE(w_decode_sample(s, out, short_stream, error));
    EXPECT_TRUE(short_stream);
    EXPECT_LT(out.size(), size_t(1) << 24);
    EXPECT_GE(out.size(), pcm.size());
}
