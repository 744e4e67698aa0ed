// The last steps of the full-size decode: chroma smoothing and YCoCg to RGB.
#include "render/image/image_codec_internal.h"
#include "render/image/image_ycocg.h"

namespace image_detail {

namespace {

// The odd pixels of a row take the mean of their neighbours' chroma; the last
// one keeps its pair's chroma when no right neighbour exists.
void smooth_row(uint8_t* row, int32_t width)
{
    int32_t x = 0;
#if defined(__SSE2__)
    // Pixels x .. x + 3 from x .. x + 4; the second load reaches pixel x + 5.
    const __m128i odd_chroma = _mm_set_epi32(0x00ffff00, 0, 0x00ffff00, 0);
    for (; x + 6 <= width; x += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(row + size_t(x) * 4);
        __m128i a = _mm_loadu_si128(at);
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + size_t(x + 2) * 4));
        __m128i mean = _mm_slli_si128(floor_average(a, b), 4);
        _mm_storeu_si128(at, _mm_or_si128(_mm_andnot_si128(odd_chroma, a), _mm_and_si128(odd_chroma, mean)));
    }
#endif
    for (; x < width - 2; x += 2) {
        uint8_t* p = row + size_t(x) * 4;
        p[5] = uint8_t((p[1] + p[9]) >> 1);
        p[6] = uint8_t((p[2] + p[10]) >> 1);
    }
}

void smooth_between(const uint8_t* above, uint8_t* row, const uint8_t* below, int32_t width)
{
    int32_t x = 0;
#if defined(__SSE2__)
    const __m128i chroma = _mm_set1_epi32(0x00ffff00);
    for (; x + 4 <= width; x += 4) {
        size_t i = size_t(x) * 4;
        __m128i* at = reinterpret_cast<__m128i*>(row + i);
        __m128i mean = floor_average(_mm_loadu_si128(reinterpret_cast<const __m128i*>(above + i)),
                                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i)));
        __m128i v = _mm_loadu_si128(at);
        _mm_storeu_si128(at, _mm_or_si128(_mm_andnot_si128(chroma, v), _mm_and_si128(chroma, mean)));
    }
#endif
    for (; x < width; ++x) {
        size_t i = size_t(x) * 4;
        row[i + 1] = uint8_t((above[i + 1] + below[i + 1]) >> 1);
        row[i + 2] = uint8_t((above[i + 2] + below[i + 2]) >> 1);
    }
}

void convert_row(uint8_t* row, int32_t width)
{
    int32_t x = 0;
#if defined(__SSE2__)
    // Four pixels at a time in 16-bit lanes; the same integer arithmetic.
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= width; x += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + size_t(x) * 4));
        __m128i lo = _mm_unpacklo_epi8(v, zero);  // pixels 0, 1 as Y Co Cg A words
        __m128i hi = _mm_unpackhi_epi8(v, zero);  // pixels 2, 3
        // Gather Y, Co, Cg, A of the four pixels into separate words.
        __m128i t0 = _mm_unpacklo_epi16(lo, hi);  // Y0 Y2 Co0 Co2 Cg0 Cg2 A0 A2
        __m128i t1 = _mm_unpackhi_epi16(lo, hi);  // Y1 Y3 Co1 Co3 Cg1 Cg3 A1 A3
        __m128i u0 = _mm_unpacklo_epi16(t0, t1);  // Y0 Y1 Y2 Y3 Co0 Co1 Co2 Co3
        __m128i u1 = _mm_unpackhi_epi16(t0, t1);  // Cg0..3 A0..3
        __m128i a = _mm_unpackhi_epi64(u1, u1);
        __m128i r, g, b;
        ycocg_lanes(u0, _mm_unpackhi_epi64(u0, u0), u1, r, g, b);
        __m128i rg = _mm_packus_epi16(_mm_unpacklo_epi64(r, g), zero);  // R0..3 G0..3
        __m128i ba = _mm_packus_epi16(_mm_unpacklo_epi64(b, a), zero);  // B0..3 A0..3
        __m128i rb = _mm_unpacklo_epi8(rg, _mm_srli_si128(rg, 4));      // R0 G0 R1 G1 ...
        __m128i bb = _mm_unpacklo_epi8(ba, _mm_srli_si128(ba, 4));      // B0 A0 B1 A1 ...
        __m128i out = _mm_unpacklo_epi16(rb, bb);                       // R G B A per pixel
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + size_t(x) * 4), out);
    }
#endif
    for (; x < width; ++x) {
        uint8_t* p = row + size_t(x) * 4;
        ycocg_pixel(p, p[1], p[2]);
    }
}

}  // namespace

void full_finisher::advance(int32_t width, int32_t height, uint8_t* rgba, int32_t rows_ready)
{
    size_t stride = size_t(width) * 4;
    if (next == 0 && rows_ready > 0)
        smooth_row(rgba, width);
    // Even row y is finished with y + 1: row smoothing of y + 2, column smoothing
    // of y + 1 from y and y + 2 (which overwrites y + 1's own row smoothing),
    // then conversion; each needs rows up to y + 2 decoded, or the image's end.
    while (next < height && (next + 2 < rows_ready || rows_ready >= height)) {
        int32_t y = next;
        uint8_t* row = rgba + size_t(y) * stride;
        if (y + 2 < height) {
            smooth_row(row + 2 * stride, width);
            smooth_between(row, row + stride, row + 2 * stride, width);
        } else if (y + 1 < height) {
            smooth_row(row + stride, width);
        }
        convert_row(row, width);
        if (y + 1 < height)
            convert_row(row + stride, width);
        next = y + 2;
    }
}

void finish_full(int32_t width, int32_t height, uint8_t* rgba)
{
    full_finisher f;
    f.advance(width, height, rgba, height);
}

}  // namespace image_detail
