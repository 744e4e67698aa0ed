// The texture image codec: a lossy transform codec for RGBA images with alpha
// (YCoCg colour, 16 x 16 macroblocks of 8 x 8 blocks, a floating-point 8-point
// transform, one quality-scaled quantisation table and Huffman trees carried in
// each stream), and the "IMAG" image data it is stored in.
//
// The stream holds no size: width and height come from the container. Decoders
// exist at full and half size, each in a plain form and a fast form that works
// on four blocks at a time in single-precision vectors; the fast forms differ
// from the plain ones by rounding only.
#pragma once

#include "data/bit_stream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Fills width x height x 4 bytes (rows top to bottom, R G B A) from the stream at
// its current position. Returns false, with the whole output zeroed, when the
// stream is damaged (bad tree, bad symbol, or it ends before the image does).
bool image_decode_full(int32_t width, int32_t height, bit_seek_stream& stream, uint8_t* rgba_out);
bool image_decode_full_fast(int32_t width, int32_t height, bit_seek_stream& stream, uint8_t* rgba_out);

// The same from a stream coded at full size, giving an image of the halved
// width and height passed here. Full sizes of the form 16 k + 1 cannot be
// decoded this way (the tiling would miss a macroblock column or row): use
// `image_half_size_ok` first, as `image_decode_data` does.
bool image_decode_half(int32_t half_width, int32_t half_height, bit_seek_stream& stream, uint8_t* rgba_out);
bool image_decode_half_fast(int32_t half_width, int32_t half_height, bit_seek_stream& stream,
                            uint8_t* rgba_out);

// Whether the stream, from its position, can hold an image of this size: its trees give
// the fewest bits a macroblock takes, and the stream must have them for every macroblock.
// Decoders of untrusted data ask before they allocate the image, so that a short stream
// claiming a huge size is refused at once. False for a damaged header too. The stream's
// position is left where it was.
bool image_stream_fits(int32_t width, int32_t height, bit_seek_stream& stream);

// True when an image of this full size can be decoded at half size.
bool image_half_size_ok(int32_t full_width, int32_t full_height);

// Appends a coded image (quality clamped to 0..100) to the stream. Returns false
// only for a negative size.
bool image_encode(int32_t width, int32_t height, const uint8_t* rgba_in, int quality, bit_ostream& stream);

// True when the processor has the vector unit the fast decoders were built for;
// the portable 4-wide form needs nothing, so this is true where SSE2 is not used.
bool image_cpu_has_fast_decoder();

// The "HEAD" record of an "IMAG" chunk: 16 bytes, all little-endian 32-bit.
struct image_head {
    uint32_t unused = 0;  // never read by the game; the tools write 0
    int32_t width = 0;
    int32_t height = 0;
    uint32_t flags = 0;  // bit 0: "DATA" is a coded stream, else raw RGBA
};

constexpr uint32_t image_flag_coded = 1;
// Larger images are refused: a tiny stream can describe a huge flat image.
constexpr int32_t image_max_dimension = 16384;

// Reads a "HEAD" record; a shorter record counts as padded with zero bytes.
image_head image_head_from_bytes(const uint8_t* bytes, size_t size);
void image_head_to_bytes(const image_head& head, uint8_t out[16]);

struct image_rgba {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;  // width x height x 4
};

// Decodes the "DATA" record described by a head. With `half` a coded image is
// decoded at half size (integer halving) unless its size cannot be (16 k + 1),
// then at full size; raw RGBA is always returned as it stands. On failure
// (bad size, short raw data, damaged stream) returns false and an empty image.
bool image_decode_data(const image_head& head, const uint8_t* data, size_t size, bool half, bool fast,
                       image_rgba& out);

// Codes an image as the "DATA" record bytes for a head with flags bit 0 set.
std::vector<uint8_t> image_encode_data(int32_t width, int32_t height, const uint8_t* rgba, int quality);
