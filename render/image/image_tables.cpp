// The coefficient order and the quantisation table of the image codec.
#include "render/image/image_codec_internal.h"

namespace image_detail {

const uint8_t zigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

// The luminance quantisation table of ITU T.81 Annex K (Table K.1) scaled by 30 %
// with integer rounding, (v * 30 + 50) / 100, taken in zigzag order.
const uint8_t base_quant[64] = {
    5,  3,  4,  4,  4,  3,  5,  4,  4,  4,  5,  5,  5,  6,  7,  12, 8,  7,  7,  7,  7,  15,
    11, 11, 9,  12, 17, 15, 18, 18, 17, 15, 17, 17, 19, 22, 28, 23, 19, 20, 26, 21, 17, 17,
    24, 33, 24, 26, 29, 29, 31, 31, 31, 19, 23, 34, 36, 34, 30, 36, 28, 30, 31, 30,
};

void quant_table(int quality, bool for_decoder, float q[64])
{
    if (quality < 1)
        quality = 1;
    float scale = 100.0f / float(quality);
    for (int k = 0; k < 64; ++k) {
        float v = float(base_quant[k]) * scale;
        q[k] = for_decoder ? v / 64.0f : v;
    }
}

}  // namespace image_detail
