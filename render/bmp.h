// The BMP writer of level pictures: 32 bits a pixel, rows bottom to top, no compression.
#pragma once

#include <cstdint>

// Writes `bgra` (width x height, 4 bytes a pixel in the order blue, green, red, alpha, the
// bottom row first) as a BMP file. False when the file cannot be written.
bool bmp_write(const char* path, int32_t width, int32_t height, const uint8_t* bgra);
