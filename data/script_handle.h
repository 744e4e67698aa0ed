// Script trees in memory: reference-counted value cells, block tables keyed by symbol
// id, and the handle through which all code reads and changes them.
#pragma once

#include "data/script_symbols.h"

#include <cstdint>

enum script_type : uint8_t {
    script_type_none = 0,  // only reported, for a handle without a cell
    script_type_int = 1,
    script_type_real = 2,
    script_type_string = 3,
    script_type_block = 4,
};

struct script_block;

// One node of a tree. A new cell is the integer 0 with no holders. The payload of a
// string or block is owned by the cell and freed with it.
struct script_cell {
    uint8_t type = script_type_int;
    uint8_t flags = 0;
    // Number of handles holding the cell. It saturates: a cell that ever reached the
    // maximum is never freed, because a wrapped count would free a cell still in use.
    uint16_t refs = 0;
    union {
        int32_t i;
        float f;
        char* s;
        script_block* block;
    } v = {0};
};

constexpr uint16_t script_refs_pinned = 0xFFFF;

// A counted reference to a cell, together with the symbol table its keys belong to.
// Copying takes a reference, destroying drops one; the last one frees the cell. Every
// operation is total: on the nil handle (or one without a cell) getters give 0, 0.0,
// null or false and setters return false. Handles have reference semantics, so the
// operations that change the tree are const: they change the cell, not the handle.
class script_handle {
public:
    script_symbol_table* symbols = nullptr;
    script_cell* cell = nullptr;

    script_handle() = default;
    // Takes a reference to `cell` (which may be null).
    script_handle(script_symbol_table* symbols, script_cell* cell);
    script_handle(const script_handle& other);
    script_handle(script_handle&& other) noexcept;
    script_handle& operator=(const script_handle& other);
    script_handle& operator=(script_handle&& other) noexcept;
    ~script_handle();

    // A handle to a new cell (the integer 0) over `symbols`.
    static script_handle fresh(script_symbol_table* symbols);
    // The shared failed-lookup result.
    static const script_handle nil;

    bool exists() const { return symbols != nullptr; }

    // The node at a '.'-separated path of names ("tension.k"), or nil. Each piece is
    // interned, so a lookup adds unknown names to the symbol table.
    script_handle get(const char* path) const;
    // The child with this id, or nil; get(0), get(1)... walk anonymous entries.
    script_handle get(script_id id) const;
    // As get, but every node on the way becomes a block (dropping a value held there)
    // and missing children are created as integer 0. Nil only if this handle is.
    script_handle make(const char* path) const;
    script_handle make(script_id id) const;

    // script_type_none without a cell.
    int type() const;
    // Integer as is, real truncated toward zero, anything else 0.
    int32_t as_int() const;
    // Integer or real, anything else 0.0.
    double as_real() const;
    // The text of a non-empty string, else null. Valid while the cell holds it.
    const char* as_string() const;
    // Integer or real non-zero, string non-empty, block with an entry.
    bool truth() const;

    bool set_int(int32_t value) const;
    bool set_real(float value) const;
    bool set_string(const char* text) const;
    bool set_string(const char* begin, const char* end) const;
    // Turns the cell into an empty block unless it already is a block (whose entries
    // stay). False without a cell.
    bool make_block() const;

    // Makes the entry `key` of this node (a block from now on) refer to the target's
    // cell, so one subtree can be kept under a second key; changes through either are
    // seen through both. False without cells.
    bool link(script_id key, const script_handle& target) const;

    // Refer to the other handle's cell (and symbol table) from now on.
    void assign(const script_handle& other);

    // Number of entries of a block, 0 for anything else.
    int32_t size() const;

    // Calls visitor(key id, child handle) for every entry of a block: buckets in index
    // order, each chain oldest first. For keys 0..n-1 of a block that never held other
    // keys this is ascending order. The entries are collected before the first call,
    // so the visitor may change the block.
    template <class F>
    void for_each(F&& visitor) const
    {
        for_each_entry(
            [](void* ctx, script_id key, const script_handle& child) { (*static_cast<F*>(ctx))(key, child); },
            &visitor);
    }
    void for_each_entry(void (*fn)(void* ctx, script_id key, const script_handle& child), void* ctx) const;

private:
    void release();
};
