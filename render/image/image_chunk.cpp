// "IMAG" chunk content: walking its records for the image, and making them.
#include "render/image/image_chunk.h"

#include "data/pak_chunk.h"

bool image_from_chunk(const uint8_t* bytes, size_t size, bool half, bool fast, image_rgba& out,
                      std::string& error)
{
    out = image_rgba{};
    if (size > UINT32_MAX) {
        error = "chunk too large";
        return false;
    }
    pak_rawchunk walker(bytes, uint32_t(size));
    pak_record head_record, data_record;
    if (!walker.find(pak_code_head, head_record)) {
        error = "no HEAD record";
        return false;
    }
    image_head head = image_head_from_bytes(head_record.data, head_record.size);
    if (!walker.find(pak_code_data, data_record)) {
        error = "no DATA record";
        return false;
    }
    if (head.width <= 0 || head.height <= 0 || head.width > image_max_dimension ||
        head.height > image_max_dimension) {
        error = "unusable image size " + std::to_string(head.width) + " x " + std::to_string(head.height);
        return false;
    }
    if (!image_decode_data(head, data_record.data, data_record.size, half, fast, out)) {
        error = (head.flags & image_flag_coded) ? "damaged image data" : "raw image data too short";
        return false;
    }
    return true;
}

std::vector<uint8_t> image_chunk_records(const image_head& head, std::vector<uint8_t> data)
{
    std::vector<uint8_t> head_bytes(16);
    image_head_to_bytes(head, head_bytes.data());
    pak_editchunk chunk =
        pak_editchunk::node(pak_code_imag, "",
                            {pak_editchunk::leaf(pak_code_head, "HEAD", std::move(head_bytes)),
                             pak_editchunk::leaf(pak_code_data, "DATA", std::move(data))});
    std::vector<uint8_t> out;
    chunk.serialise_content(out);
    return out;
}

std::vector<uint8_t> image_chunk_content(int32_t width, int32_t height, const uint8_t* rgba, int quality,
                                         bool raw)
{
    image_head head;
    head.width = width;
    head.height = height;
    head.flags = raw ? 0 : image_flag_coded;
    return image_chunk_records(head,
                               raw ? std::vector<uint8_t>(rgba, rgba + size_t(width) * size_t(height) * 4)
                                   : image_encode_data(width, height, rgba, quality));
}
