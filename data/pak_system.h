// The resource front: creators that turn chunks into live objects, enumeration
// callbacks, the store interface `pak_module` with its name table, and `pak_system`,
// through which all code finds chunks by name and walks the chunks of a type.
#pragma once

#include "data/pak_chunk.h"

#include <memory>
#include <utility>
#include <vector>

// Makes a live object from a chunk reference; null when it makes none.
class pak_creator {
public:
    virtual ~pak_creator() = default;
    virtual pak_chunk* create(ref_ptr<pak_chunkref> ref) = 0;
};

// The creator of classes built straight from their chunk reference: T(ref_ptr<pak_chunkref>).
template <class T>
class pak_chunk_creator : public pak_creator {
public:
    pak_chunk* create(ref_ptr<pak_chunkref> ref) override { return new T(std::move(ref)); }
};

// The creator that makes nothing (useful under "NULL" to silence unknown codes).
struct pak_null_creator_t : pak_creator {
    pak_chunk* create(ref_ptr<pak_chunkref>) override { return nullptr; }
};

// Visitor of `enumerate`.
class pak_enum_callback {
public:
    virtual ~pak_enum_callback() = default;
    virtual void visit(ref_ptr<pak_chunkref> ref) = 0;
};

class pak_system;
struct pak_name_table;

// A store of chunks. The name table has 1024 buckets of chains; a name is unique within
// a store whatever its code, and a later chunk of the same name replaces the earlier.
class pak_module {
public:
    // Status values of a store (its chunks have their own, pak_chunk_status).
    enum store_status : int32_t {
        status_ok = 0,
        status_archive_unopened = -1,  // the archive could not be opened
        status_uncreated = 1,          // a chunk file could not be created
        status_write_failed = 2,
        status_refused = 3,     // an overwrite was refused
        status_unreadable = 5,  // a written chunk could not be read back
    };

    pak_system* system = nullptr;
    uint8_t writable = 0;
    store_status status = status_ok;

    pak_module(pak_system* sys, bool can_write);
    pak_module(const pak_module&) = delete;
    pak_module& operator=(const pak_module&) = delete;
    virtual ~pak_module();

    virtual bool is_directory() const = 0;
    // Writes an edit chunk (its content serialised as records when it is a container).
    // `level` 0 stores the bytes, anything else compresses them. Returns the new
    // reference, or null with `status` set.
    virtual ref_ptr<pak_chunkref> write(const pak_editchunk& chunk, int level, bool replace) = 0;
    virtual ref_ptr<pak_chunkref> write_raw(uint32_t code, const char* name, uint32_t size, bool container,
                                            const void* data, int level, bool replace) = 0;
    // Every reference of `code` (every one for code 0), in bucket and chain order.
    virtual void enumerate(uint32_t code, pak_enum_callback& callback);
    virtual ref_ptr<pak_chunkref> get(const char* name);

    // Enters a reference, replacing one of the same name.
    void insert(const ref_ptr<pak_chunkref>& ref);
    // What both stores' `write` do: serialise the edit chunk's content and hand it to
    // `write_raw`. A name (its own or a child's) that does not fit a record gives null
    // with `status` set to `bad_name_status`.
    ref_ptr<pak_chunkref> write_edit_chunk(const pak_editchunk& chunk, int level, bool replace,
                                           store_status bad_name_status);
    size_t chunk_count() const;

private:
    // The buckets of the name table (pak_system_internal.h).
    std::unique_ptr<pak_name_table> names;
};

// The bucket of a name in a store's table.
uint32_t pak_name_hash(const char* name);

// One per program: the creator table, the stores in the order they were added.
class pak_system {
public:
    struct creator_entry {
        uint32_t code;
        pak_creator* creator;  // not owned: creators outlive the system
    };

    int32_t error = 0;  // status of the last archive `add_archive` tried
    std::vector<creator_entry> creators;
    bool sorted = true;
    std::vector<std::unique_ptr<pak_module>> modules;

    // Registering a code again replaces its creator.
    void register_creator(uint32_t code, pak_creator* creator);
    // The creator of a code, else the one under "NULL", else null.
    pak_creator* find_creator(uint32_t code);
    // Opens an archive store; on failure nothing is added and `error` keeps its status.
    bool add_archive(const char* path, bool writable);
    // Opens a directory store of chunk files; always added (an empty root gives no chunks).
    pak_module* add_directory(const char* root, bool writable);
    void add_module(std::unique_ptr<pak_module> module);

    // The reference of a name, asked of the stores in order; logs unknown names.
    ref_ptr<pak_chunkref> get(const char* name);
    // Every reference of `code` (0: all), store after store.
    void enumerate(uint32_t code, pak_enum_callback& callback);

    // The live object of a name in the caller's class, made when none is alive.
    // False when the name is unknown, no creator serves it, or the object is not a T;
    // true otherwise, with `out` possibly null when the creator made nothing.
    template <class T>
    bool get_object(const char* name, ref_ptr<T>& out)
    {
        ref_ptr<pak_chunk> object;
        bool found = get_object(name, object);
        out = dynamic_cast<T*>(object.get());
        return found && (!object || out);
    }
    // The untyped form: the object as the chunk base class.
    bool get_object(const char* name, ref_ptr<pak_chunk>& out);
};

// Enumeration by a plain function or lambda.
template <class F>
class pak_enum_function : public pak_enum_callback {
public:
    explicit pak_enum_function(F f) : fn(std::move(f)) {}
    void visit(ref_ptr<pak_chunkref> ref) override { fn(std::move(ref)); }
    F fn;
};
