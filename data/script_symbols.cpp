// Script symbol table: a chained hash of case-folded names over one growing pool.
#include "data/script_symbols.h"
#include "data/script_symbols_internal.h"

#include <algorithm>
#include <cstring>

namespace {

inline unsigned char fold(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

// The pooled name (NUL-terminated) equals [begin, end) with 'A'-'Z' folded.
bool same_name(const char* pooled, const char* begin, const char* end)
{
    for (const char* p = begin; p != end; ++p, ++pooled)
        if (fold(static_cast<unsigned char>(*pooled)) != fold(static_cast<unsigned char>(*p)))
            return false;
    return *pooled == '\0';
}

// Grows a capacity by half, and by at least one so that tiny tables still grow.
int64_t grown(int64_t capacity)
{
    return capacity + std::max<int64_t>(capacity / 2, 1);
}

const char* const fixed_names[] = {"DAMP", "K", "POLYS", "TEX", "TX", "TY", "X", "Y", "Z"};

}  // namespace

script_symbol_table::script_symbol_table(int32_t pool_capacity, int32_t bucket_count, int32_t entry_capacity)
    : store(std::make_unique<script_symbol_storage>())
{
    store->pool.resize(size_t(std::max(pool_capacity, 1)));
    uint32_t buckets_wanted = 1;
    while (buckets_wanted < uint32_t(std::max(bucket_count, 1)) && buckets_wanted < (1u << 30))
        buckets_wanted <<= 1;
    store->buckets.assign(buckets_wanted, 0);
    store->bucket_mask = buckets_wanted - 1;
    store->entries.resize(size_t(std::max(entry_capacity, 1)));
    for (const char* name : fixed_names)
        intern(name);
}

script_symbol_table::~script_symbol_table() = default;
script_symbol_table::script_symbol_table(script_symbol_table&&) noexcept = default;
script_symbol_table& script_symbol_table::operator=(script_symbol_table&&) noexcept = default;

int32_t script_symbol_table::name_count() const
{
    return int32_t(store->next_index) - 1;
}

int32_t script_symbol_table::bucket_count() const
{
    return int32_t(store->bucket_mask) + 1;
}

uint32_t script_symbol_table::hash_name(const char* begin, const char* end)
{
    uint32_t hash = 5555;
    for (const char* p = begin; p != end; ++p) {
        // The byte counts as signed, so bytes above 0x7F add a negative amount.
        int32_t b = static_cast<signed char>(*p);
        if (b >= 'A' && b <= 'Z')
            b += 'a' - 'A';
        hash = hash * 49157u + uint32_t(b);
    }
    return hash;
}

void script_symbol_table::grow_buckets()
{
    uint32_t old_mask = store->bucket_mask;
    uint32_t mask = std::max<uint32_t>(2 * old_mask + 1, 63);
    std::vector<uint32_t> old = std::move(store->buckets);
    store->buckets.assign(size_t(mask) + 1, 0);
    store->bucket_mask = mask;
    // Keep chain order: each moved entry goes to the end of its new chain.
    std::vector<uint32_t> tails(size_t(mask) + 1, 0);
    for (uint32_t b = 0; b <= old_mask; ++b) {
        uint32_t i = old[b];
        while (i) {
            uint32_t next = store->entries[i].next;
            uint32_t nb = store->entries[i].hash & mask;
            store->entries[i].next = 0;
            if (tails[nb])
                store->entries[tails[nb]].next = i;
            else
                store->buckets[nb] = i;
            tails[nb] = i;
            i = next;
        }
    }
}

script_id script_symbol_table::intern(const char* begin, const char* end)
{
    if (begin == end) {
        // The empty name is an ordinary (if odd) name; nothing special.
    } else if (*begin == '#') {
        // A numeric key; the bytes are not checked to be digits.
        uint32_t value = 0;
        for (const char* p = begin + 1; p != end; ++p)
            value = value * 10u + uint32_t(int32_t(static_cast<signed char>(*p)) - '0');
        return script_id(value);
    }

    if (store->next_index >= store->bucket_mask)
        grow_buckets();

    uint32_t hash = hash_name(begin, end);
    uint32_t bucket = hash & store->bucket_mask;
    uint32_t last = 0;
    for (uint32_t i = store->buckets[bucket]; i; i = store->entries[i].next) {
        if (store->entries[i].hash == hash && same_name(&store->pool[store->entries[i].offset], begin, end))
            return script_id(i) + (script_first_name_id - 1);
        last = i;
    }

    if (store->next_index >= store->entries.size())
        store->entries.resize(size_t(grown(int64_t(store->entries.size()))));
    size_t length = size_t(end - begin);
    size_t needed = size_t(store->pool_used) + length + 1;
    if (needed > store->pool.size())
        store->pool.resize(std::max<size_t>(size_t(grown(int64_t(store->pool.size()))), needed));
    std::memcpy(&store->pool[size_t(store->pool_used)], begin, length);
    store->pool[size_t(store->pool_used) + length] = '\0';

    uint32_t index = store->next_index++;
    store->entries[index] = script_symbol_storage::entry{uint32_t(store->pool_used), hash, 0};
    store->pool_used = int32_t(needed);
    if (last)
        store->entries[last].next = index;
    else
        store->buckets[bucket] = index;
    return script_id(index) + (script_first_name_id - 1);
}

script_id script_symbol_table::intern(const char* name)
{
    return intern(name, name + std::strlen(name));
}

const char* script_symbol_table::pooled_name(script_id id) const
{
    if (id < script_first_name_id)
        return nullptr;
    uint32_t index = uint32_t(id - (script_first_name_id - 1));
    if (index >= store->next_index)
        return nullptr;
    return &store->pool[store->entries[index].offset];
}

std::string script_symbol_table::name_of(script_id id) const
{
    if (const char* name = pooled_name(id))
        return name;
    return "#" + std::to_string(id < 0 ? 0 : id);
}
