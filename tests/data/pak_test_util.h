// Helpers shared by the pak tests and the tests of chunk objects: bytes of strings and of
// chunks, and a chunk held in memory.
#pragma once

#include "data/pak.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

inline std::vector<uint8_t> pak_bytes(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

inline std::vector<uint8_t> pak_read_all(pak_chunkref& ref)
{
    std::vector<uint8_t> out(ref.uncompressed_size);
    if (ref.read(out.data()) != 0)
        out.assign({0xDE, 0xAD});
    return out;
}

// A chunk held in memory.
class test_chunkref : public pak_chunkref {
public:
    std::vector<uint8_t> bytes;
    int read(void* buffer) override
    {
        if (!bytes.empty())
            std::memcpy(buffer, bytes.data(), bytes.size());
        return 0;
    }
};
