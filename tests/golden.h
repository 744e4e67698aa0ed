// Golden files of the codec tests: streams encoded once and committed under
// tests/<module>/golden/, and the fingerprint their decoded bytes are pinned to.
#pragma once

#include "data/pak_store.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// FNV-1a, 64 bits.
inline uint64_t golden_hash(const void* data, size_t size)
{
    uint64_t h = 1469598103934665603ull;
    const auto* b = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
        h ^= b[i];
        h *= 1099511628211ull;
    }
    return h;
}

// The chunk bytes of a committed chunk file, by its path below tests/.
inline std::vector<uint8_t> golden_chunk(const std::string& path_below_tests)
{
    std::vector<uint8_t> bytes;
    std::string path = std::string(TAMBLE_SOURCE_DIR) + "/tests/" + path_below_tests;
    EXPECT_TRUE(pak_read_chunk_file(path, bytes)) << path;
    return bytes;
}
