// PNG sources of "IMAG" chunks: the options a source asks for and the build
// converter of the ".png" row.
#pragma once

#include "tools/pak/build_converters.h"

#include <string>

constexpr int image_default_quality = 90;

// Options of a PNG source, read from its optional sidecar "NAME.png.opt": one word
// per line, "raw" (store raw RGBA) or "quality N" (0..100). Without a sidecar:
// coded at quality 90. False with a message for a sidecar it cannot understand.
struct image_source_options {
    int quality = image_default_quality;
    bool raw = false;
};
bool read_image_options(const std::string& png_path, image_source_options& out, std::string& error);

// The ".png" converter: the "IMAG" chunk's records for a PNG file, following
// its sidecar options. Raw images are compressed in the archive, coded ones stored.
bool convert_png_image(const std::string& path, build_output& out, std::string& error);
