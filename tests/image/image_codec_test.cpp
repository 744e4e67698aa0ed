// Image codec round trips and the decoders' edge cases: quality bounds, plain
// against fast, half size, clipped macroblocks, chroma smoothing, one-leaf trees.
#include "render/image/image_codec.h"
#include "render/image/image_codec_internal.h"
#include "render/image/image_transform.h"
#include "tests/alloc_probe.h"
#include "tests/image/image_pattern.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

using namespace image_detail;

bit_iovector encoded(int32_t w, int32_t h, const std::vector<uint8_t>& img, int quality)
{
    bit_iovector s;
    EXPECT_TRUE(image_encode(w, h, img.data(), quality, s));
    s.seek(0);
    return s;
}

enum class mode { full, full_fast, half, half_fast };

// Decodes into a buffer with guard bytes after the image, which must survive.
std::vector<uint8_t> decode(mode m, int32_t w, int32_t h, bit_iovector& s, bool expect_ok = true)
{
    const size_t guard = 64;
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 4 + guard, 0xa5);
    s.seek(0);
    bool ok = false;
    switch (m) {
    case mode::full:
        ok = image_decode_full(w, h, s, out.data());
        break;
    case mode::full_fast:
        ok = image_decode_full_fast(w, h, s, out.data());
        break;
    case mode::half:
        ok = image_decode_half(w, h, s, out.data());
        break;
    case mode::half_fast:
        ok = image_decode_half_fast(w, h, s, out.data());
        break;
    }
    EXPECT_EQ(ok, expect_ok);
    for (size_t i = out.size() - guard; i < out.size(); ++i)
        EXPECT_EQ(out[i], 0xa5) << "written past the image at " << i;
    out.resize(out.size() - guard);
    return out;
}

int max_difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int m = 0;
    for (size_t i = 0; i < a.size(); ++i)
        m = std::max(m, std::abs(int(a[i]) - int(b[i])));
    return m;
}

TEST(image_tables, quantisation_base_is_the_scaled_luminance_table_in_zigzag_order)
{
    const int k1[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                        14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                        18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                        49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    for (int k = 0; k < 64; ++k)
        EXPECT_EQ(base_quant[k], (k1[zigzag[k]] * 30 + 50) / 100) << k;
    const uint8_t first_row[8] = {5, 3, 4, 4, 4, 3, 5, 4};
    EXPECT_EQ(std::memcmp(base_quant, first_row, 8), 0);
    // The zigzag order is a permutation walking anti-diagonals.
    bool seen[64] = {};
    for (int k = 0; k < 64; ++k) {
        ASSERT_FALSE(seen[zigzag[k]]);
        seen[zigzag[k]] = true;
        if (k > 0) {
            EXPECT_LE(std::abs(zigzag[k] / 8 + zigzag[k] % 8 - zigzag[k - 1] / 8 - zigzag[k - 1] % 8), 1);
        }
    }

    float q0[64], q1[64], q50[64], enc[64];
    quant_table(0, true, q0);
    quant_table(1, true, q1);
    quant_table(50, true, q50);
    quant_table(50, false, enc);
    EXPECT_EQ(std::memcmp(q0, q1, sizeof q0), 0);
    EXPECT_FLOAT_EQ(q50[0], 5.0f * 2.0f / 64.0f);
    EXPECT_FLOAT_EQ(enc[63], 30.0f * 2.0f);
}

TEST(image_transform, forward_then_inverse_gives_64_times_the_block)
{
    std::mt19937 rng(3);
    constexpr transform_constants<float> c{};
    float b[64], orig[64];
    for (int i = 0; i < 64; ++i)
        orig[i] = b[i] = float(rng() % 256);
    for (int r = 0; r < 8; ++r)
        forward8(b + r * 8, 1, c);
    for (int col = 0; col < 8; ++col)
        forward8(b + col, 8, c);
    EXPECT_NEAR(
        b[0],
        [&] {
            float s = 0;
            for (float v : orig)
                s += v;
            return s;
        }(),
        0.01f);
    for (int col = 0; col < 8; ++col)
        inverse8(b + col, b + col, 8, c);
    for (int r = 0; r < 8; ++r)
        inverse8(b + r * 8, b + r * 8, 1, c);
    for (int i = 0; i < 64; ++i)
        EXPECT_NEAR(b[i] / 64.0f, orig[i], 0.02f) << i;
}

// One pass of the half transform written out from its definition: constants at
// their double values, every product and sum rounded to single precision, then
// the means of output pairs.
void reference_half_pass(const float x[8], float out[4])
{
    auto mul = [](float v, double c) { return float(double(v) * c); };
    float t5 = mul(x[5], 1.41421), t3 = mul(x[3], 1.41421);
    float a = x[1] - x[7], b = x[1] + x[7];
    float e = mul(x[2] + x[6], 0.541196);
    float s = x[0] + x[4], d = x[0] - x[4];
    float f2 = mul(x[2], 0.765364) + e, f6 = mul(x[6], -1.847756) + e;
    float p = a + t5, q = t3 + b, r = mul(p + q, 0.83147);
    float u = a - t5, w = b - t3, z = mul(u + w, 0.980785);
    float e0 = s + f2, o0 = mul(p, -0.2759) + r;
    float e1 = d + f6, o1 = mul(w, -0.785695) + z;
    float e2 = d - f6, o2 = mul(u, -1.175875) + z;
    float e3 = s - f2, o3 = mul(q, -1.38704) + r;
    const float y[8] = {e0 + o0, e1 + o1, e2 + o2, e3 + o3, e3 - o3, e2 - o2, e1 - o1, e0 - o0};
    for (int i = 0; i < 4; ++i)
        out[i] = (y[2 * i] + y[2 * i + 1]) / 2.0f;
}

TEST(image_transform, half_transform_rounds_to_single_with_double_constants)
{
    std::mt19937 rng(11);
    for (int trial = 0; trial < 300; ++trial) {
        float coefficients[64] = {};
        for (int i = 0; i < 64; ++i)
            if (i < 10 || rng() % 3 == 0)
                coefficients[i] = float(int(rng() % 2001) - 1000) * (0.078125f + float(trial % 7) * 0.01f);
        float mid[4][8], expected[16];
        for (int c = 0; c < 8; ++c) {
            float column[8], half[4];
            for (int r = 0; r < 8; ++r)
                column[r] = coefficients[r * 8 + c];
            reference_half_pass(column, half);
            for (int r = 0; r < 4; ++r)
                mid[r][c] = half[r];
        }
        for (int r = 0; r < 4; ++r)
            reference_half_pass(mid[r], expected + r * 4);
        float out[16];
        half_transform(coefficients, out);
        for (int i = 0; i < 16; ++i)
            ASSERT_EQ(out[i], expected[i]) << "trial " << trial << ", value " << i;
    }
}

struct quality_bound {
    int quality;
    double luma_psnr, alpha_psnr;
};

TEST(image_codec, round_trips_stay_within_a_psnr_bound_per_quality)
{
    // Grey art isolates the quantisation (no chroma subsampling loss); the
    // coloured picture is bounded by its chroma edges at every quality.
    const int32_t w = 96, h = 80;
    std::vector<uint8_t> colour = image_pattern::make(w, h, 5), grey = colour;
    for (size_t i = 0; i < grey.size(); i += 4)
        grey[i] = grey[i + 1] = grey[i + 2] = uint8_t((grey[i] + 2 * grey[i + 1] + grey[i + 2]) / 4);
    size_t previous_bits = 0;
    for (quality_bound b :
         {quality_bound{10, 37.5, 41.5}, {50, 46, 49}, {75, 48, 50.5}, {90, 49, 50}, {100, 49, 52}}) {
        bit_iovector s = encoded(w, h, grey, b.quality);
        EXPECT_GT(size_t(s.size()), previous_bits) << "higher quality must cost bits";
        previous_bits = size_t(s.size());
        std::vector<uint8_t> out = decode(mode::full, w, h, s);
        EXPECT_TRUE(s.at_end()) << "the decoder reads the whole stream";
        EXPECT_GE(image_pattern::psnr(grey, out, 0, 3), b.luma_psnr) << "quality " << b.quality;
        EXPECT_GE(image_pattern::psnr(grey, out, 3, 1), b.alpha_psnr) << "quality " << b.quality;

        s = encoded(w, h, colour, b.quality);
        out = decode(mode::full_fast, w, h, s);
        EXPECT_GE(image_pattern::psnr(colour, out, 0, 3), 31.0) << "quality " << b.quality;
        EXPECT_GE(image_pattern::psnr(colour, out, 3, 1), b.alpha_psnr) << "quality " << b.quality;
    }
}

TEST(image_codec, fast_full_decode_equals_plain_and_half_agrees_within_rounding)
{
    for (auto [w, h] : {std::pair{64, 48}, {37, 29}, {20, 20}, {1, 1}, {130, 7}}) {
        std::vector<uint8_t> img = image_pattern::make(w, h, uint32_t(w * h));
        bit_iovector s = encoded(w, h, img, 80);
        std::vector<uint8_t> plain = decode(mode::full, w, h, s);
        std::vector<uint8_t> fast = decode(mode::full_fast, w, h, s);
        EXPECT_EQ(plain, fast) << w << " x " << h;
        if (!image_half_size_ok(w, h))
            continue;
        std::vector<uint8_t> half = decode(mode::half, w / 2, h / 2, s);
        std::vector<uint8_t> half_fast = decode(mode::half_fast, w / 2, h / 2, s);
        EXPECT_LE(max_difference(half, half_fast), 1) << w << " x " << h;
    }
}

TEST(image_codec, fast_full_decode_equals_plain_at_every_small_size)
{
    // The fast path smooths chroma from quarter-size planes; every parity of
    // width and height, and the vector loops' tails, must give the same bytes.
    std::mt19937 rng(5);
    for (int trial = 0; trial < 60; ++trial) {
        int32_t w = 1 + int32_t(rng() % 70), h = 1 + int32_t(rng() % 40);
        std::vector<uint8_t> img = image_pattern::make(w, h, uint32_t(trial));
        bit_iovector s = encoded(w, h, img, int(rng() % 101));
        ASSERT_EQ(decode(mode::full, w, h, s), decode(mode::full_fast, w, h, s)) << w << " x " << h;
    }
}

TEST(image_codec, half_size_output_of_odd_sizes_follows_the_full_image)
{
    // 37 x 27 gives 18 x 13: the last half macroblock column and row are clipped.
    const int32_t w = 37, h = 27;
    std::vector<uint8_t> img = image_pattern::make(w, h, 9);
    bit_iovector s = encoded(w, h, img, 95);
    std::vector<uint8_t> half = decode(mode::half, w / 2, h / 2, s);
    std::vector<uint8_t> reference = image_pattern::halve(img, w, h);
    EXPECT_GE(image_pattern::psnr(reference, half, 0, 4), 30.0);
    EXPECT_TRUE(s.at_end());
}

TEST(image_codec, twenty_by_twenty_has_four_macroblocks_and_writes_only_its_pixels)
{
    // The encoder counts pixels outside the image as 0, so a 20 x 20 picture
    // codes exactly like a 32 x 32 one that is 0 outside its 20 x 20 corner.
    const int32_t w = 20, h = 20;
    std::vector<uint8_t> img = image_pattern::make(w, h, 2);
    std::vector<uint8_t> big(32 * 32 * 4, 0);
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(&big[size_t(y) * 32 * 4], &img[size_t(y) * w * 4], size_t(w) * 4);
    bit_iovector s = encoded(w, h, img, 90), s_big = encoded(32, 32, big, 90);
    ASSERT_EQ(s.words, s_big.words);

    // The decoder computes the full four macroblocks but writes 20 x 20 pixels
    // (guards checked); only column and row 19 differ in chroma, as there is no
    // pixel 20 to smooth them towards.
    std::vector<uint8_t> out = decode(mode::full, w, h, s);
    std::vector<uint8_t> out_big = decode(mode::full, 32, 32, s_big);
    for (int32_t y = 0; y < 19; ++y)
        for (int32_t x = 0; x < 19; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(out[(size_t(y) * w + size_t(x)) * 4 + size_t(c)],
                          out_big[(size_t(y) * 32 + size_t(x)) * 4 + size_t(c)])
                    << x << ", " << y;
    EXPECT_EQ(out, decode(mode::full_fast, w, h, s));

    // Exactly four macroblocks follow the header: a 16 x 16 decode stops short
    // of the end, and a 40 x 20 decode (six macroblocks) runs out of data.
    s.seek(0);
    std::vector<uint8_t> one(16 * 16 * 4);
    EXPECT_TRUE(image_decode_full(16, 16, s, one.data()));
    EXPECT_FALSE(s.at_end());
    decode(mode::full, 40, 20, s, false);
}

TEST(image_codec, quality_zero_in_the_stream_acts_as_quality_one)
{
    const int32_t w = 32, h = 32;
    std::vector<uint8_t> img = image_pattern::make(w, h, 4);
    bit_iovector s = encoded(w, h, img, 1);
    std::vector<uint8_t> at_one = decode(mode::full, w, h, s);
    s.seek(0);
    s.write(0, 8);
    std::vector<uint8_t> at_zero = decode(mode::full, w, h, s);
    EXPECT_EQ(at_one, at_zero);
    // The encoder clamps its quality argument into 0..100.
    bit_iovector low = encoded(w, h, img, -7), high = encoded(w, h, img, 250);
    EXPECT_EQ(low.read(8), 0u);
    EXPECT_EQ(high.read(8), 100u);
}

TEST(image_codec, flat_image_has_one_leaf_ac_trees_and_no_ac_bits)
{
    const int32_t w = 48, h = 32;
    std::vector<uint8_t> img(size_t(w) * h * 4);
    for (size_t i = 0; i < img.size(); i += 4) {
        img[i] = 100;
        img[i + 1] = 150;
        img[i + 2] = 50;
        img[i + 3] = 255;
    }
    bit_iovector s = encoded(w, h, img, 75);
    word_reader r;
    std::vector<uint32_t> copy;
    reader_for(s, r, copy);
    decode_trees d;
    ASSERT_TRUE(read_header(r, d));
    for (int t : {1, 3, 5}) {
        EXPECT_EQ(d.tree[t].root, 0) << "AC tree " << t << " is the lone end-of-block leaf";
        EXPECT_EQ(d.tree[t].left[0], -1);
    }
    // After the header only DC symbols remain: with one-leaf DC trees too (every
    // block but the first per channel repeats its DC), very few bits are left.
    int64_t header_end = r.position();
    EXPECT_LT(s.size() - header_end, 4 * 16 * 2);
    std::vector<uint8_t> out = decode(mode::full, w, h, s);
    EXPECT_TRUE(s.at_end());
    for (size_t i = 0; i < out.size(); i += 4) {
        ASSERT_NEAR(out[i], 100, 2);
        ASSERT_NEAR(out[i + 1], 150, 2);
        ASSERT_NEAR(out[i + 2], 50, 2);
        ASSERT_EQ(out[i + 3], 255);
    }
    std::vector<uint8_t> fast = decode(mode::full_fast, w, h, s);
    EXPECT_EQ(out, fast);
}

TEST(image_codec, chroma_smoothing_of_an_eight_pixel_row_and_columns)
{
    // Bytes Y, Co + 128, Cg + 128, A before the last steps of the full decode.
    std::vector<uint8_t> px(8 * 4);
    const uint8_t chroma[8] = {10, 10, 30, 30, 50, 50, 71, 71};
    for (int x = 0; x < 8; ++x) {
        px[x * 4 + 0] = 100;
        px[x * 4 + 1] = uint8_t(128 + chroma[x]);
        px[x * 4 + 2] = 128;
        px[x * 4 + 3] = 7;
    }
    finish_full(8, 1, px.data());
    // Co shows in R and B: R = Y + Co, B = Y - Co with Cg = 0.
    const int expected_co[8] = {10, 20, 30, 40, 50, 60, 71, 71};
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(px[x * 4 + 0], 100 + expected_co[x]) << x;
        EXPECT_EQ(px[x * 4 + 1], 100) << x;
        EXPECT_EQ(px[x * 4 + 2], 100 - expected_co[x]) << x;
        EXPECT_EQ(px[x * 4 + 3], 7) << x;
    }

    // Columns: row 1 of three takes the mean of rows 0 and 2; with four rows the
    // last row keeps its own.
    std::vector<uint8_t> col(1 * 4 * 4);
    const uint8_t cg[4] = {128 + 20, 128 + 0, 128 + 41, 128 + 90};
    for (int y = 0; y < 4; ++y) {
        col[y * 4 + 0] = 120;
        col[y * 4 + 1] = 128;
        col[y * 4 + 2] = cg[y];
        col[y * 4 + 3] = 255;
    }
    finish_full(1, 4, col.data());
    const int expected_cg[4] = {20, 30, 41, 90};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(col[y * 4 + 1], 120 + expected_cg[y]) << y;  // G = Y + Cg
}

TEST(image_codec, colour_conversion_clamps_each_channel)
{
    // Y 250 with Co +100: R overflows, B stays in range; Y 5 with Cg -100: G clamps to 0.
    std::vector<uint8_t> px = {250, 228, 128, 1, 5, 128, 28, 2};
    finish_full(2, 1, px.data());
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 250);
    EXPECT_EQ(px[2], 150);
    EXPECT_EQ(px[4], 105);
    EXPECT_EQ(px[5], 0);
    EXPECT_EQ(px[6], 105);
}

// A seekable stream that is not a bit vector: the decoders take its bits through
// the general interface.
struct forwarding_stream : bit_seek_stream {
    bit_iovector inner;
    uint32_t read_bit() override { return inner.read_bit(); }
    uint32_t read(int n) override { return inner.read(n); }
    bool at_end() override { return inner.at_end(); }
    void write(uint32_t v, int n) override { inner.write(v, n); }
    void write_bit(uint32_t b) override { inner.write_bit(b); }
    void seek(int32_t p) override { inner.seek(p); }
    int32_t tell() override { return inner.tell(); }
    int32_t size() override { return inner.size(); }
};

TEST(image_codec, consecutive_images_in_one_stream_through_any_stream)
{
    std::vector<uint8_t> a = image_pattern::make(24, 24, 11), b = image_pattern::make(17, 9, 12);
    forwarding_stream s;
    ASSERT_TRUE(image_encode(24, 24, a.data(), 70, s));
    ASSERT_TRUE(image_encode(17, 9, b.data(), 40, s));
    s.seek(0);
    std::vector<uint8_t> out_a(24 * 24 * 4), out_b(17 * 9 * 4);
    ASSERT_TRUE(image_decode_full_fast(24, 24, s, out_a.data()));
    ASSERT_TRUE(image_decode_full(17, 9, s, out_b.data()));
    EXPECT_TRUE(s.at_end());
    bit_iovector alone_a = encoded(24, 24, a, 70), alone_b = encoded(17, 9, b, 40);
    EXPECT_EQ(out_a, decode(mode::full, 24, 24, alone_a));
    EXPECT_EQ(out_b, decode(mode::full, 17, 9, alone_b));
}

TEST(image_data, head_record_and_decoding_by_size_and_flags)
{
    const uint8_t short_head[9] = {1, 0, 0, 0, 20, 0, 0, 0, 10};
    image_head h = image_head_from_bytes(short_head, sizeof short_head);
    EXPECT_EQ(h.unused, 1u);
    EXPECT_EQ(h.width, 20);
    EXPECT_EQ(h.height, 10);
    EXPECT_EQ(h.flags, 0u);
    uint8_t bytes[16];
    image_head_to_bytes(image_head{0, 300, 2, 1}, bytes);
    image_head back = image_head_from_bytes(bytes, 16);
    EXPECT_EQ(back.width, 300);
    EXPECT_EQ(back.flags, 1u);

    // Raw RGBA: returned as it stands, refused when short.
    std::vector<uint8_t> raw = image_pattern::make(20, 10, 1);
    image_rgba out;
    EXPECT_TRUE(image_decode_data(h, raw.data(), raw.size(), true, false, out));
    EXPECT_EQ(out.width, 20);
    EXPECT_EQ(out.pixels, raw);
    EXPECT_FALSE(image_decode_data(h, raw.data(), raw.size() - 1, false, false, out));
    EXPECT_TRUE(out.pixels.empty());

    // Coded: half size when asked, except for 16 k + 1 sizes, which stay full.
    std::vector<uint8_t> img = image_pattern::make(34, 33, 3);
    std::vector<uint8_t> data = image_encode_data(34, 33, img.data(), 90);
    image_head coded{0, 34, 33, image_flag_coded};
    ASSERT_TRUE(image_decode_data(coded, data.data(), data.size(), true, true, out));
    EXPECT_EQ(out.width, 34);
    EXPECT_EQ(out.height, 33);
    bit_iovector same(data.data(), int32_t(data.size() * 8));
    EXPECT_EQ(out.pixels, decode(mode::full, 34, 33, same));
    img = image_pattern::make(34, 32, 3);
    data = image_encode_data(34, 32, img.data(), 90);
    coded.height = 32;
    ASSERT_TRUE(image_decode_data(coded, data.data(), data.size(), true, false, out));
    EXPECT_EQ(out.width, 17);
    EXPECT_EQ(out.height, 16);

    // Sizes the game cannot hold are refused before any allocation.
    coded.width = image_max_dimension + 1;
    EXPECT_FALSE(image_decode_data(coded, data.data(), data.size(), false, false, out));
    coded.width = -4;
    EXPECT_FALSE(image_decode_data(coded, data.data(), data.size(), false, false, out));
}

TEST(image_data, a_stream_too_short_for_its_claimed_size_is_refused_before_the_image_is_allocated)
{
    // 480 bytes of a real picture's stream under a head that claims 16384 x 16384: the
    // decoder used to zero a gigabyte before the stream ran out.
    std::vector<uint8_t> img = image_pattern::make(64, 64, 5);
    std::vector<uint8_t> data = image_encode_data(64, 64, img.data(), 90);
    ASSERT_GT(data.size(), 480u);
    data.resize(480);
    image_head huge{0, image_max_dimension, image_max_dimension, image_flag_coded};
    image_rgba out;
    {
        alloc_probe probe;
        for (bool half : {false, true})
            EXPECT_FALSE(image_decode_data(huge, data.data(), data.size(), half, false, out)) << half;
        EXPECT_LT(probe.largest(), size_t(1) << 20);
    }
    EXPECT_TRUE(out.pixels.empty());

    // What the encoder writes always fits its own size, down to the flat picture whose
    // lone-leaf trees take no bits at all per block.
    for (int32_t size : {1, 16, 33, 64}) {
        std::vector<uint8_t> busy = image_pattern::make(size, size, 7);
        bit_iovector s = encoded(size, size, busy, 90);
        EXPECT_TRUE(image_stream_fits(size, size, s)) << size;
        EXPECT_EQ(s.tell(), 0);
    }
    std::vector<uint8_t> flat(size_t(512) * 512 * 4, 200);
    bit_iovector plain = encoded(512, 512, flat, 90);
    EXPECT_TRUE(image_stream_fits(512, 512, plain));
    decode(mode::full, 512, 512, plain);
}

}  // namespace
