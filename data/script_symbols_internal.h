// The storage of a script symbol table: one pool of NUL-terminated names and a chained
// hash of entries over it. Only script_symbols.cpp (and tests that check the layout) see it.
#pragma once

#include "data/script_symbols.h"

#include <cstdint>
#include <vector>

struct script_symbol_storage {
    // One chained-hash entry per name. Index 0 is never used, so 0 means "none".
    struct entry {
        uint32_t offset;  // of the name in the pool
        uint32_t hash;
        uint32_t next;  // next entry in the same bucket chain, 0 at the end
    };

    // The vectors' sizes are the capacities; `pool_used` and `next_index` say how much of
    // them is in use.
    std::vector<char> pool;
    int32_t pool_used = 0;
    std::vector<uint32_t> buckets;  // entry index per bucket, 0 = empty
    uint32_t bucket_mask = 0;
    uint32_t next_index = 1;
    std::vector<entry> entries;
};
