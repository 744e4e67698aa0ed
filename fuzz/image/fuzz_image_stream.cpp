// Arbitrary bytes as image data. Byte 0 picks the form: bit 7 clear, the rest is a
// coded stream decoded at a small size (bytes 1 and 2: width and height, 1..64)
// full and half, plain and fast; bit 7 set, the rest is an "IMAG" chunk's records.
// Plain and fast full-size decodes must agree exactly, and a stream the size check
// refuses must not decode.
#include "data/pak_chunk.h"
#include "render/image/image_chunk.h"
#include "render/image/image_codec.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void decode_stream(const uint8_t* data, size_t size)
{
    if (size < 3)
        return;
    int32_t w = 1 + data[1] % 64, h = 1 + data[2] % 64;
    data += 3;
    size -= 3;
    bit_iovector stream(data, int32_t(size * 8));
    // The size check is a true lower bound: a stream it refuses never decodes.
    bool fits = image_stream_fits(w, h, stream);
    std::vector<uint8_t> plain(size_t(w) * size_t(h) * 4), fast(plain.size());
    bool ok_plain = image_decode_full(w, h, stream, plain.data());
    stream.seek(0);
    bool ok_fast = image_decode_full_fast(w, h, stream, fast.data());
    if (ok_plain != ok_fast || plain != fast || (ok_plain && !fits))
        std::abort();
    if (!image_half_size_ok(w, h) || w < 2 || h < 2)
        return;
    std::vector<uint8_t> half(size_t(w / 2) * size_t(h / 2) * 4), half_fast(half.size());
    stream.seek(0);
    bool ok_half = image_decode_half(w / 2, h / 2, stream, half.data());
    stream.seek(0);
    bool ok_half_fast = image_decode_half_fast(w / 2, h / 2, stream, half_fast.data());
    if (ok_half != ok_half_fast)
        std::abort();
}

void decode_chunk(const uint8_t* data, size_t size)
{
    // Large heads are legal but would only test the allocator.
    pak_rawchunk walker(data, uint32_t(size));
    pak_record head;
    if (walker.find(pak_code_head, head)) {
        image_head h = image_head_from_bytes(head.data, head.size);
        if (int64_t(h.width) * int64_t(h.height) > 256 * 256)
            return;
    }
    std::string error;
    image_rgba out;
    for (int mode = 0; mode < 4; ++mode)
        image_from_chunk(data, size, mode & 1, mode & 2, out, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20))
        return 0;
    if (data[0] & 0x80)
        decode_chunk(data + 1, size - 1);
    else
        decode_stream(data, size);
    return 0;
}
