// The fast image decoders: the blocks of a macroblock are transformed four at a
// time, one block per lane (four luma, four alpha, Co and Cg together), in
// single precision. The full-size result equals the plain decoder's; the half
// size one differs by rounding only (its transform constants are the nearest
// floats, where the plain one multiplies by their double values).
#include "render/image/image_codec_internal.h"
#include "render/image/image_finish_fast.h"
#include "render/image/image_transform.h"
#include "render/image/image_vec4.h"

#include <cstring>

namespace image_detail {

namespace {

// Coefficients of four blocks interleaved: entry i of block lane l at [i * 4 + l].
struct lane_blocks {
    alignas(16) float luma[256];
    alignas(16) float alpha[256];
    alignas(16) float chroma[256];  // lanes Co, Cg and two idle ones
    int luma_last = 0, alpha_last = 0, chroma_last = 0;
};

bool decode_macroblock4(word_reader& reader, const decode_trees& d, int32_t predictors[4], lane_blocks& m)
{
    // A local copy of the reader lives in registers; written back at the end.
    word_reader r = reader;
    std::memset(m.luma, 0, sizeof m.luma);
    std::memset(m.alpha, 0, sizeof m.alpha);
    std::memset(m.chroma, 0, sizeof m.chroma);
    m.luma_last = m.alpha_last = m.chroma_last = 0;
    for (int q = 0; q < 4; ++q) {
        int l = decode_block<4>(r, d.tree[0], d.tree[1], predictors[0], d.q, m.luma + q);
        int a = decode_block<4>(r, d.tree[4], d.tree[5], predictors[1], d.q, m.alpha + q);
        if (l < 0 || a < 0)
            return false;
        m.luma_last = l > m.luma_last ? l : m.luma_last;
        m.alpha_last = a > m.alpha_last ? a : m.alpha_last;
    }
    int co = decode_block<4>(r, d.tree[2], d.tree[3], predictors[2], d.q, m.chroma + 0);
    int cg = decode_block<4>(r, d.tree[2], d.tree[3], predictors[3], d.q, m.chroma + 1);
    if (co < 0 || cg < 0)
        return false;
    m.chroma_last = co > cg ? co : cg;
    reader = r;
    return true;
}

// The inverse transform of four blocks; the same shortcuts as the plain form
// (they are exact), taken when all four lanes allow them.
void inverse4(const float* coefficients, int last, vec4 x[64])
{
    static const vec4_constants c;
    if (last <= 1) {
        vec4 dc = vec4::load(coefficients);
        for (int i = 0; i < 64; ++i)
            x[i] = dc;
        return;
    }
    for (int i = 0; i < 64; ++i)
        x[i] = vec4::load(coefficients + i * 4);
    inverse8x8(x, c);
}

// The half transform of four blocks in single precision: 4 x 4 means out.
void half4(const float* coefficients, int last, vec4 out[16])
{
    static const vec4_constants c;
    const vec4 half(0.5f);
    if (last <= 1) {
        vec4 dc = vec4::load(coefficients);
        for (int i = 0; i < 16; ++i)
            out[i] = dc;
        return;
    }
    vec4 x[64], mid[32];
    for (int i = 0; i < 64; ++i)
        x[i] = vec4::load(coefficients + i * 4);
    for (int col = 0; col < 8; ++col)
        inverse8_half(x + col, mid + col, 8, 8, c, half);
    for (int r = 0; r < 4; ++r)
        inverse8_half(mid + r * 8, out + r * 4, 1, 1, c, half);
}

// Splits n interleaved vectors (lanes = blocks) into up to four planar blocks.
void deinterleave(vec4* x, int n, float* plane0, float* plane1, float* plane2, float* plane3)
{
    for (int i = 0; i < n; i += 4) {
        vec4 a = x[i], b = x[i + 1], c = x[i + 2], d = x[i + 3];
        transpose4(a, b, c, d);
        a.store(plane0 + i);
        b.store(plane1 + i);
        if (plane2) {
            c.store(plane2 + i);
            d.store(plane3 + i);
        }
    }
}

#if defined(__SSE2__)
// The real clamp of four lanes, as 32-bit integers from 0 to 255. The max comes
// first so that a NaN lane becomes 0, as in the scalar clamp.
inline __m128i clamp_lanes(vec4 c)
{
    return _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(c.v, _mm_setzero_ps()), _mm_set1_ps(255.0f)));
}
#endif

// Four pixels of four channels, each through the real clamp, as bytes.
inline void put4(uint8_t* p, vec4 c0, vec4 c1, vec4 c2, vec4 c3)
{
#if defined(__SSE2__)
    __m128i b0 = clamp_lanes(c0), b1 = clamp_lanes(c1), b2 = clamp_lanes(c2), b3 = clamp_lanes(c3);
    __m128i px = _mm_or_si128(_mm_or_si128(b0, _mm_slli_epi32(b1, 8)),
                              _mm_or_si128(_mm_slli_epi32(b2, 16), _mm_slli_epi32(b3, 24)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), px);
#else
    for (int i = 0; i < 4; ++i) {
        p[i * 4 + 0] = clamp_real(c0.v[i]);
        p[i * 4 + 1] = clamp_real(c1.v[i]);
        p[i * 4 + 2] = clamp_real(c2.v[i]);
        p[i * 4 + 3] = clamp_real(c3.v[i]);
    }
#endif
}

// Four pixels' Y and A through the real clamp; bytes 1 and 2 are left 0 for the
// finisher, which takes chroma from the planes.
inline void put_luma_alpha(uint8_t* p, vec4 y, vec4 a)
{
#if defined(__SSE2__)
    __m128i px = _mm_or_si128(clamp_lanes(y), _mm_slli_epi32(clamp_lanes(a), 24));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), px);
#else
    for (int i = 0; i < 4; ++i) {
        p[i * 4 + 0] = clamp_real(y.v[i]);
        p[i * 4 + 1] = 0;
        p[i * 4 + 2] = 0;
        p[i * 4 + 3] = clamp_real(a.v[i]);
    }
#endif
}

// Eight chroma values + 128 through the real clamp into bytes.
inline void put_chroma8(uint8_t* p, vec4 c0, vec4 c1)
{
#if defined(__SSE2__)
    __m128i words = _mm_packs_epi32(clamp_lanes(c0), clamp_lanes(c1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(words, words));
#else
    for (int i = 0; i < 4; ++i) {
        p[i] = clamp_real(c0.v[i]);
        p[i + 4] = clamp_real(c1.v[i]);
    }
#endif
}

// Copies a macroblock row of decoded pixels; whole rows go straight to the
// image, the clipped ones through a scratch row.
struct row_target {
    uint8_t scratch[16 * 4];
    uint8_t* dest;
    int32_t cols;
    int32_t full;
    uint8_t* begin(uint8_t* row, int32_t c, int32_t width_of_tile)
    {
        dest = row;
        cols = c;
        full = width_of_tile;
        return cols == full ? row : scratch;
    }
    void end()
    {
        if (cols != full)
            std::memcpy(dest, scratch, size_t(cols) * 4);
    }
};

}  // namespace

bool decode_full_vector(int32_t width, int32_t height, word_reader& r, uint8_t* out)
{
    lane_blocks m;
    vec4 x[64];
    alignas(16) float luma[4][64], alpha[4][64], co[64], cg[64];
    const vec4 bias(128.0f);
    size_t stride = size_t(width) * 4;
    row_target target;
    chroma_planes planes;
    planes.reset((width + 15) / 16);
    chroma_finisher finisher;
    auto macroblock = [&](const decode_trees& d, int32_t predictors[4], tile_place at) {
        if (!decode_macroblock4(r, d, predictors, m))
            return false;
        inverse4(m.luma, m.luma_last, x);
        deinterleave(x, 64, luma[0], luma[1], luma[2], luma[3]);
        inverse4(m.alpha, m.alpha_last, x);
        deinterleave(x, 64, alpha[0], alpha[1], alpha[2], alpha[3]);
        inverse4(m.chroma, m.chroma_last, x);
        deinterleave(x, 64, co, cg, nullptr, nullptr);
        int32_t cx = at.x0 / 2, cy0 = at.y0 / 2;
        for (int32_t cy = 0; cy < 8; ++cy) {
            put_chroma8(planes.co_row(cy0 + cy) + cx, vec4::load(co + cy * 8) + bias,
                        vec4::load(co + cy * 8 + 4) + bias);
            put_chroma8(planes.cg_row(cy0 + cy) + cx, vec4::load(cg + cy * 8) + bias,
                        vec4::load(cg + cy * 8 + 4) + bias);
        }
        for (int32_t y = 0; y < at.rows; ++y) {
            uint8_t* p = target.begin(out + size_t(at.y0 + y) * stride + size_t(at.x0) * 4, at.cols, 16);
            for (int32_t x4 = 0; x4 < 16; x4 += 4, p += 16) {
                int quarter = (y >> 3) * 2 + (x4 >> 3);
                int i = (y & 7) * 8 + (x4 & 7);
                put_luma_alpha(p, vec4::load(luma[quarter] + i), vec4::load(alpha[quarter] + i));
            }
            target.end();
        }
        return true;
    };
    auto rows_done = [&](int32_t rows_ready) { finisher.advance(width, height, out, rows_ready, planes); };
    if (!decode_macroblocks<16>(width, height, r, macroblock, rows_done))
        return false;
    finisher.advance(width, height, out, height, planes);
    return true;
}

bool decode_half_vector(int32_t width, int32_t height, word_reader& r, uint8_t* out)
{
    lane_blocks m;
    vec4 x[64], luma4[16], alpha4[16];
    alignas(16) float luma[4][16], alpha[4][16], co[68] = {}, cg[68] = {};
    size_t stride = size_t(width) * 4;
    row_target target;
    auto macroblock = [&](const decode_trees& d, int32_t predictors[4], tile_place at) {
        if (!decode_macroblock4(r, d, predictors, m))
            return false;
        half4(m.luma, m.luma_last, luma4);
        deinterleave(luma4, 16, luma[0], luma[1], luma[2], luma[3]);
        half4(m.alpha, m.alpha_last, alpha4);
        deinterleave(alpha4, 16, alpha[0], alpha[1], alpha[2], alpha[3]);
        inverse4(m.chroma, m.chroma_last, x);
        deinterleave(x, 64, co, cg, nullptr, nullptr);
        for (int32_t y = 0; y < at.rows; ++y) {
            uint8_t* p = target.begin(out + size_t(at.y0 + y) * stride + size_t(at.x0) * 4, at.cols, 8);
            for (int32_t x4 = 0; x4 < 8; x4 += 4, p += 16) {
                int quarter = (y >> 2) * 2 + (x4 >> 2);
                int i = (y & 3) * 4;
                vec4 l = vec4::load(luma[quarter] + i);
                vec4 vco = vec4::load(co + y * 8 + x4), vcg = vec4::load(cg + y * 8 + x4);
                put4(p, l + vco - vcg, l + vcg, l - vco - vcg, vec4::load(alpha[quarter] + i));
            }
            target.end();
        }
        return true;
    };
    return decode_macroblocks<8>(width, height, r, macroblock, [](int32_t) {});
}

}  // namespace image_detail
