// `pak_system`: creator table, store list, lookup by name and enumeration; and the name
// table every store shares through `pak_module`.
#include "data/pak_system.h"

#include "app/log.h"
#include "data/pak_store.h"
#include "data/pak_system_internal.h"

#include <algorithm>
#include <cstring>

uint32_t pak_name_hash(const char* name)
{
    uint32_t h = 0;
    for (const char* p = name; *p; ++p)
        h = uint32_t(int32_t(static_cast<signed char>(*p))) + (h << 6) + (h << 16) - h;
    return h;
}

pak_module::pak_module(pak_system* sys, bool can_write)
    : system(sys), writable(can_write), names(std::make_unique<pak_name_table>())
{}

pak_module::~pak_module()
{
    // Unlink each chain iteratively: dropping a long chain through its counted next
    // pointers would otherwise recurse once per reference.
    for (ref_ptr<pak_chunkref>& head : names->buckets) {
        ref_ptr<pak_chunkref> r = std::move(head);
        while (r) {
            ref_ptr<pak_chunkref> n = std::move(r->next);
            r = std::move(n);
        }
    }
}

ref_ptr<pak_chunkref> pak_module::get(const char* name)
{
    if (!name || !*name)
        return nullptr;
    for (pak_chunkref* r = names->bucket_of(name).get(); r; r = r->next.get())
        if (!std::strcmp(r->name, name))
            return r;
    return nullptr;
}

void pak_module::insert(const ref_ptr<pak_chunkref>& ref)
{
    ref_ptr<pak_chunkref>* link = &names->bucket_of(ref->name);
    for (; *link; link = &(*link)->next) {
        if (!std::strcmp((*link)->name, ref->name)) {
            ref->next = (*link)->next;
            *link = ref;  // drops the old reference
            return;
        }
    }
    ref_ptr<pak_chunkref>& head = names->bucket_of(ref->name);
    ref->next = head;
    head = ref;
}

ref_ptr<pak_chunkref> pak_module::write_edit_chunk(const pak_editchunk& chunk, int level, bool replace,
                                                   store_status bad_name_status)
{
    if (!chunk.names_fit()) {
        status = bad_name_status;
        return nullptr;
    }
    std::vector<uint8_t> content;
    content.reserve(chunk.content_length());
    chunk.serialise_content(content);
    return write_raw(chunk.code, chunk.name.c_str(), uint32_t(content.size()), chunk.container,
                     content.data(), level, replace);
}

void pak_module::enumerate(uint32_t code, pak_enum_callback& callback)
{
    for (const ref_ptr<pak_chunkref>& head : names->buckets) {
        // Holding the current reference keeps the walk valid if the callback replaces it.
        for (ref_ptr<pak_chunkref> r = head; r; r = r->next)
            if (code == 0 || r->code == code)
                callback.visit(r);
    }
}

size_t pak_module::chunk_count() const
{
    size_t n = 0;
    for (const ref_ptr<pak_chunkref>& head : names->buckets)
        for (const pak_chunkref* r = head.get(); r; r = r->next.get())
            ++n;
    return n;
}

void pak_system::register_creator(uint32_t code, pak_creator* creator)
{
    // A second registration of a code replaces the first: with duplicates the search
    // below could land on either.
    for (creator_entry& e : creators) {
        if (e.code == code) {
            e.creator = creator;
            return;
        }
    }
    creators.push_back({code, creator});
    sorted = false;
}

pak_creator* pak_system::find_creator(uint32_t code)
{
    if (!sorted) {
        std::sort(creators.begin(), creators.end(),
                  [](const creator_entry& a, const creator_entry& b) { return a.code < b.code; });
        sorted = true;
    }
    for (int attempt = 0; attempt < 2; ++attempt, code = pak_code_null) {
        size_t lo = 0, hi = creators.size();
        while (lo < hi) {
            size_t mid = (lo + hi) / 2;
            if (creators[mid].code == code)
                return creators[mid].creator;
            if (hi - lo < 2)
                break;
            if (code > creators[mid].code)
                lo = mid;
            else
                hi = mid;
        }
    }
    return nullptr;
}

void pak_system::add_module(std::unique_ptr<pak_module> module)
{
    module->system = this;
    modules.push_back(std::move(module));
}

bool pak_system::add_archive(const char* path, bool writable)
{
    auto store = std::make_unique<pak_file>(this, writable, path);
    error = store->status;
    if (store->status != pak_module::status_ok)
        return false;
    add_module(std::move(store));
    return true;
}

pak_module* pak_system::add_directory(const char* root, bool writable)
{
    auto store = std::make_unique<pak_dir>(this, writable, root);
    pak_module* m = store.get();
    add_module(std::move(store));
    return m;
}

ref_ptr<pak_chunkref> pak_system::get(const char* name)
{
    if (name && *name) {
        for (const std::unique_ptr<pak_module>& m : modules)
            if (ref_ptr<pak_chunkref> r = m->get(name))
                return r;
    }
    log_line(log_problem) << "pak_system::get() : '" << (name ? name : "") << "' not found!";
    return nullptr;
}

void pak_system::enumerate(uint32_t code, pak_enum_callback& callback)
{
    for (const std::unique_ptr<pak_module>& m : modules)
        m->enumerate(code, callback);
}

bool pak_system::get_object(const char* name, ref_ptr<pak_chunk>& out)
{
    out.reset();
    ref_ptr<pak_chunkref> ref = get(name);
    if (!ref)
        return false;
    if (!ref->object && ref->load() != 0)
        return false;
    out = ref->object;
    return true;
}
