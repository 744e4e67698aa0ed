// PNG sources of "IMAG" chunks: sidecar options and the build converter.
#include "tools/pak/image_source.h"

#include "app/image_file/png_file.h"
#include "render/image/image_chunk.h"

#include <cstdlib>

// Every image a PNG file may hold fits the codec.
static_assert(png_max_dimension <= image_max_dimension);

bool read_image_options(const std::string& png_path, image_source_options& out, std::string& error)
{
    out = image_source_options{};
    return read_sidecar_options(
        png_path, "\"raw\" or \"quality N\" (N 0..100)",
        [&out](const std::vector<std::string>& words) {
            if (words.size() == 1 && words[0] == "raw") {
                out.raw = true;
                return true;
            }
            char* end = nullptr;
            long q =
                words.size() == 2 && words[0] == "quality" ? std::strtol(words[1].c_str(), &end, 10) : -1;
            if (end && !*end && q >= 0 && q <= 100) {
                out.quality = int(q);
                return true;
            }
            return false;
        },
        error);
}

bool convert_png_image(const std::string& path, build_output& out, std::string& error)
{
    image_source_options options;
    if (!read_image_options(path, options, error))
        return false;
    png_pixels image;
    if (!png_file_read(path, 4, image, error))
        return false;
    out.bytes =
        image_chunk_content(image.width, image.height, image.data.data(), options.quality, options.raw);
    out.container = true;
    out.level = options.raw ? 9 : 0;
    return true;
}
