// bmp_write: a 14-byte file header, a 40-byte information header, the pixels unchanged.
#include "render/bmp.h"

#include "data/byte_order.h"

#include <cstdio>

bool bmp_write(const char* path, int32_t width, int32_t height, const uint8_t* bgra)
{
    if (!path || width <= 0 || height <= 0 || !bgra)
        return false;
    uint64_t pixel_bytes = uint64_t(width) * uint64_t(height) * 4;
    if (pixel_bytes + 54 > UINT32_MAX)
        return false;
    uint8_t header[54] = {'B', 'M'};
    store_le32(header + 2, uint32_t(pixel_bytes + 54));
    store_le32(header + 10, 54);
    store_le32(header + 14, 40);
    store_le32(header + 18, uint32_t(width));
    store_le32(header + 22, uint32_t(height));  // positive: rows run bottom-up
    header[26] = 1;                             // planes (16 bits)
    header[28] = 32;                            // bits per pixel (16 bits)
    store_le32(header + 38, 100);               // pixels per metre, x and y
    store_le32(header + 42, 100);
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header &&
              std::fwrite(bgra, 1, size_t(pixel_bytes), f) == size_t(pixel_bytes);
    return std::fclose(f) == 0 && ok;
}
