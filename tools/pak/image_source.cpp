// PNG sources of "IMAG" chunks: sidecar options and the build converter.
#include "tools/pak/image_source.h"

#include "render/image/image_chunk.h"
#include "tools/pak/image_png.h"

#include <filesystem>
#include <sstream>

bool read_image_options(const std::string& png_path, image_source_options& out, std::string& error)
{
    out = image_source_options{};
    std::string path = png_path + ".opt";
    std::vector<uint8_t> bytes;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return true;  // no sidecar: the defaults
    if (!read_whole_file(path, bytes, error))
        return false;
    std::istringstream text(std::string(bytes.begin(), bytes.end()));
    std::string line;
    int number = 0;
    while (std::getline(text, line)) {
        ++number;
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#')
            continue;
        std::string rest;
        if (word == "raw" && !(words >> rest)) {
            out.raw = true;
            continue;
        }
        int q;
        if (word == "quality" && (words >> q) && q >= 0 && q <= 100 && !(words >> rest)) {
            out.quality = q;
            continue;
        }
        error = "'" + path + "' line " + std::to_string(number) +
                ": expected \"raw\" or \"quality N\" (N 0..100)";
        return false;
    }
    return true;
}

bool convert_png_image(const std::string& path, build_output& out, std::string& error)
{
    image_source_options options;
    if (!read_image_options(path, options, error))
        return false;
    image_rgba image;
    if (!png_read_rgba(path, image, error))
        return false;
    out.bytes =
        image_chunk_content(image.width, image.height, image.pixels.data(), options.quality, options.raw);
    out.container = true;
    out.level = options.raw ? 9 : 0;
    return true;
}
