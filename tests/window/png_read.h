// Captures read back as RGB pixels through the image file module (test helper).
#pragma once

#include "app/image_file/png_file.h"

#include <string>

using test_image = png_pixels;

// False when the file is missing or is no readable PNG.
inline bool png_read_rgb_file(const std::string& path, test_image& img)
{
    std::string error;
    return png_file_read(path, 3, img, error);
}
