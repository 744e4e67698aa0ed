// Stream access and block decoding shared by every image decoder.
#include "render/image/image_codec_internal.h"

namespace image_detail {

void reader_for(bit_seek_stream& stream, word_reader& r, std::vector<uint32_t>& copy)
{
    if (auto* v = dynamic_cast<bit_iovector*>(&stream)) {
        r.start(v->words.data(), v->words.size(), v->size(), v->tell());
        r.origin = 0;
        return;
    }
    // Any other stream: take its remaining bits into words of our own.
    int32_t from = stream.tell();
    int32_t remaining = stream.size() - from;
    if (remaining < 0)
        remaining = 0;
    copy.assign((size_t(remaining) + 31) / 32, 0);
    for (int32_t bit = 0; bit < remaining; bit += 16) {
        int n = remaining - bit < 16 ? remaining - bit : 16;
        copy[size_t(bit) >> 5] |= stream.read(n) << (bit & 31);
    }
    r.start(copy.data(), copy.size(), remaining, 0);
    r.origin = from;
}

void finish_reader(bit_seek_stream& stream, const word_reader& r)
{
    int64_t p = r.position();
    if (p > r.size_bits)
        p = r.size_bits;
    stream.seek(int32_t(r.origin + p));
}

bool read_header(word_reader& r, decode_trees& d)
{
    int quality = int(r.get(8));
    quant_table(quality, true, d.q);
    for (huff_tree& t : d.tree)
        if (!read_tree(r, t))
            return false;
    return !r.overrun();
}

int decode_block(word_reader& r, const huff_tree& dc, const huff_tree& ac, int32_t& predictor,
                 const float q[64], float* out, int stride)
{
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
    return last;
}

}
