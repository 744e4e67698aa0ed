// Reads back the 8-bit RGB PNG files that frame captures write (test helper).
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct test_image {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int32_t x, int32_t y) const
    {
        return rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    }
};

inline uint32_t png_be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Only what the writer produces: colour type 2, depth 8, filter 0 on every row.
inline bool png_read_rgb_file(const std::string& path, test_image& img)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::vector<uint8_t> file;
    uint8_t buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
        file.insert(file.end(), buf, buf + n);
    std::fclose(f);
    if (file.size() < 8 + 25)
        return false;
    std::vector<uint8_t> idat;
    for (size_t p = 8; p + 12 <= file.size();) {
        uint32_t len = png_be32(&file[p]);
        if (p + 12 + len > file.size())
            return false;
        std::string type(reinterpret_cast<const char*>(&file[p + 4]), 4);
        const uint8_t* data = &file[p + 8];
        if (type == "IHDR") {
            img.width = int32_t(png_be32(data));
            img.height = int32_t(png_be32(data + 4));
            if (data[8] != 8 || data[9] != 2)
                return false;
        } else if (type == "IDAT") {
            idat.insert(idat.end(), data, data + len);
        }
        p += 12 + len;
    }
    size_t row = size_t(img.width) * 3;
    std::vector<uint8_t> raw((row + 1) * size_t(img.height));
    uLongf raw_size = uLongf(raw.size());
    if (uncompress(raw.data(), &raw_size, idat.data(), uLong(idat.size())) != Z_OK || raw_size != raw.size())
        return false;
    img.rgb.clear();
    for (int32_t y = 0; y < img.height; ++y) {
        if (raw[y * (row + 1)] != 0)
            return false;
        img.rgb.insert(img.rgb.end(), raw.begin() + long(y * (row + 1) + 1),
                       raw.begin() + long((y + 1) * (row + 1)));
    }
    return true;
}
