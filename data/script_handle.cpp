// Script cells, block tables and handles: reference counting, lookups, growth.
#include "data/script_handle.h"

#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

// A block is a chained hash keyed by symbol id; keys are their own hash. Entries live
// in one vector in insertion order and are linked into bucket chains by index + 1, so
// that 0 can stand for "none". Entries are never removed.
struct script_block {
    struct entry {
        script_id key;
        script_cell* cell;  // counted
        uint32_t next;      // index + 1 of the next entry of the chain, 0 at the end
    };
    std::vector<uint32_t> buckets;  // index + 1 of each chain's first entry
    uint32_t mask = 0;
    uint32_t count = 0;
    std::vector<entry> entries;
};

namespace {

// Cells and block tables are many, small and short-lived (a level's tree is built and
// dropped at once), so they come from slabs and go back to a free list rather than to
// malloc, whose small-chunk bookkeeping dominated parsing a level. The pools are
// shared by all threads and never destroyed: handles in static objects may still drop
// cells during exit, after any pool with a destructor would be gone.
#if defined(__SANITIZE_ADDRESS__)
#define SCRIPT_PLAIN_ALLOCATION 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCRIPT_PLAIN_ALLOCATION 1
#endif
#endif

template <class T>
class recycler {
public:
#ifdef SCRIPT_PLAIN_ALLOCATION
    // Under the address sanitizer every object is its own allocation, so that a cell
    // used after it was freed is caught rather than recycled.
    void* take()
    {
        return ::operator new(sizeof(T));
    }
    void give(T* p)
    {
        p->~T();
        ::operator delete(p);
    }
#else
    void* take()
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (free_list.empty()) {
            constexpr size_t per_slab = 256;
            char* slab = static_cast<char*>(::operator new(sizeof(T) * per_slab));
            slabs.push_back(slab);
            for (size_t i = per_slab; i-- > 0;)
                free_list.push_back(slab + i * sizeof(T));
        }
        void* p = free_list.back();
        free_list.pop_back();
        return p;
    }

    void give(T* p)
    {
        p->~T();
        std::lock_guard<std::mutex> lock(mutex);
        free_list.push_back(p);
    }

private:
    std::mutex mutex;
    std::vector<void*> slabs;
    std::vector<void*> free_list;
#endif
};

// Made on first use, so cells can be made by static initialisers of any file.
recycler<script_cell>& cell_pool()
{
    static recycler<script_cell>* pool = new recycler<script_cell>;
    return *pool;
}

recycler<script_block>& block_pool()
{
    static recycler<script_block>* pool = new recycler<script_block>;
    return *pool;
}

script_cell* new_cell()
{
    return new (cell_pool().take()) script_cell;
}

void add_ref(script_cell* c)
{
    if (c && c->refs != script_refs_pinned)
        ++c->refs;
}

// Frees the payload of a cell and, for a block, drops its children; children that die
// are collected in `dead` so that deep trees are freed without recursion.
void free_payload(script_cell* c, std::vector<script_cell*>& dead)
{
    if (c->type == script_type_string) {
        delete[] c->v.s;
    } else if (c->type == script_type_block) {
        for (script_block::entry& e : c->v.block->entries) {
            script_cell* child = e.cell;
            if (child->refs != script_refs_pinned && --child->refs == 0)
                dead.push_back(child);
        }
        block_pool().give(c->v.block);
    }
    c->type = script_type_int;
    c->v.i = 0;
}

void free_payload(script_cell* c)
{
    std::vector<script_cell*> dead;
    free_payload(c, dead);
    while (!dead.empty()) {
        script_cell* d = dead.back();
        dead.pop_back();
        free_payload(d, dead);
        cell_pool().give(d);
    }
}

void drop_ref(script_cell* c)
{
    if (!c || c->refs == script_refs_pinned)
        return;
    if (--c->refs == 0) {
        free_payload(c);
        cell_pool().give(c);
    }
}

// The index + 1 of the entry with this key, or 0.
uint32_t find_entry(const script_block& b, script_id key)
{
    if (b.buckets.empty())
        return 0;
    for (uint32_t i = b.buckets[uint32_t(key) & b.mask]; i; i = b.entries[i - 1].next)
        if (b.entries[i - 1].key == key)
            return i;
    return 0;
}

void grow_block(script_block& b)
{
    uint32_t old_mask = b.mask;
    bool had_buckets = !b.buckets.empty();
    uint32_t mask = 2 * old_mask + 1;
    if (mask < 3)
        mask = 3;
    std::vector<uint32_t> old = std::move(b.buckets);
    b.buckets.assign(size_t(mask) + 1, 0);
    b.mask = mask;
    // The count never exceeds the mask, so entries need no further room until the next
    // growth.
    b.entries.reserve(mask);
    if (!had_buckets)
        return;
    // Moved entries are appended to their new chains in old bucket and chain order;
    // that order is what for_each shows. Chains are short (at most one entry per
    // bucket on average), so finding a chain's end by walking it is cheap.
    for (uint32_t ob = 0; ob <= old_mask; ++ob) {
        uint32_t i = old[ob];
        while (i) {
            script_block::entry& e = b.entries[i - 1];
            uint32_t next = e.next;
            e.next = 0;
            uint32_t* link = &b.buckets[uint32_t(e.key) & mask];
            while (*link)
                link = &b.entries[*link - 1].next;
            *link = i;
            i = next;
        }
    }
}

void become_block(script_cell* c)
{
    if (c->type == script_type_block)
        return;
    free_payload(c);
    c->type = script_type_block;
    c->v.block = new (block_pool().take()) script_block;
}

// The entry under `key` of a block cell, created with an integer 0 cell when missing.
script_block::entry& make_entry(script_cell* c, script_id key)
{
    become_block(c);
    script_block& b = *c->v.block;
    if (b.count == b.mask)
        grow_block(b);
    uint32_t bucket = uint32_t(key) & b.mask;
    uint32_t last = 0;
    for (uint32_t i = b.buckets[bucket]; i; i = b.entries[i - 1].next) {
        if (b.entries[i - 1].key == key)
            return b.entries[i - 1];
        last = i;
    }
    script_cell* child = new_cell();
    child->refs = 1;
    b.entries.push_back({key, child, 0});
    uint32_t index = uint32_t(b.entries.size());
    if (last)
        b.entries[last - 1].next = index;
    else
        b.buckets[bucket] = index;
    ++b.count;
    return b.entries.back();
}

script_cell* make_child(script_cell* c, script_id key)
{
    return make_entry(c, key).cell;
}

// Calls fn(piece begin, piece end) for each '.'-separated piece of a path.
template <class F>
bool walk_path(const char* path, F&& fn)
{
    const char* begin = path;
    for (;;) {
        const char* end = begin;
        while (*end && *end != '.')
            ++end;
        if (!fn(begin, end))
            return false;
        if (!*end)
            return true;
        begin = end + 1;
    }
}

}  // namespace

const script_handle script_handle::nil;

script_handle::script_handle(script_symbol_table* table, script_cell* node) : symbols(table), cell(node)
{
    add_ref(cell);
}

script_handle::script_handle(const script_handle& other) : symbols(other.symbols), cell(other.cell)
{
    add_ref(cell);
}

script_handle::script_handle(script_handle&& other) noexcept : symbols(other.symbols), cell(other.cell)
{
    other.symbols = nullptr;
    other.cell = nullptr;
}

script_handle& script_handle::operator=(const script_handle& other)
{
    assign(other);
    return *this;
}

script_handle& script_handle::operator=(script_handle&& other) noexcept
{
    if (this != &other) {
        release();
        symbols = other.symbols;
        cell = other.cell;
        other.symbols = nullptr;
        other.cell = nullptr;
    }
    return *this;
}

script_handle::~script_handle()
{
    release();
}

void script_handle::release()
{
    drop_ref(cell);
    cell = nullptr;
}

void script_handle::assign(const script_handle& other)
{
    // Take the new reference first: the old cell may be the only holder of the new one.
    script_cell* c = other.cell;
    add_ref(c);
    script_symbol_table* s = other.symbols;
    drop_ref(cell);
    cell = c;
    symbols = s;
}

script_handle script_handle::fresh(script_symbol_table* symbols)
{
    return script_handle(symbols, new_cell());
}

script_handle script_handle::get(script_id id) const
{
    if (!symbols || !cell || cell->type != script_type_block)
        return nil;
    const script_block& b = *cell->v.block;
    uint32_t i = find_entry(b, id);
    if (!i)
        return nil;
    return script_handle(symbols, b.entries[i - 1].cell);
}

script_handle script_handle::get(const char* path) const
{
    if (!symbols || !cell || !path)
        return nil;
    // Every piece is interned, even after a miss, so that the names a lookup adds do
    // not depend on what the tree holds.
    script_cell* c = cell;
    walk_path(path, [&](const char* begin, const char* end) {
        script_id id = symbols->intern(begin, end);
        if (!c)
            return true;
        uint32_t i = c->type == script_type_block ? find_entry(*c->v.block, id) : 0;
        c = i ? c->v.block->entries[i - 1].cell : nullptr;
        return true;
    });
    return c ? script_handle(symbols, c) : nil;
}

script_handle script_handle::make(script_id id) const
{
    if (!symbols || !cell)
        return nil;
    return script_handle(symbols, make_child(cell, id));
}

script_handle script_handle::make(const char* path) const
{
    if (!symbols || !cell || !path)
        return nil;
    script_cell* c = cell;
    walk_path(path, [&](const char* begin, const char* end) {
        c = make_child(c, symbols->intern(begin, end));
        return true;
    });
    return script_handle(symbols, c);
}

bool script_handle::link(script_id key, const script_handle& target) const
{
    if (!symbols || !cell || !target.cell)
        return false;
    script_block::entry& e = make_entry(cell, key);
    script_cell* old = e.cell;
    add_ref(target.cell);
    e.cell = target.cell;
    // Dropped last: freeing the old cell must not meet a half-changed entry.
    drop_ref(old);
    return true;
}

int script_handle::type() const
{
    return cell ? int(cell->type) : int(script_type_none);
}

int32_t script_handle::as_int() const
{
    if (!cell)
        return 0;
    if (cell->type == script_type_int)
        return cell->v.i;
    if (cell->type == script_type_real) {
        // Truncation toward zero; values out of range saturate instead of being
        // undefined, and NaN reads as 0.
        float f = cell->v.f;
        if (std::isnan(f))
            return 0;
        if (f >= 2147483648.0f)
            return INT32_MAX;
        if (f <= -2147483648.0f)
            return INT32_MIN;
        return int32_t(f);
    }
    return 0;
}

double script_handle::as_real() const
{
    if (!cell)
        return 0.0;
    if (cell->type == script_type_int)
        return double(cell->v.i);
    if (cell->type == script_type_real)
        return double(cell->v.f);
    return 0.0;
}

const char* script_handle::as_string() const
{
    if (!cell || cell->type != script_type_string || !cell->v.s[0])
        return nullptr;
    return cell->v.s;
}

bool script_handle::truth() const
{
    if (!cell)
        return false;
    switch (cell->type) {
    case script_type_int:
        return cell->v.i != 0;
    case script_type_real:
        return cell->v.f != 0.0f;
    case script_type_string:
        return cell->v.s[0] != '\0';
    case script_type_block:
        return cell->v.block->count > 0;
    default:
        return false;
    }
}

bool script_handle::set_int(int32_t value) const
{
    if (!cell)
        return false;
    free_payload(cell);
    cell->type = script_type_int;
    cell->v.i = value;
    return true;
}

bool script_handle::set_real(float value) const
{
    if (!cell)
        return false;
    free_payload(cell);
    cell->type = script_type_real;
    cell->v.f = value;
    return true;
}

bool script_handle::set_string(const char* begin, const char* end) const
{
    if (!cell || (!begin && begin != end))
        return false;
    // Copy before freeing: the text may be the cell's own string.
    size_t length = size_t(end - begin);
    char* copy = new char[length + 1];
    if (length)
        std::memcpy(copy, begin, length);
    copy[length] = '\0';
    free_payload(cell);
    cell->type = script_type_string;
    cell->v.s = copy;
    return true;
}

bool script_handle::set_string(const char* text) const
{
    if (!text)
        return set_string(text, text);
    return set_string(text, text + std::strlen(text));
}

bool script_handle::make_block() const
{
    if (!cell)
        return false;
    become_block(cell);
    return true;
}

int32_t script_handle::size() const
{
    if (!cell || cell->type != script_type_block)
        return 0;
    return int32_t(cell->v.block->count);
}

void script_handle::for_each_entry(void (*fn)(void* ctx, script_id key, const script_handle& child),
                                   void* ctx) const
{
    if (!cell || cell->type != script_type_block)
        return;
    const script_block& b = *cell->v.block;
    std::vector<std::pair<script_id, script_handle>> snapshot;
    snapshot.reserve(b.count);
    for (uint32_t bucket = 0; bucket < b.buckets.size(); ++bucket)
        for (uint32_t i = b.buckets[bucket]; i; i = b.entries[i - 1].next)
            snapshot.emplace_back(b.entries[i - 1].key, script_handle(symbols, b.entries[i - 1].cell));
    for (const auto& [key, child] : snapshot)
        fn(ctx, key, child);
}
