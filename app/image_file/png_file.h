// PNG files, read and written through libpng, for everything that keeps pictures as files:
// the window's frame captures and screenshots, the level pictures, the image sources and
// outputs of tamble-pak, tamble-art and tamble-synth, and the tests that read captures.
//
//   png_pixels image;
//   std::string error;
//   if (!png_file_read("shot.png", 3, image, error))
//       log_line(log_problem) << "image: " << error;
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels as the files hold them: 8 bits a channel, rows top to bottom without padding,
// 3 channels (RGB) or 4 (RGBA, not premultiplied).
struct png_pixels {
    int32_t width = 0, height = 0;
    int32_t channels = 0;
    std::vector<uint8_t> data;

    // The first channel of pixel (x, y); the caller keeps inside the image.
    const uint8_t* at(int32_t x, int32_t y) const
    {
        return data.data() + (size_t(y) * size_t(width) + size_t(x)) * size_t(channels);
    }
};

// The largest width or height read or written (the image codec's limit too). A file whose
// head claims more is refused before its pixels are allocated.
constexpr int32_t png_max_dimension = 16384;

// Decodes a PNG file image of any colour type and depth into `channels` (3 or 4): grey and
// palette images are expanded, 16-bit ones reduced, an image without alpha reads opaque and
// an alpha channel read as RGB is composited over black. False with the reason in `error`
// (and `out` empty) for a damaged, truncated or oversized image.
bool png_file_decode(const uint8_t* bytes, size_t size, int32_t channels, png_pixels& out,
                     std::string& error);
// Reads and decodes the file at `path`; the reason names the path.
bool png_file_read(const std::string& path, int32_t channels, png_pixels& out, std::string& error);

// Encodes `pixels` (width x height x channels bytes, channels 3 or 4) as a PNG file image.
bool png_file_encode(int32_t width, int32_t height, int32_t channels, const uint8_t* pixels,
                     std::vector<uint8_t>& out, std::string& error);
// Encodes and writes the file; a write that fails removes what it had written.
bool png_file_write(const std::string& path, int32_t width, int32_t height, int32_t channels,
                    const uint8_t* pixels, std::string& error);
inline bool png_file_write(const std::string& path, const png_pixels& image, std::string& error)
{
    return png_file_write(path, image.width, image.height, image.channels, image.data.data(), error);
}
