// "IMAG" chunk content: the "HEAD" and "DATA" records around an image, read
// for decoding and made for the tools.
#pragma once

#include "render/image/image_codec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Decodes the image of an "IMAG" chunk's bytes (its records). Without a "HEAD"
// or "DATA" record, or with a damaged image, returns false with a message.
bool image_from_chunk(const uint8_t* bytes, size_t size, bool half, bool fast, image_rgba& out,
                      std::string& error);

// The records of an "IMAG" chunk: a "HEAD" record made from `head` and a "DATA"
// record of any bytes.
std::vector<uint8_t> image_chunk_records(const image_head& head, std::vector<uint8_t> data);

// The records of an "IMAG" chunk holding an image, coded at `quality` or, with
// `raw`, as raw RGBA bytes.
std::vector<uint8_t> image_chunk_content(int32_t width, int32_t height, const uint8_t* rgba, int quality,
                                         bool raw);
