// Reading and writing the records of a "SAMP" chunk, and whole-sample decoding.
#include "sound/codec/sample_chunk.h"

#include "data/byte_order.h"
#include "data/pak_chunk.h"
#include "sound/codec/sample_decoder.h"

#include <cstring>

bool w_read_sample_chunk(const uint8_t* bytes, uint32_t size, w_sample_data& out)
{
    out = w_sample_data{};
    pak_rawchunk walker(bytes, size);
    pak_record head, data;
    if (!walker.find(pak_code_head, head) || !walker.find(pak_code_data, data))
        return false;
    uint8_t padded[12] = {};
    std::memcpy(padded, head.data, head.size < 12 ? head.size : 12);
    for (int i = 0; i < 3; ++i)
        out.head[i] = load_le32(padded + 4 * i);
    // The bit vector counts bits in a signed 32-bit size.
    if (data.size > uint32_t(INT32_MAX / 8))
        return false;
    out.data = bit_iovector(data.data, int32_t(data.size * 8));
    return true;
}

std::vector<uint8_t> w_sample_chunk_bytes(uint32_t frames, const std::vector<uint8_t>& stream)
{
    std::vector<uint8_t> head(12, 0);
    for (int i = 0; i < 4; ++i)
        head[size_t(8 + i)] = uint8_t(frames >> (8 * i));
    pak_editchunk chunk = pak_editchunk::node(
        pak_code_samp, "",
        {pak_editchunk::leaf(pak_code_head, "", head), pak_editchunk::leaf(pak_code_data, "", stream)});
    std::vector<uint8_t> out;
    chunk.serialise_content(out);
    return out;
}

bool w_decode_sample(const w_sample_data& sample, std::vector<int16_t>& pcm, bool& short_stream,
                     std::string& error)
{
    pcm.clear();
    short_stream = false;
    bit_passive_istream reader = sample.reader();
    std::unique_ptr<w_sample_decoder> decoder = w_sample_decoder::create(&reader);
    if (!decoder) {
        error =
            sample.data.length ? "the stream header declares no valid block size" : "the sample has no data";
        return false;
    }
    // Every block of both channels takes at least 18 bits (two gains and two
    // symbols), so a "HEAD" that claims more frames than the data could hold is
    // damaged: decoding stops where the data must have ended, instead of producing
    // (and allocating) gigabytes of silence.
    uint64_t n = uint64_t(decoder->block_size());
    uint64_t limit = (uint64_t(sample.data.length) / 18 + 1) * n;
    uint64_t frames = sample.frames();
    if (frames > limit) {
        frames = limit;
        short_stream = true;
    }
    pcm.resize(size_t(frames) * 2);
    for (uint64_t done = 0; done < frames;) {
        int piece = int(frames - done < 65536 ? frames - done : 65536);
        decoder->decode(pcm.data() + 2 * done, piece);
        done += uint64_t(piece);
    }
    short_stream = short_stream || decoder->exhausted();
    return true;
}
