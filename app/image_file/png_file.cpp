// PNG reading and writing through libpng's simplified interface, which takes and gives
// whole images in memory and reports failures in the image's message instead of jumping.
#include "app/image_file/png_file.h"

#include "app/file_io.h"

#include <png.h>

#include <cstring>

namespace {

bool usable_channels(int32_t channels)
{
    return channels == 3 || channels == 4;
}

png_image fresh_image()
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    return image;
}

}  // namespace

bool png_file_decode(const uint8_t* bytes, size_t size, int32_t channels, png_pixels& out, std::string& error)
{
    out = png_pixels{};
    if (!usable_channels(channels)) {
        error = "pixels of " + std::to_string(channels) + " channels cannot be read";
        return false;
    }
    png_image image = fresh_image();
    if (!bytes || !png_image_begin_read_from_memory(&image, bytes, size)) {
        error = bytes ? image.message : "no file image";
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > uint32_t(png_max_dimension) ||
        image.height > uint32_t(png_max_dimension)) {
        error = "unusable size " + std::to_string(image.width) + " x " + std::to_string(image.height);
        png_image_free(&image);
        return false;
    }
    image.format = channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    // Zeroed, so that an alpha channel removed without a background is composited on black.
    out.data.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, out.data.data(), 0, nullptr)) {
        error = image.message;
        out = png_pixels{};
        return false;
    }
    out.width = int32_t(image.width);
    out.height = int32_t(image.height);
    out.channels = channels;
    return true;
}

bool png_file_read(const std::string& path, int32_t channels, png_pixels& out, std::string& error)
{
    out = png_pixels{};
    std::vector<uint8_t> file;
    if (!file_read_all(path, file)) {
        error = "'" + path + "': cannot be read";
        return false;
    }
    if (!png_file_decode(file.data(), file.size(), channels, out, error)) {
        error = "'" + path + "': " + error;
        return false;
    }
    return true;
}

bool png_file_encode(int32_t width, int32_t height, int32_t channels, const uint8_t* pixels,
                     std::vector<uint8_t>& out, std::string& error)
{
    out.clear();
    if (width <= 0 || height <= 0 || width > png_max_dimension || height > png_max_dimension || !pixels ||
        !usable_channels(channels)) {
        error = "no image of " + std::to_string(width) + " x " + std::to_string(height) + " pixels of " +
                std::to_string(channels) + " channels to write";
        return false;
    }
    png_image image = fresh_image();
    image.width = uint32_t(width);
    image.height = uint32_t(height);
    image.format = channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    // Room for the largest file the image can make, so that it is compressed only once.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    out.resize(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels, 0, nullptr)) {
        error = image.message;
        out.clear();
        return false;
    }
    out.resize(size);
    return true;
}

bool png_file_write(const std::string& path, int32_t width, int32_t height, int32_t channels,
                    const uint8_t* pixels, std::string& error)
{
    std::vector<uint8_t> file;
    if (!png_file_encode(width, height, channels, pixels, file, error)) {
        error = "'" + path + "': " + error;
        return false;
    }
    file_ptr f = file_open(path, "wb");
    if (!f) {
        error = "'" + path + "': cannot be created";
        return false;
    }
    bool written = std::fwrite(file.data(), 1, file.size(), f.get()) == file.size();
    written = std::fclose(f.release()) == 0 && written;
    if (!written) {
        // A part of a picture would read as a damaged file later; none is left instead.
        std::remove(path.c_str());
        error = "'" + path + "': cannot be written";
        return false;
    }
    return true;
}
