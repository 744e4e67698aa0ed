// PNG reading and writing through libpng's simplified interface.
#include "tools/pak/image_png.h"

#if defined(TAMBLE_HAVE_PNG)
#include <png.h>
#endif

#include <cstring>

#if defined(TAMBLE_HAVE_PNG)

bool png_read_rgba(const std::string& path, image_rgba& out, std::string& error)
{
    out = image_rgba{};
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) {
        error = "'" + path + "': " + img.message;
        return false;
    }
    if (img.width == 0 || img.height == 0 || img.width > uint32_t(image_max_dimension) ||
        img.height > uint32_t(image_max_dimension)) {
        error =
            "'" + path + "': unusable size " + std::to_string(img.width) + " x " + std::to_string(img.height);
        png_image_free(&img);
        return false;
    }
    img.format = PNG_FORMAT_RGBA;
    out.width = int32_t(img.width);
    out.height = int32_t(img.height);
    out.pixels.resize(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, out.pixels.data(), 0, nullptr)) {
        error = "'" + path + "': " + img.message;
        out = image_rgba{};
        return false;
    }
    return true;
}

bool png_write_rgba(const std::string& path, const image_rgba& image, std::string& error)
{
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = uint32_t(image.width);
    img.height = uint32_t(image.height);
    img.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&img, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
        error = "'" + path + "': " + img.message;
        return false;
    }
    return true;
}

#else

bool png_read_rgba(const std::string& path, image_rgba& out, std::string& error)
{
    out = image_rgba{};
    error = "'" + path + "': this tamble-pak was built without libpng";
    return false;
}

bool png_write_rgba(const std::string& path, const image_rgba&, std::string& error)
{
    error = "'" + path + "': this tamble-pak was built without libpng";
    return false;
}

#endif
