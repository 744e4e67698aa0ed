// The name table of a store: 1024 buckets of reference chains, chosen by the low bits of
// pak_name_hash. Only pak_system.cpp walks it.
#pragma once

#include "data/pak_system.h"

struct pak_name_table {
    static constexpr uint32_t bucket_count = 1024;
    static constexpr uint32_t bucket_mask = bucket_count - 1;

    ref_ptr<pak_chunkref> buckets[bucket_count];

    ref_ptr<pak_chunkref>& bucket_of(const char* name) { return buckets[pak_name_hash(name) & bucket_mask]; }
};
