// The plain image decoders: full size in single precision, half size with the
// half transform for luma and alpha (double-precision constants).
#include "render/image/image_codec_internal.h"
#include "render/image/image_transform.h"

#include <cstring>

namespace image_detail {

namespace {

constexpr transform_constants<float> float_constants{};

// A transform constant kept at its double value: the product is formed in double
// precision and rounded to single, so that every intermediate of the transform
// is still a float, as in the full-size transform.
struct double_constant {
    double v;
    constexpr explicit double_constant(double d) : v(d) {}
};
inline float operator*(float x, double_constant c)
{
    return float(double(x) * c.v);
}

constexpr transform_constants<double_constant> double_constants{};

// Channel of each of the ten blocks of a macroblock, in stream order:
// luma 0, alpha 0, ..., luma 3, alpha 3, Co, Cg. Predictors: 0 luma, 1 alpha,
// 2 Co, 3 Cg; trees: luma 0/1, chroma 2/3, alpha 4/5.
constexpr int block_predictor[10] = {0, 1, 0, 1, 0, 1, 0, 1, 2, 3};
constexpr int block_dc_tree[10] = {0, 4, 0, 4, 0, 4, 0, 4, 2, 2};

// In place; a block with only its DC is that value everywhere.
void inverse_block(float* b, int last)
{
    if (last <= 1) {
        float v = b[0];
        for (int i = 1; i < 64; ++i)
            b[i] = v;
        return;
    }
    inverse8x8(b, float_constants);
}

}  // namespace

void half_transform(const float coefficients[64], float out[16])
{
    float mid[32];  // 4 rows of 8
    for (int c = 0; c < 8; ++c)
        inverse8_half(coefficients + c, mid + c, 8, 8, double_constants, 0.5f);
    for (int r = 0; r < 4; ++r)
        inverse8_half(mid + r * 8, out + r * 4, 1, 1, double_constants, 0.5f);
}

namespace {

bool decode_macroblock(word_reader& r, const decode_trees& d, int32_t predictors[4], float blocks[10][64],
                       int last[10])
{
    for (int b = 0; b < 10; ++b) {
        std::memset(blocks[b], 0, sizeof blocks[b]);
        int t = block_dc_tree[b];
        last[b] =
            decode_block<1>(r, d.tree[t], d.tree[t + 1], predictors[block_predictor[b]], d.q, blocks[b]);
        if (last[b] < 0)
            return false;
    }
    return true;
}

}  // namespace

bool decode_full_plain(int32_t width, int32_t height, word_reader& r, uint8_t* out)
{
    float blocks[10][64];
    int last[10];
    size_t stride = size_t(width) * 4;
    full_finisher finisher;
    auto macroblock = [&](const decode_trees& d, int32_t predictors[4], tile_place at) {
        if (!decode_macroblock(r, d, predictors, blocks, last))
            return false;
        for (int b = 0; b < 10; ++b)
            inverse_block(blocks[b], last[b]);
        for (int32_t y = 0; y < at.rows; ++y) {
            uint8_t* p = out + size_t(at.y0 + y) * stride + size_t(at.x0) * 4;
            for (int32_t x = 0; x < at.cols; ++x, p += 4) {
                int quarter = (y >> 3) * 2 + (x >> 3);
                int i = (y & 7) * 8 + (x & 7);
                int ci = (y >> 1) * 8 + (x >> 1);
                p[0] = clamp_real(blocks[quarter * 2][i]);
                p[1] = clamp_real(blocks[8][ci] + 128.0f);
                p[2] = clamp_real(blocks[9][ci] + 128.0f);
                p[3] = clamp_real(blocks[quarter * 2 + 1][i]);
            }
        }
        return true;
    };
    auto rows_done = [&](int32_t rows_ready) { finisher.advance(width, height, out, rows_ready); };
    if (!decode_macroblocks<16>(width, height, r, macroblock, rows_done))
        return false;
    finisher.advance(width, height, out, height);
    return true;
}

bool decode_half_plain(int32_t width, int32_t height, word_reader& r, uint8_t* out)
{
    float blocks[10][64];
    int last[10];
    float luma[64], alpha[64], quarter[16];
    size_t stride = size_t(width) * 4;
    auto macroblock = [&](const decode_trees& d, int32_t predictors[4], tile_place at) {
        if (!decode_macroblock(r, d, predictors, blocks, last))
            return false;
        for (int q = 0; q < 4; ++q) {
            int base = (q >> 1) * 32 + (q & 1) * 4;
            half_transform(blocks[q * 2], quarter);
            for (int i = 0; i < 16; ++i)
                luma[base + (i >> 2) * 8 + (i & 3)] = quarter[i];
            half_transform(blocks[q * 2 + 1], quarter);
            for (int i = 0; i < 16; ++i)
                alpha[base + (i >> 2) * 8 + (i & 3)] = quarter[i];
        }
        inverse_block(blocks[8], last[8]);
        inverse_block(blocks[9], last[9]);
        for (int32_t y = 0; y < at.rows; ++y) {
            uint8_t* p = out + size_t(at.y0 + y) * stride + size_t(at.x0) * 4;
            for (int32_t x = 0; x < at.cols; ++x, p += 4) {
                int i = y * 8 + x;
                float l = luma[i];
                float co = blocks[8][i], cg = blocks[9][i];
                p[0] = clamp_real(l + co - cg);
                p[1] = clamp_real(l + cg);
                p[2] = clamp_real(l - co - cg);
                p[3] = clamp_real(alpha[i]);
            }
        }
        return true;
    };
    return decode_macroblocks<8>(width, height, r, macroblock, [](int32_t) {});
}

}  // namespace image_detail
