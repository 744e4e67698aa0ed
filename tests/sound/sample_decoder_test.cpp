// The decoder on hand-built streams: header checks, block structure, value coding,
// the model boundary, runs past the end, mid/side, and streams that end early or
// carry damaged values.
#include "sound/codec/sample_decoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Writes a stream symbol by symbol with the same models the decoder keeps.
struct stream_builder {
    bit_iovector bits;
    w_huffman_model models[2][2];
    int n;

    stream_builder(int block_size, int step) : n(block_size)
    {
        bits.write(uint32_t(block_size), 16);
        bits.write(uint32_t(step), 8);
    }
    void gain(int b) { bits.write(uint32_t(b), 8); }
    void symbol(int channel, int at, int s) { models[channel][at < n / 16 ? 0 : 1].encode(s, bits); }
    void silent_block(int channel)
    {
        gain(0);
        symbol(channel, 0, 0);
    }
    // Whole silent blocks of both channels (the first of them primes the decoder).
    void silent_blocks(int count)
    {
        for (int b = 0; b < count; ++b) {
            silent_block(0);
            silent_block(1);
        }
    }
    bit_passive_istream reader() const { return bit_passive_istream(bits.words.data(), bits.words.size()); }
};

std::unique_ptr<w_sample_decoder> open(bit_passive_istream& r)
{
    return w_sample_decoder::create(&r);
}

}  // namespace

TEST(sample_decoder, refuses_headers_with_bad_block_sizes)
{
    for (int n : {0, 8, 1000, 8192, 65535}) {
        stream_builder s(n, 30);
        s.silent_blocks(1);
        bit_passive_istream r = s.reader();
        EXPECT_EQ(open(r), nullptr) << n;
    }
    EXPECT_EQ(w_sample_decoder::create(nullptr), nullptr);
    // An empty stream has no header.
    bit_passive_istream empty(nullptr, 0);
    EXPECT_EQ(open(empty), nullptr);
    for (int n : {16, 4096}) {
        stream_builder s(n, 30);
        s.silent_blocks(1);
        bit_passive_istream r = s.reader();
        EXPECT_NE(open(r), nullptr) << n;
    }
}

TEST(sample_decoder, end_symbol_first_gives_an_all_zero_block)
{
    stream_builder s(64, 30);
    s.silent_blocks(3);
    bit_passive_istream r = s.reader();
    auto d = open(r);
    ASSERT_NE(d, nullptr);
    std::vector<int16_t> out(2 * 128, 7);
    EXPECT_EQ(d->decode(out.data(), 128), 128);
    for (int16_t v : out)
        EXPECT_EQ(v, 0);
    EXPECT_FALSE(d->exhausted());
    for (float v : d->coefficients)
        EXPECT_EQ(v, 0.0f);
}

TEST(sample_decoder, value_coding_and_the_model_boundary)
{
    const int n = 64, q = 30;  // model 0 serves coefficients 0..3
    stream_builder s(n, q);
    s.silent_blocks(1);
    s.gain(40);
    // Run 3 then class 3 with extra bits 0b101: |v| = 2 + 4 = 6, positive, at
    // index 3, the last coefficient of model 0.
    s.symbol(0, 0, 3 * 32 + 3);
    s.bits.write(5, 3);
    // The next symbol starts at index 4 and belongs to model 1, which is fresh: its
    // escape has no path bits. Run 0, class 2, extra 0b10: |v| = 1 + 2 = 3, negative.
    s.symbol(0, 4, 2 * 32 + 0);
    s.bits.write(2, 2);
    // Run 2, class 0: zeros at 5 and 6, then the smallest amplitude (positive) at 7.
    s.symbol(0, 5, 2);
    s.symbol(0, 8, 0);
    s.silent_block(1);
    bit_passive_istream r = s.reader();
    auto d = open(r);
    ASSERT_NE(d, nullptr);
    d->decode_block(0);
    EXPECT_FALSE(d->exhausted());
    const std::vector<float>& x = d->coefficients;
    const w_codec_tables& t = d->tables;
    float g = 40.0f / 8.0f - 70.0f;
    for (int i : {0, 1, 2, 5, 6})
        EXPECT_EQ(x[size_t(i)], 0.0f) << i;
    EXPECT_FLOAT_EQ(x[3], std::exp(t.log_step * (6 + g) + t.offset[3]));
    EXPECT_FLOAT_EQ(x[4], -std::exp(t.log_step * (3 + g) + t.offset[4]));
    EXPECT_FLOAT_EQ(x[7], std::exp(t.log_step * (0 + g) + t.offset[7]));
    for (int i = 8; i < n; ++i)
        EXPECT_EQ(x[size_t(i)], 0.0f) << i;
    // Both models of channel 0 learned exactly their own symbols.
    EXPECT_TRUE(d->channels[0].models[0].known(3 * 32 + 3));
    EXPECT_FALSE(d->channels[0].models[0].known(2 * 32));
    EXPECT_TRUE(d->channels[0].models[1].known(2 * 32));
    d->decode_block(1);
    EXPECT_FALSE(d->exhausted());
}

TEST(sample_decoder, run_past_the_end_fills_the_block_without_reading_extra_bits)
{
    const int n = 32;
    stream_builder s(n, 30);
    s.silent_blocks(1);
    s.gain(0);
    // Run 30 from index 0 reaches index 30; then class 1 (one extra bit), positive.
    s.symbol(0, 0, 1 * 32 + 30);
    s.bits.write(1, 1);
    // From index 31 a run of 31 passes the end: no class bits may be read, and the
    // block ends without an end symbol.
    s.symbol(0, 31, 7 * 32 + 31);
    // The side block that follows must be read from the very next bit.
    s.gain(0);
    s.symbol(1, 0, 1 * 32 + 5);
    s.bits.write(0, 1);
    s.symbol(1, 6, 0);
    bit_passive_istream r = s.reader();
    auto d = open(r);
    ASSERT_NE(d, nullptr);
    d->decode_block(0);
    EXPECT_NE(d->coefficients[30], 0.0f);
    EXPECT_EQ(d->coefficients[31], 0.0f);
    d->decode_block(1);
    EXPECT_LT(d->coefficients[5], 0.0f);
    EXPECT_FALSE(d->exhausted());
    EXPECT_EQ(d->reader->word, s.bits.words.data() + s.bits.size() / 32);
    EXPECT_EQ(d->reader->index, s.bits.size() % 32);
}

TEST(sample_decoder, silent_side_channel_gives_identical_left_and_right)
{
    const int n = 64;
    stream_builder s(n, 40);
    for (int b = 0; b < 5; ++b) {
        s.gain(60);
        for (int i = 1; i < 20; i += 3) {
            s.symbol(0, i == 1 ? 0 : i - 2, 6 * 32 + (i == 1 ? 1 : 2));
            s.bits.write(uint32_t(b * 7 + i) & 63, 6);
        }
        s.symbol(0, 20, 0);
        s.silent_block(1);
    }
    bit_passive_istream r = s.reader();
    auto d = open(r);
    ASSERT_NE(d, nullptr);
    std::vector<int16_t> out(2 * 4 * n);
    d->decode(out.data(), 4 * n);
    bool loud = false;
    for (int f = 0; f < 4 * n; ++f) {
        ASSERT_EQ(out[2 * size_t(f)], out[2 * size_t(f) + 1]) << f;
        loud = loud || out[2 * size_t(f)] != 0;
    }
    EXPECT_TRUE(loud);
}

TEST(sample_decoder, stream_that_ends_early_turns_to_silence_without_reading_past_it)
{
    const int n = 64;
    stream_builder s(n, 40);
    size_t primed = 0, next = 0;
    for (int b = 0; b < 8; ++b) {
        for (int c = 0; c < 2; ++c) {
            s.gain(70);
            for (int i = 0; i < 40; ++i) {
                s.symbol(c, i, 7 * 32 + 0);
                s.bits.write(uint32_t(i * 13 + b) & 127, 7);
            }
            s.symbol(c, 40, 0);
            if (b == 0 && c == 1)
                primed = size_t(s.bits.size());
            if (b == 1 && c == 0)
                next = size_t(s.bits.size());
        }
    }
    // Keep the header, the priming blocks and half of the next block: the reader's
    // bound is the words it is given.
    size_t words = (primed + next) / 2 / 32;
    ASSERT_GT(words * 32, primed);
    std::vector<uint32_t> cut(s.bits.words.begin(), s.bits.words.begin() + long(words));
    bit_passive_istream r(cut.data(), cut.size());
    auto d = open(r);
    ASSERT_NE(d, nullptr);
    std::vector<int16_t> out(2 * 6 * n);
    EXPECT_EQ(d->decode(out.data(), 6 * n), 6 * n);
    EXPECT_TRUE(d->exhausted());
    EXPECT_EQ(r.word, cut.data() + cut.size());
    // The first frames are the priming block's tail; the block that ran dry and all
    // after it are silent.
    bool tail = false;
    for (size_t i = 0; i < 2 * size_t(n); ++i)
        tail = tail || out[i] != 0;
    EXPECT_TRUE(tail);
    for (size_t i = 2 * size_t(n); i < out.size(); ++i)
        ASSERT_EQ(out[i], 0) << i;
}

TEST(sample_decoder, damaged_classes_and_gains_stay_finite_and_clip)
{
    const int n = 64;
    stream_builder s(n, 255);
    for (int b = 0; b < 4; ++b) {
        for (int c = 0; c < 2; ++c) {
            s.gain(255);
            for (int i = 0; i < 10; ++i) {
                // Class 31 with 31 extra bits: far beyond any level an encoder writes.
                s.symbol(c, i, 31 * 32);
                s.bits.write(0x7FFFFFFFu - uint32_t(i + c), 31);
            }
            s.symbol(c, 10, 0);
        }
    }
    bit_passive_istream r = s.reader();
    auto d = open(r);
    ASSERT_NE(d, nullptr);
    std::vector<int16_t> out(2 * 3 * n);
    d->decode(out.data(), 3 * n);
    for (float v : d->channels[0].out)
        EXPECT_TRUE(std::isfinite(v));
    int extremes = 0;
    for (int16_t v : out)
        extremes += v == 32767 || v == -32768;
    EXPECT_GT(extremes, 0);
}

TEST(sample_decoder, output_conversion_saturates_instead_of_wrapping)
{
    stream_builder s(16, 30);
    s.silent_blocks(2);
    bit_passive_istream r = s.reader();
    auto d = open(r);
    ASSERT_NE(d, nullptr);
    // Place values in the current output blocks directly: frames 0..3 are a huge
    // mid with a huge opposite side, an infinity, a NaN, and an ordinary value.
    d->position = 0;
    float huge = 1e12f;
    d->channels[0].out[0] = huge;
    d->channels[1].out[0] = -huge;
    d->channels[0].out[1] = INFINITY;
    d->channels[1].out[1] = 0.0f;
    d->channels[0].out[2] = NAN;
    d->channels[1].out[2] = -INFINITY;
    d->channels[0].out[3] = 1000.0f * 16 / 32768;
    d->channels[1].out[3] = -250.0f * 16 / 32768;
    int16_t out[8];
    ASSERT_EQ(d->decode(out, 4), 4);
    EXPECT_EQ(out[0], 0);      // m + d cancels
    EXPECT_EQ(out[1], 32767);  // m - d is twice the positive limit, not a wrap
    EXPECT_EQ(out[2], 32767);
    EXPECT_EQ(out[3], 32767);
    EXPECT_EQ(out[4], -32768);  // NaN mid counts as 0
    EXPECT_EQ(out[5], 32767);
    EXPECT_EQ(out[6], 750);
    EXPECT_EQ(out[7], 1250);
}
