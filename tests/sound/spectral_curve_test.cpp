// The spectral curve's fixed rows, its shape, and how block sizes sample it.
#include "sound/codec/sample_decoder.h"
#include "sound/codec/spectral_curve.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(spectral_curve, holds_the_fixed_rows)
{
    const struct {
        int index;
        double value;
    } rows[] = {
        {0, 102.18},   {1, 157.39},   {2, 157.58},   {64, 96.12},  {99, 78.88},    {128, 83.67},
        {192, 107.21}, {320, 121.22}, {512, 123.06}, {768, 126.5}, {1023, 130.68},
    };
    for (auto r : rows)
        EXPECT_DOUBLE_EQ(w_spectral_curve[r.index], r.value) << "row " << r.index;
}

TEST(spectral_curve, extremes_are_at_rows_2_and_99_and_it_rises_smoothly_above_256)
{
    for (int i = 0; i < w_spectral_curve_size; ++i) {
        EXPECT_LE(w_spectral_curve[i], 157.58);
        EXPECT_GE(w_spectral_curve[i], 78.88);
    }
    for (int i = 3; i < 99; ++i)
        EXPECT_LT(w_spectral_curve[i], w_spectral_curve[i - 1]) << i;
    for (int i = 100; i < w_spectral_curve_size; ++i)
        EXPECT_GT(w_spectral_curve[i], w_spectral_curve[i - 1]) << i;
    // Smooth: no kinks (a straight line between the fixed rows would bend by 0.26
    // at row 192 and 0.5 at row 64) away from the cliff that rows 0 and 1 make;
    // above 256 the slope is a tenth of what it is below.
    for (int i = 3; i + 1 < w_spectral_curve_size; ++i) {
        double second = w_spectral_curve[i + 1] - 2 * w_spectral_curve[i] + w_spectral_curve[i - 1];
        EXPECT_LT(std::fabs(second), 0.1) << i;
    }
    for (int i = 257; i < w_spectral_curve_size; ++i)
        EXPECT_LT(w_spectral_curve[i] - w_spectral_curve[i - 1], 0.12) << i;
}

TEST(spectral_curve, offsets_sample_the_curve_from_its_top_row)
{
    w_codec_tables full(1024, 20);
    for (int i = 0; i < 1024; ++i)
        EXPECT_FLOAT_EQ(full.offset[size_t(i)], float(w_spectral_curve[i] / 10));
    w_codec_tables half(512, 20);
    EXPECT_FLOAT_EQ(half.offset[0], float(w_spectral_curve[1] / 10));
    EXPECT_FLOAT_EQ(half.offset[511], float(w_spectral_curve[1023] / 10));
    w_codec_tables small(16, 20);
    EXPECT_FLOAT_EQ(small.offset[0], float(w_spectral_curve[63] / 10));
    // Beyond 1024 coefficients the stride is 0: every offset is the last row.
    w_codec_tables big(2048, 20);
    EXPECT_FLOAT_EQ(big.offset[0], float(w_spectral_curve[1023] / 10));
    EXPECT_EQ(small.log2_n, 4);
    EXPECT_NEAR(small.log_step, std::log(1.0 + 20.0 / 128.0), 1e-7);
}
