// Fuzzes the PNG reader of the image file module with arbitrary file images, read as RGB
// and as RGBA.
#include "app/image_file/png_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int32_t channels : {3, 4}) {
        png_pixels image;
        std::string error;
        if (png_file_decode(data, size, channels, image, error) &&
            image.data.size() != size_t(image.width) * size_t(image.height) * size_t(channels))
            __builtin_trap();
    }
    return 0;
}
