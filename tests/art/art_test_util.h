// Reading the built archive's chunks and images for the art tests.
#pragma once

#include "data/pak_system.h"
#include "render/image/image_chunk.h"

#include <memory>
#include <string>
#include <vector>

// The built archive, opened once per test binary.
inline pak_system& art_archive()
{
    static std::unique_ptr<pak_system> sys = [] {
        auto s = std::make_unique<pak_system>();
        s->add_archive(TAMBLE_ARCHIVE, false);
        return s;
    }();
    return *sys;
}

inline std::vector<uint8_t> art_chunk_bytes(const ref_ptr<pak_chunkref>& ref)
{
    std::vector<uint8_t> bytes(ref->get_size());
    if (ref->read(bytes.data()) != 0)
        bytes.clear();
    return bytes;
}

// Decodes the texture of a name; false with a message when it is missing or damaged.
inline bool art_decode(const std::string& name, bool half, image_rgba& out, std::string& error)
{
    ref_ptr<pak_chunkref> ref = art_archive().get(name.c_str());
    if (!ref || ref->get_code() != pak_code_imag) {
        error = "no texture '" + name + "'";
        return false;
    }
    std::vector<uint8_t> bytes = art_chunk_bytes(ref);
    return image_from_chunk(bytes.data(), bytes.size(), half, true, out, error);
}
