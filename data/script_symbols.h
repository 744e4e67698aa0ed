// Script symbol table: interns the names used as keys of script trees and gives each a
// stable 32-bit symbol id. Ids below 16384 are numeric keys and never enter the table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using script_id = int32_t;

// Ids 0..script_first_name_id-1 are numeric keys ("#5" or a bare 5 in a text).
constexpr script_id script_first_name_id = 16384;

// The nine names every table interns first, in this order, so their ids are fixed.
enum : script_id {
    script_id_damp = 16384,
    script_id_k = 16385,
    script_id_polys = 16386,
    script_id_tex = 16387,
    script_id_tx = 16388,
    script_id_ty = 16389,
    script_id_x = 16390,
    script_id_y = 16391,
    script_id_z = 16392,
};

struct script_symbol_storage;

class script_symbol_table {
public:
    // Sizes are starting capacities; everything grows on demand. The bucket count is
    // rounded up to a power of two.
    script_symbol_table(int32_t pool_capacity = 4096, int32_t bucket_count = 256,
                        int32_t entry_capacity = 256);
    ~script_symbol_table();
    script_symbol_table(script_symbol_table&&) noexcept;
    script_symbol_table& operator=(script_symbol_table&&) noexcept;

    // The id of the name [begin, end); unknown names are added. Letter case is folded
    // for comparison ('A'-'Z' only), and a name keeps the case it was first seen with.
    // A name starting with '#' is the numeric key formed by the bytes after it.
    script_id intern(const char* begin, const char* end);
    script_id intern(const char* name);

    // "#%d" for a numeric id (a negative id reads as 0), the pooled name for a known
    // name id, and "#%d" too for a name id this table never gave out, so that reading
    // the text back yields the same id.
    std::string name_of(script_id id) const;
    // The pooled name of a known name id, or null for any other id.
    const char* pooled_name(script_id id) const;

    // Number of names interned (the nine fixed names included).
    int32_t name_count() const;
    int32_t bucket_count() const;

    // The hash of a name as stored in its entry (case-folded).
    static uint32_t hash_name(const char* begin, const char* end);

private:
    // The pool, the buckets and the entries (script_symbols_internal.h).
    std::unique_ptr<script_symbol_storage> store;

    void grow_buckets();
};
