// PNG files as RGBA pixels for the image commands and the ".png" build source
// (libpng; the tools only, the game never reads PNG).
#pragma once

#include "render/image/image_codec.h"

#include <string>

// False with a message when the file cannot be read or the tool was built
// without libpng.
bool png_read_rgba(const std::string& path, image_rgba& out, std::string& error);
bool png_write_rgba(const std::string& path, const image_rgba& image, std::string& error);
