// The sample codec's encoder, the mirror image of the decoder: forward MDCT of the
// mid and side channels, a gain per block, the logarithmic quantiser and run/class
// symbols through the same adaptive Huffman models.
#pragma once

#include <cstdint>
#include <vector>

struct w_encode_params {
    // N: a power of two from 16 to 4096. 512 keeps pre-echo around drum hits short.
    int block_size = 512;
    // q: one quantiser step is a factor 1 + q/128. Below about 28 the fixed floor at
    // the lowest gain rises above quiet bass, so lower steps lose it.
    int step = 28;
};

struct w_encoded_sample {
    std::vector<uint8_t> stream;  // the "DATA" bytes
    uint32_t frames = 0;          // stereo frames, for "HEAD"
    int clamps = 0;               // coefficients whose level had to be clamped to 127
};

// Encodes interleaved 16-bit stereo frames. False (and nothing encoded) when the
// block size is not a power of two in range or the step is not in 1..255.
bool w_encode_sample(const int16_t* interleaved, uint32_t frames, const w_encode_params& params,
                     w_encoded_sample& result);
