// The image encoder: colour conversion, forward transform and quantisation of
// every block, then two passes over the blocks, one counting symbols for the six
// trees and one writing codes and value bits.
#include "render/image/image_codec.h"
#include "render/image/image_codec_internal.h"
#include "render/image/image_transform.h"

#include <cmath>
#include <cstdlib>

namespace image_detail {

namespace {

constexpr transform_constants<float> float_constants{};

// Quantised coefficients of one macroblock's ten blocks in stream order, zigzag order.
struct coded_macroblock {
    int16_t block[10][64];
};

// Largest level kept: DC differences of two such levels still fit size category 15.
constexpr float max_level = 16383.0f;

void quantise(float* b, const float q[64], int16_t out[64])
{
    for (int r = 0; r < 8; ++r)
        forward8(b + r * 8, 1, float_constants);
    for (int c = 0; c < 8; ++c)
        forward8(b + c, 8, float_constants);
    for (int k = 0; k < 64; ++k) {
        float c = b[zigzag[k]];
        float level = std::trunc(std::fabs(c) / q[k] + 0.5f);
        if (level > max_level)
            level = max_level;
        out[k] = int16_t(std::copysign(level, c));
    }
}

void prepare_macroblock(int32_t width, int32_t height, const uint8_t* rgba, int32_t mx, int32_t my,
                        const float q[64], coded_macroblock& out)
{
    float luma[4][64] = {}, alpha[4][64] = {}, co[64] = {}, cg[64] = {};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            int32_t px = mx * 16 + x, py = my * 16 + y;
            // Pixels outside the image count as 0 in every channel.
            if (px >= width || py >= height)
                continue;
            const uint8_t* p = rgba + (size_t(py) * size_t(width) + size_t(px)) * 4;
            float r = p[0], g = p[1], b = p[2];
            int quarter = (y >> 3) * 2 + (x >> 3);
            int i = (y & 7) * 8 + (x & 7);
            luma[quarter][i] = r / 4.0f + g / 2.0f + b / 4.0f;
            alpha[quarter][i] = p[3];
            int ci = (y >> 1) * 8 + (x >> 1);
            co[ci] += ((r - b) / 2.0f) * 0.25f;
            cg[ci] += (g / 2.0f - r / 4.0f - b / 4.0f) * 0.25f;
        }
    }
    for (int quarter = 0; quarter < 4; ++quarter) {
        quantise(luma[quarter], q, out.block[quarter * 2]);
        quantise(alpha[quarter], q, out.block[quarter * 2 + 1]);
    }
    quantise(co, q, out.block[8]);
    quantise(cg, q, out.block[9]);
}

constexpr int block_predictor[10] = {0, 1, 0, 1, 0, 1, 0, 1, 2, 3};
constexpr int block_dc_tree[10] = {0, 4, 0, 4, 0, 4, 0, 4, 2, 2};

// Visits the symbols of one block in stream order: DC size, then AC symbols,
// each with the value that follows it.
template <typename F>
void for_each_symbol(const int16_t block[64], int32_t& predictor, F&& emit)
{
    int32_t diff = block[0] - predictor;
    predictor = block[0];
    uint32_t s = size_category(diff);
    emit(true, s, diff);
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        int32_t v = block[k];
        if (v == 0) {
            ++run;
            continue;
        }
        while (run > 15) {
            emit(false, 15u, 0);  // sixteen zeros
            run -= 16;
        }
        emit(false, (size_category(v) << 4) | uint32_t(run), v);
        run = 0;
    }
    if (run > 0)
        emit(false, 0u, 0);
}

void write_code(bit_ostream& s, const huff_codes& t, uint32_t symbol)
{
    uint32_t code = t.code[symbol];
    int length = t.length[symbol];
    // Writers take at most 31 bits comfortably; a 32-bit code goes in two parts.
    if (length > 16) {
        s.write(code & 0xffff, 16);
        s.write(code >> 16, length - 16);
    } else if (length > 0) {
        s.write(code, length);
    }
}

void write_value(bit_ostream& s, uint32_t size, int32_t v)
{
    if (size == 0)
        return;
    uint32_t magnitude = uint32_t(v < 0 ? -v : v);
    uint32_t b = ((magnitude - (uint32_t(1) << (size - 1))) << 1) | (v > 0 ? 1u : 0u);
    s.write(b, int(size));
}

}  // namespace

}  // namespace image_detail

bool image_encode(int32_t width, int32_t height, const uint8_t* rgba_in, int quality, bit_ostream& stream)
{
    using namespace image_detail;
    if (width < 0 || height < 0)
        return false;
    quality = quality < 0 ? 0 : quality > 100 ? 100 : quality;
    stream.write(uint32_t(quality), 8);
    float q[64];
    quant_table(quality, false, q);

    int32_t mbw = (width + 15) / 16, mbh = (height + 15) / 16;
    std::vector<coded_macroblock> blocks(size_t(mbw) * size_t(mbh));
    for (int32_t my = 0; my < mbh; ++my)
        for (int32_t mx = 0; mx < mbw; ++mx)
            prepare_macroblock(width, height, rgba_in, mx, my, q,
                               blocks[size_t(my) * size_t(mbw) + size_t(mx)]);

    uint64_t counts[6][256] = {};
    int32_t predictors[4] = {};
    for (const coded_macroblock& mb : blocks)
        for (int b = 0; b < 10; ++b) {
            int t = block_dc_tree[b];
            for_each_symbol(mb.block[b], predictors[block_predictor[b]],
                            [&](bool dc, uint32_t symbol, int32_t) { ++counts[dc ? t : t + 1][symbol]; });
        }

    huff_codes trees[6];
    for (int t = 0; t < 6; ++t) {
        build_tree(counts[t], trees[t]);
        write_tree(trees[t], stream);
    }

    int32_t predictors2[4] = {};
    for (const coded_macroblock& mb : blocks)
        for (int b = 0; b < 10; ++b) {
            int t = block_dc_tree[b];
            for_each_symbol(mb.block[b], predictors2[block_predictor[b]],
                            [&](bool dc, uint32_t symbol, int32_t v) {
                                write_code(stream, trees[dc ? t : t + 1], symbol);
                                write_value(stream, dc ? symbol : symbol >> 4, v);
                            });
        }
    return true;
}
