// The MDCT pair against its defining sums, and perfect reconstruction with the
// codec's window and overlap-add.
#include "sound/codec/mdct.h"
#include "sound/codec/sample_decoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double basis(int n, int j, int k)
{
    return std::cos(M_PI / n * (j + 0.5 + n / 2.0) * (k + 0.5));
}

}  // namespace

TEST(mdct, inverse_matches_the_cosine_sum_at_several_sizes)
{
    for (int n : {16, 64, 256}) {
        w_mdct t(n);
        std::vector<float> x(static_cast<size_t>(n)), y(size_t(2 * n));
        for (int k = 0; k < n; ++k)
            x[size_t(k)] = float(std::sin(k * 0.7) + (k % 3) * 0.25);
        t.inverse(x.data(), y.data());
        for (int j = 0; j < 2 * n; ++j) {
            double want = 0;
            for (int k = 0; k < n; ++k)
                want -= x[size_t(k)] * basis(n, j, k);
            ASSERT_NEAR(y[size_t(j)], want, 1e-4 * n) << "n " << n << " j " << j;
        }
    }
}

TEST(mdct, forward_is_the_transpose_of_the_inverse)
{
    int n = 64;
    w_mdct t(n);
    std::vector<float> in(size_t(2 * n)), x(static_cast<size_t>(n));
    for (int j = 0; j < 2 * n; ++j)
        in[size_t(j)] = float(std::cos(j * 0.31) - 0.5 * std::sin(j * 1.7));
    t.forward(in.data(), x.data());
    for (int k = 0; k < n; ++k) {
        double want = 0;
        for (int j = 0; j < 2 * n; ++j)
            want -= in[size_t(j)] * basis(n, j, k);
        ASSERT_NEAR(x[size_t(k)], want, 1e-3);
    }
}

TEST(mdct, windowed_overlap_add_gives_back_n_times_the_input)
{
    for (int n : {16, 512}) {
        w_mdct t(n);
        w_codec_tables tables(n, 32);
        const float* w = tables.window.data();
        int blocks = 6;
        std::vector<float> signal(size_t((blocks + 1) * n), 0.0f), out(signal.size(), 0.0f);
        for (int i = n; i < blocks * n; ++i)
            signal[size_t(i)] = float(0.6 * std::sin(i * 0.05) + 0.2 * std::sin(i * 1.1));
        std::vector<float> in(size_t(2 * n)), x(static_cast<size_t>(n)), y(size_t(2 * n));
        for (int b = 0; b < blocks; ++b) {
            for (int i = 0; i < n; ++i) {
                in[size_t(i)] = signal[size_t(b * n + i)] * w[i];
                in[size_t(n + i)] = signal[size_t(b * n + n + i)] * w[n - 1 - i];
            }
            t.forward(in.data(), x.data());
            t.inverse(x.data(), y.data());
            for (int i = 0; i < n; ++i) {
                out[size_t(b * n + i)] += y[size_t(i)] * w[i];
                out[size_t(b * n + n + i)] += y[size_t(n + i)] * w[n - 1 - i];
            }
        }
        // Every sample covered by two blocks is reconstructed.
        for (int i = n; i < blocks * n; ++i)
            ASSERT_NEAR(out[size_t(i)] / n, signal[size_t(i)], 2e-5) << "n " << n << " i " << i;
    }
}

TEST(mdct, window_meets_the_reconstruction_condition)
{
    w_codec_tables tables(256, 32);
    for (int i = 0; i < 256; ++i) {
        float a = tables.window[size_t(i)], b = tables.window[size_t(255 - i)];
        EXPECT_NEAR(a * a + b * b, 2.0f, 1e-5f);
    }
}
