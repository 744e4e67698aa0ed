// A small PNG writer for frame captures: 8-bit RGB, zlib-compressed, no other dependency.
#pragma once

#include <cstdint>
#include <vector>

// Encodes `rgb` (rows top to bottom, 3 bytes a pixel) into a PNG file image.
bool png_encode_rgb(int32_t width, int32_t height, const uint8_t* rgb, std::vector<uint8_t>& out);
bool png_write_rgb(const char* path, int32_t width, int32_t height, const uint8_t* rgb);
