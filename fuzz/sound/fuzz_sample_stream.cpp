// Arbitrary bytes as a sample: the first byte chooses whether they are a whole "SAMP"
// chunk (records, then the stream decoded for its frame count, bounded here) or a
// bare "DATA" stream, which is decoded for a bounded number of frames in the pieces
// the mixer uses.
#include "sound/codec/sample_chunk.h"
#include "sound/codec/sample_decoder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr int max_frames = 12000;

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    bool chunk = data[0] & 1;
    ++data;
    --size;
    w_sample_data sample;
    if (chunk) {
        if (!w_read_sample_chunk(data, uint32_t(size), sample))
            return 0;
        sample.head[2] = sample.frames() % max_frames;
    } else {
        sample.data = bit_iovector(data, int32_t(size * 8));
        sample.head[2] = max_frames;
    }
    bit_passive_istream reader = sample.reader();
    std::unique_ptr<w_sample_decoder> decoder = w_sample_decoder::create(&reader);
    if (!decoder)
        return 0;
    std::vector<int16_t> out(2 * 256);
    for (uint32_t done = 0; done < sample.frames();) {
        int piece = sample.frames() - done < 256 ? int(sample.frames() - done) : 256;
        if (decoder->decode(out.data(), piece) != piece)
            __builtin_trap();
        done += uint32_t(piece);
    }
    return 0;
}
