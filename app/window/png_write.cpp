// PNG encoding: signature, IHDR, one IDAT of filter-0 rows compressed by zlib, IEND.
#include "app/window/png_write.h"

#include <zlib.h>

#include <array>
#include <cstdio>

namespace {

const std::array<uint32_t, 256>& crc_table()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

uint32_t crc(const uint8_t* p, size_t n)
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i)
        c = crc_table()[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    put32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc(out.data() + start, out.size() - start));
}

}  // namespace

bool png_encode_rgb(int32_t width, int32_t height, const uint8_t* rgb, std::vector<uint8_t>& out)
{
    if (width <= 0 || height <= 0 || !rgb || int64_t(width) * height > (int64_t(1) << 28))
        return false;
    size_t row = size_t(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * size_t(height));
    for (int32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rgb + row * size_t(y), rgb + row * size_t(y + 1));
    }
    uLongf packed_size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), uLong(raw.size()), 9) != Z_OK)
        return false;
    packed.resize(packed_size);

    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    out.assign(signature, signature + 8);
    std::vector<uint8_t> header;
    put32(header, uint32_t(width));
    put32(header, uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    return true;
}

bool png_write_rgb(const char* path, int32_t width, int32_t height, const uint8_t* rgb)
{
    std::vector<uint8_t> file;
    if (!png_encode_rgb(width, height, rgb, file))
        return false;
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}
