// The fast full-size decoder's last steps. Instead of writing chroma into every
// pixel and smoothing it there, the clamped chroma bytes are kept at quarter
// resolution and each output row's smoothed chroma is computed from them while
// it is converted to RGB. The bytes are the same as the plain path's: a row's
// odd pixels take the mean of their neighbours' pair chroma (floor), an odd row
// the mean of the smoothed rows above and below, and the last pixel or row keeps
// its own when nothing follows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace image_detail {

// The chroma rows of two macroblock rows, used as a ring: while one macroblock
// row is decoded the finisher still needs the last chroma row of the one above.
struct chroma_planes {
    int32_t stride = 0;           // bytes per chroma row, with room to read past the last sample
    std::vector<uint8_t> co, cg;  // Co + 128 and Cg + 128, clamped, one per 2 x 2 pixels

    void reset(int32_t macroblocks_wide);
    uint8_t* co_row(int32_t j) { return co.data() + size_t(j & 15) * size_t(stride); }
    uint8_t* cg_row(int32_t j) { return cg.data() + size_t(j & 15) * size_t(stride); }
};

// Finishes rows (bytes 0 and 3 of each pixel hold Y and A) as they become ready.
struct chroma_finisher {
    int32_t next = 0;                     // first row not yet finished (always even)
    std::vector<uint8_t> smoothed[2][2];  // [buffer][Co, Cg]: a chroma row at full width
    std::vector<uint8_t> mixed[2];
    int current = 0;
    bool have_current = false;

    void advance(int32_t width, int32_t height, uint8_t* rgba, int32_t rows_ready, chroma_planes& planes);
};

}  // namespace image_detail
