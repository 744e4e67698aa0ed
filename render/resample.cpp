// resample_gaussian: a horizontal pass into a scratch image, then a vertical pass.
#include "render/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Truncation, with a margin for the rounding of the weights: a flat area of 255 must stay 255.
uint8_t to_byte(double v)
{
    v += 1.0e-3;
    if (!(v >= 0.0))
        return 0;  // negative or not a number
    if (v >= 255.0)
        return 255;
    return uint8_t(v);
}

// One pass along lines of `count` texels spaced `step` bytes apart: `lines` lines whose
// starts are `line_step` bytes apart, from `in_count` texels to `out_count`. The weights of
// one output position are the same on every line, so they are worked out once per position.
void filter_lines(float sigma, const uint8_t* in, int32_t in_count, size_t in_step, size_t in_line_step,
                  uint8_t* out, int32_t out_count, size_t out_step, size_t out_line_step, int32_t lines,
                  bool keep_alpha)
{
    std::vector<double> weights;
    float ratio = float(in_count) / float(out_count);
    for (int32_t i = 0; i < out_count; ++i) {
        float c = float(i) * ratio;
        int32_t lo, hi;
        weights.clear();
        if (sigma > 0.0f) {
            // Clamped before rounding, so that a huge sigma cannot overflow the conversion.
            lo = int32_t(std::lround(std::max(0.0f, c - 3.0f * sigma)));
            hi = int32_t(std::lround(std::min(float(in_count - 1), c + 3.0f * sigma)));
            double total = 0.0;
            for (int32_t j = lo; j <= hi; ++j) {
                double d = double(j) - double(c);
                weights.push_back(std::exp(-(d * d) / (2.0 * double(sigma) * double(sigma))));
                total += weights.back();
            }
            // A tiny sigma can underflow every weight: fall back to the nearest texel.
            if (!(total > 0.0))
                weights.clear();
            else
                for (double& w : weights)
                    w /= total;
        }
        if (weights.empty()) {
            lo = hi = std::clamp<int32_t>(int32_t(std::lround(c)), 0, in_count - 1);
            weights.push_back(1.0);
        }
        for (int32_t line = 0; line < lines; ++line) {
            const uint8_t* src = in + size_t(line) * in_line_step;
            double sum[4] = {};
            for (int32_t j = lo; j <= hi; ++j) {
                const uint8_t* p = src + size_t(j) * in_step;
                double w = weights[size_t(j - lo)];
                for (int k = 0; k < 4; ++k)
                    sum[k] += w * double(p[k]);
            }
            uint8_t* dst = out + size_t(line) * out_line_step + size_t(i) * out_step;
            for (int k = 0; k < 3; ++k)
                dst[k] = to_byte(sum[k]);
            dst[3] = keep_alpha ? to_byte(sum[3]) : 255;
        }
    }
}

}  // namespace

void resample_gaussian(float sigma, const uint8_t* source, int32_t sw, int32_t sh, uint8_t* destination,
                       int32_t dw, int32_t dh, bool keep_alpha)
{
    if (!source || !destination || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return;
    // Rows first, into an image as wide as the destination and as tall as the source. The
    // intermediate keeps its alpha; the vertical pass decides about the result's.
    std::vector<uint8_t> rows(size_t(dw) * size_t(sh) * 4);
    filter_lines(sigma, source, sw, 4, size_t(sw) * 4, rows.data(), dw, 4, size_t(dw) * 4, sh, true);
    filter_lines(sigma, rows.data(), sh, size_t(dw) * 4, 4, destination, dh, size_t(dw) * 4, 4, dw,
                 keep_alpha);
}
