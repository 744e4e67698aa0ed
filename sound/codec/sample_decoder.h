// The sample codec's decoder: turns a compressed stream (mid and side channels in
// MDCT blocks, entropy-coded with adaptive Huffman models) into interleaved 16-bit
// stereo frames on demand.
#pragma once

#include "data/bit_stream.h"
#include "sound/codec/huffman_model.h"
#include "sound/codec/mdct.h"

#include <cstdint>
#include <memory>
#include <vector>

// Block sizes a stream may declare: powers of two in this range. Anything else is a
// damaged header, refused before any table is built.
constexpr int w_min_block_size = 16;
constexpr int w_max_block_size = 4096;

bool w_block_size_ok(int block_size);

// Per-stream constants that the encoder and the decoder derive alike from the header.
struct w_codec_tables {
    int n = 0;                  // N, the block size
    int step = 0;               // q, the quantiser step parameter
    int log2_n = 0;             // L: the smallest k >= 1 with 2^k >= N
    float log_step = 0;         // s = ln(1 + q/128), one quantiser step in natural-log units
    std::vector<float> offset;  // t[i], the spectral offset of coefficient i
    std::vector<float> window;  // w[i], i < N; the falling half reads it backward

    w_codec_tables(int block_size, int step_parameter);
};

class w_sample_decoder {
public:
    // Reads the header from `reader` (which must outlive the decoder), builds the
    // tables and models and decodes the priming block. Null when there is no reader
    // or the header declares a block size that is not a power of two in
    // [w_min_block_size, w_max_block_size].
    static std::unique_ptr<w_sample_decoder> create(bit_passive_istream* reader);

    // Starts the stream again from the header, which `reader` must now point at (a looping
    // voice at its end). Everything is reset in the memory the decoder already holds, so
    // the mixer thread can call it without allocating. False, leaving the decoder dry,
    // when the header no longer matches the one the decoder was made for.
    bool rewind();

    // Writes n interleaved left/right frames and returns n. Once the stream has run
    // past the end of its data, the damaged block and all later ones are silence.
    int decode(int16_t* out, int frames);

    // True once a read went past the end of the data.
    bool exhausted() const { return dry; }

    int block_size() const { return tables.n; }
    int step() const { return tables.step; }

    // One channel's state: the two models (low and high coefficients), and the output
    // block with the overlap of the previous block's second half.
    struct channel {
        w_huffman_model models[2];
        std::vector<float> out;
        std::vector<float> save;
    };

    bit_passive_istream* reader;
    w_codec_tables tables;
    w_mdct transform;
    channel channels[2];              // 0 mid, 1 side
    std::vector<float> coefficients;  // X, N values
    std::vector<float> spectrum_out;  // y, 2N values
    int position;                     // p, the next frame within the current output blocks
    bool dry = false;

    w_sample_decoder(bit_passive_istream* reader, int block_size, int step_parameter);
    // Decodes one block of a channel into its out/save pair.
    void decode_block(int c);
    // Decodes the priming block that every stream starts with.
    void prime();
};
