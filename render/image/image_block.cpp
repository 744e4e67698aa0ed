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

}  // namespace image_detail
