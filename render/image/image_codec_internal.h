// Internals of the image codec shared by its decoders, its encoder and the
// tests: tables, the word reader, Huffman trees and block decoding.
#pragma once

#include "data/bit_stream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace image_detail {

extern const uint8_t zigzag[64];      // zigzag index -> natural index (row * 8 + column)
extern const uint8_t base_quant[64];  // the scaled luminance table, zigzag order

// The quantisation table of a quality, in zigzag order. Quality 0 acts as 1;
// the decoder's table is further divided by 64 (the transform pair's gain).
void quant_table(int quality, bool for_decoder, float q[64]);

// A fast LSB-first reader over 32-bit words. Past the last word it yields zeros;
// `overrun()` tells whether more bits were consumed than the stream has.
struct word_reader {
    const uint32_t* words = nullptr;
    size_t count = 0;       // words available
    size_t next = 0;        // next word to load
    uint64_t buf = 0;       // bit 0 is the next bit
    uint32_t bits = 0;      // valid bits in buf
    int64_t size_bits = 0;  // end of the stream, in bits from words[0]
    int64_t origin = 0;     // stream position of bit 0 of words[0]

    void start(const uint32_t* w, size_t n, int64_t size, int64_t position)
    {
        words = w;
        count = n;
        size_bits = size;
        next = size_t(position >> 5);
        buf = 0;
        bits = 0;
        refill();
        uint32_t drop = uint32_t(position & 31);
        buf >>= drop;
        bits -= drop;
    }
    void refill()
    {
        while (bits <= 32) {
            buf |= uint64_t(next < count ? words[next] : 0) << bits;
            ++next;
            bits += 32;
        }
    }
    // n from 0 to 31.
    uint32_t get(uint32_t n)
    {
        if (bits < n)
            refill();
        uint32_t v = uint32_t(buf) & ((uint32_t(1) << n) - 1);
        buf >>= n;
        bits -= n;
        return v;
    }
    void skip(uint32_t n)
    {
        buf >>= n;
        bits -= n;
    }
    int64_t position() const { return int64_t(next) * 32 - int64_t(bits); }
    bool overrun() const { return position() > size_bits; }
};

// A Huffman tree as carried in the stream, with the 8-bit lookup table.
// Table entries are node index x 16 + code length (1..8) for leaves reached
// within 8 bits; an entry with length 0 names the internal node reached after
// 8 bits (index 0 when the tree is a lone leaf), where decoding goes on bit by bit.
struct huff_tree {
    static constexpr int max_nodes = 511;  // 256 leaves and 255 joins
    int32_t root = 0;
    int16_t left[max_nodes];
    int16_t right[max_nodes];
    uint16_t table[256];
    // For AC use: what 8 bits of stream give when code and value both fit in
    // them. Bits 0-3 length of code and value, 4-7 run, 8 end of block,
    // 9 entry valid, 16-31 the signed value; 0 where the slow path is needed.
    int32_t ac_fast[256];
};

constexpr int32_t ac_fast_valid = 0x200, ac_fast_end = 0x100;

// Reads and checks one tree: a node count beyond what 256 symbols need, child
// indices out of range, a node used twice (cycles, shared subtrees), a leaf that
// is not a symbol, or a stream that ends inside the tree all fail.
bool read_tree(word_reader& r, huff_tree& t);

inline uint32_t decode_symbol(word_reader& r, const huff_tree& t)
{
    if (r.bits < 32)
        r.refill();
    uint32_t e = t.table[r.buf & 255];
    uint32_t len = e & 15;
    if (len) {
        r.skip(len);
        return e >> 4;
    }
    int32_t node = t.root;
    if (e) {
        r.skip(8);
        node = int32_t(e >> 4);
    }
    while (t.left[node] >= 0) {
        if (r.bits == 0)
            r.refill();
        uint32_t bit = uint32_t(r.buf & 1);
        r.skip(1);
        node = bit ? t.right[node] : t.left[node];
    }
    return uint32_t(node);
}

// The value of a size category: s bits b give (b >> 1) + 2^(s-1), negative when
// bit 0 of b is clear.
inline int32_t decode_value(word_reader& r, uint32_t size)
{
    if (size == 0)
        return 0;
    uint32_t b = r.get(size);
    int32_t v = int32_t((b >> 1) + (uint32_t(1) << (size - 1)));
    return (b & 1) ? v : -v;
}

struct decode_trees {
    huff_tree tree[6];  // luma DC, luma AC, chroma DC, chroma AC, alpha DC, alpha AC
    float q[64];
};

// The half-size transform of the plain decoder: 8 x 8 coefficients (natural
// order) to the 4 x 4 means of pixel pairs, with the transform constants at
// their double values and every intermediate rounded to single precision.
void half_transform(const float coefficients[64], float out[16]);

// Reads the quality and the six trees. False for a damaged header.
bool read_header(word_reader& r, decode_trees& d);

// The fewest bits one block can take with these trees: the cheapest DC symbol with its
// value bits, and the cheapest AC symbol with its value bits (every block reads at least
// one). 0 with lone-leaf trees (a flat image); a huge value when no DC symbol is valid.
int64_t least_block_bits(const huff_tree& dc, const huff_tree& ac);
// The same for a macroblock (four luma, four alpha and two chroma blocks).
int64_t least_macroblock_bits(const decode_trees& d);

// Decodes one block's coefficients, dequantised, into out[natural index * stride]
// (the caller zeroes all 64). Returns the number of the last zigzag position set
// plus one (1 for a block with only its DC), or -1 for a bad symbol. Inline, so
// that the reader's state stays in registers across a macroblock.
template <int stride>
inline int decode_block(word_reader& reader, const huff_tree& dc, const huff_tree& ac, int32_t& predictor,
                        const float q[64], float* out)
{
    // The reader's state in locals (registers), stored back once at the end.
    word_reader r = reader;
    uint32_t s = decode_symbol(r, dc);
    if (s > 15)
        return -1;
    // Wrapping arithmetic: a damaged stream may push the predictor anywhere, but
    // never into undefined behaviour.
    predictor = int32_t(uint32_t(predictor) + uint32_t(decode_value(r, s)));
    out[0] = float(predictor) * q[0];
    int last = 1;
    int k = 1;
    while (k < 64) {
        if (r.bits < 32)
            r.refill();
        int32_t f = ac.ac_fast[r.buf & 255];
        if (f & ac_fast_valid) {
            r.skip(uint32_t(f & 15));
            if (f & ac_fast_end)
                break;
            k += (f >> 4) & 15;
            int32_t v = f >> 16;
            if (k < 64 && v != 0) {
                out[zigzag[k] * stride] = float(v) * q[k];
                last = k + 1;
            }
            ++k;
            continue;
        }
        uint32_t symbol = decode_symbol(r, ac);
        if (symbol == 0)
            break;
        k += int(symbol & 15);
        uint32_t size = symbol >> 4;
        int32_t v = decode_value(r, size);
        if (k < 64 && size) {
            out[zigzag[k] * stride] = float(v) * q[k];
            last = k + 1;
        }
        ++k;
    }
    reader = r;
    return last;
}

// Where a macroblock's pixels go: its square of `tile` x `tile` output pixels at
// (x0, y0), of which rows x cols lie inside the image.
struct tile_place {
    int32_t x0, y0, rows, cols;
};

// The frame every decoder shares: reads the header, then visits the macroblocks
// row by row from the top. `macroblock(d, predictors, place)` decodes one and
// writes its pixels, false for a damaged one; `row_done(rows_ready)` follows each
// macroblock row whose bits were all in the stream. `tile` is 16 at full size
// and 8 at half size.
template <int tile, typename Macroblock, typename RowDone>
inline bool decode_macroblocks(int32_t width, int32_t height, word_reader& r, Macroblock&& macroblock,
                               RowDone&& row_done)
{
    decode_trees d;
    if (!read_header(r, d))
        return false;
    int32_t mbw = (width + tile - 1) / tile, mbh = (height + tile - 1) / tile;
    int32_t predictors[4] = {};
    for (int32_t my = 0; my < mbh; ++my) {
        for (int32_t mx = 0; mx < mbw; ++mx) {
            int32_t x0 = mx * tile, y0 = my * tile;
            tile_place place{x0, y0, height - y0 < tile ? height - y0 : tile,
                             width - x0 < tile ? width - x0 : tile};
            if (!macroblock(d, predictors, place))
                return false;
        }
        if (r.overrun())
            return false;
        row_done((my + 1) * tile < height ? (my + 1) * tile : height);
    }
    return true;
}

// Binds a reader to a stream at its position. A `bit_iovector` is read in place;
// any other stream is copied word by word into `copy` first.
void reader_for(bit_seek_stream& stream, word_reader& r, std::vector<uint32_t>& copy);
// Moves the stream to the reader's position (at most its size).
void finish_reader(bit_seek_stream& stream, const word_reader& r);

// The decoders proper, on a bound reader; the public functions wrap them.
bool decode_full_plain(int32_t width, int32_t height, word_reader& r, uint8_t* out);
bool decode_half_plain(int32_t width, int32_t height, word_reader& r, uint8_t* out);
bool decode_full_vector(int32_t width, int32_t height, word_reader& r, uint8_t* out);
bool decode_half_vector(int32_t width, int32_t height, word_reader& r, uint8_t* out);

// The last steps of the full-size decode, on bytes Y, Co + 128, Cg + 128, A:
// chroma smoothing along rows and then columns, then conversion to RGB.
void finish_full(int32_t width, int32_t height, uint8_t* rgba);
// The same, done as rows become ready so that they are still in the cache:
// call with the number of decoded rows after each macroblock row.
struct full_finisher {
    int32_t next = 0;  // first row not yet finished (always even)
    void advance(int32_t width, int32_t height, uint8_t* rgba, int32_t rows_ready);
};

// The real clamp of the decoders: 0 below 0, 255 from 255 up, else truncated.
inline uint8_t clamp_real(float v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    return uint8_t(int32_t(v));
}

// Encoder side: builds a tree from symbol counts exactly as the format expects
// (joining the two smallest non-zero parentless weights, the smaller on the left,
// new nodes numbered from 256, ties to the lower index), then, if a code came out
// longer than `max_code_bits`, halves the weights (keeping them non-zero) and
// builds again until every code fits.
struct huff_codes {
    int32_t root = 0;
    std::vector<int16_t> left, right;  // per node, -1 for leaves
    uint32_t code[256] = {};
    uint8_t length[256] = {};
};
constexpr int max_code_bits = 32;
void build_tree(const uint64_t counts[256], huff_codes& out, int max_bits = max_code_bits);
void write_tree(const huff_codes& t, bit_ostream& s);

inline uint32_t size_category(int32_t v)
{
    uint32_t a = uint32_t(v < 0 ? -v : v);
    uint32_t s = 0;
    while (a) {
        ++s;
        a >>= 1;
    }
    return s;
}

}  // namespace image_detail
