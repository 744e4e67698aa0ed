// Chunk references, live-object bookkeeping and type-code helpers.
#include "data/pak_chunk.h"

#include "data/pak_system.h"

#include <cstring>

std::string pak_code_text(uint32_t code)
{
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i)
        s[size_t(i)] = char((code >> (8 * i)) & 0xFF);
    return s;
}

uint32_t pak_header_word(bool container, int level)
{
    uint32_t field = level <= 0 ? 0u : level >= 7 ? 7u : uint32_t(level);
    return pak_header_marker | (container ? pak_header_container : 0u) | field << 25;
}

bool pak_plausible_inflated_size(uint64_t uncompressed, uint64_t stored)
{
    return uncompressed <= pak_max_chunk_size && uncompressed <= stored * 1032 + 64;
}

bool pak_chunkref::set_name(const char* n)
{
    size_t len = n ? std::strlen(n) : 0;
    if (len >= pak_name_capacity)
        return false;
    std::memcpy(name, n ? n : "", len);
    name[len] = 0;
    return true;
}

int pak_chunkref::load()
{
    if (object)
        return 0;
    if (!module || !module->system)
        return -1;
    pak_creator* creator = module->system->find_creator(code);
    if (!creator)
        return -2;
    object = creator->create(ref_ptr<pak_chunkref>(this));
    return 0;
}

pak_chunk::pak_chunk(ref_ptr<pak_chunkref> r) : ref(std::move(r))
{}

pak_chunk::~pak_chunk()
{
    // Only forget ourselves: a newer object may already have taken the slot.
    if (ref && ref->object == this)
        ref->object = nullptr;
}
