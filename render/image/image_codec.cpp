// The image codec's entry points: stream binding and failure handling around
// the decoders, the "IMAG" head record and whole "DATA" records.
#include "render/image/image_codec.h"
#include "data/byte_order.h"
#include "render/image/image_codec_internal.h"

#include <cstring>

namespace {

using decoder = bool (*)(int32_t, int32_t, image_detail::word_reader&, uint8_t*);

// A failed decode leaves a fully defined (black, transparent) image behind.
bool run_decoder(decoder d, int32_t width, int32_t height, bit_seek_stream& stream, uint8_t* out)
{
    if (width <= 0 || height <= 0)
        return width == 0 || height == 0 ? width >= 0 && height >= 0 : false;
    image_detail::word_reader r;
    std::vector<uint32_t> copy;
    image_detail::reader_for(stream, r, copy);
    bool ok = d(width, height, r, out) && !r.overrun();
    image_detail::finish_reader(stream, r);
    if (!ok)
        std::memset(out, 0, size_t(width) * size_t(height) * 4);
    return ok;
}

}  // namespace

bool image_decode_full(int32_t width, int32_t height, bit_seek_stream& stream, uint8_t* rgba_out)
{
    return run_decoder(image_detail::decode_full_plain, width, height, stream, rgba_out);
}

bool image_decode_full_fast(int32_t width, int32_t height, bit_seek_stream& stream, uint8_t* rgba_out)
{
    return run_decoder(image_detail::decode_full_vector, width, height, stream, rgba_out);
}

bool image_decode_half(int32_t half_width, int32_t half_height, bit_seek_stream& stream, uint8_t* rgba_out)
{
    return run_decoder(image_detail::decode_half_plain, half_width, half_height, stream, rgba_out);
}

bool image_decode_half_fast(int32_t half_width, int32_t half_height, bit_seek_stream& stream,
                            uint8_t* rgba_out)
{
    return run_decoder(image_detail::decode_half_vector, half_width, half_height, stream, rgba_out);
}

bool image_stream_fits(int32_t width, int32_t height, bit_seek_stream& stream)
{
    if (width <= 0 || height <= 0)
        return width >= 0 && height >= 0;
    int32_t at = stream.tell();
    image_detail::word_reader r;
    std::vector<uint32_t> copy;
    image_detail::reader_for(stream, r, copy);
    stream.seek(at);
    image_detail::decode_trees d;
    if (!image_detail::read_header(r, d))
        return false;
    int64_t macroblocks = int64_t((width + 15) / 16) * int64_t((height + 15) / 16);
    int64_t least = image_detail::least_macroblock_bits(d);
    int64_t left = r.size_bits - r.position();
    return least == 0 || macroblocks <= left / least;
}

bool image_half_size_ok(int32_t full_width, int32_t full_height)
{
    return full_width % 16 != 1 && full_height % 16 != 1;
}

bool image_cpu_has_fast_decoder()
{
#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
    return __builtin_cpu_supports("sse2");
#else
    return true;
#endif
}

image_head image_head_from_bytes(const uint8_t* bytes, size_t size)
{
    uint8_t padded[16] = {};
    if (bytes)
        std::memcpy(padded, bytes, size < 16 ? size : 16);
    image_head h;
    h.unused = load_le32(padded);
    h.width = int32_t(load_le32(padded + 4));
    h.height = int32_t(load_le32(padded + 8));
    h.flags = load_le32(padded + 12);
    return h;
}

void image_head_to_bytes(const image_head& head, uint8_t out[16])
{
    store_le32(out, head.unused);
    store_le32(out + 4, uint32_t(head.width));
    store_le32(out + 8, uint32_t(head.height));
    store_le32(out + 12, head.flags);
}

bool image_decode_data(const image_head& head, const uint8_t* data, size_t size, bool half, bool fast,
                       image_rgba& out)
{
    out = image_rgba{};
    if (head.width <= 0 || head.height <= 0 || head.width > image_max_dimension ||
        head.height > image_max_dimension)
        return false;
    size_t pixels = size_t(head.width) * size_t(head.height);
    if (!(head.flags & image_flag_coded)) {
        // Raw RGBA must cover the whole image; a short record is refused.
        if (!data || size < pixels * 4)
            return false;
        out.width = head.width;
        out.height = head.height;
        out.pixels.assign(data, data + pixels * 4);
        return true;
    }
    if (!data || size > size_t(INT32_MAX / 8))
        return false;
    bit_iovector stream(data, int32_t(size * 8));
    // Before the image is allocated: a few hundred bytes must not claim a gigabyte.
    if (!image_stream_fits(head.width, head.height, stream))
        return false;
    image_rgba img;
    bool ok;
    if (half && image_half_size_ok(head.width, head.height) && head.width >= 2 && head.height >= 2) {
        img.width = head.width / 2;
        img.height = head.height / 2;
        img.pixels.resize(size_t(img.width) * size_t(img.height) * 4);
        ok = fast ? image_decode_half_fast(img.width, img.height, stream, img.pixels.data())
                  : image_decode_half(img.width, img.height, stream, img.pixels.data());
    } else {
        img.width = head.width;
        img.height = head.height;
        img.pixels.resize(pixels * 4);
        ok = fast ? image_decode_full_fast(img.width, img.height, stream, img.pixels.data())
                  : image_decode_full(img.width, img.height, stream, img.pixels.data());
    }
    if (ok)
        out = std::move(img);
    return ok;
}

std::vector<uint8_t> image_encode_data(int32_t width, int32_t height, const uint8_t* rgba, int quality)
{
    bit_iovector stream;
    image_encode(width, height, rgba, quality, stream);
    return stream.bytes();
}
