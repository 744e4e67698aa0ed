// Shared by the pak fuzz targets: walks records to the bottom, touching every byte the
// walker hands out so that the sanitizers see any read out of bounds.
#pragma once

#include "data/pak.h"

#include <cstring>

inline unsigned fuzz_walk_records(pak_rawchunk& walk, int depth)
{
    unsigned sum = 0;
    pak_record r;
    int kind;
    while ((kind = walk.next(r)) != pak_record_end) {
        sum += unsigned(std::strlen(r.name)) + r.code;
        for (uint32_t i = 0; i < r.size; ++i)
            sum += r.data[i];
        if (kind == pak_record_container && depth < 64) {
            pak_rawchunk inner(r.data, r.size);
            sum += fuzz_walk_records(inner, depth + 1);
        }
    }
    pak_record found;
    if (walk.find(pak_code_data, found))
        sum += found.size;
    return sum;
}
