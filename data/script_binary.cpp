// The binary form of a script tree: NUL-terminated key names, then the root entry.
// Values are a type byte and a little-endian payload; blocks list (varint name index
// + 1, value) pairs ended by a 0 byte.
#include "data/script_binary.h"

#include "data/byte_order.h"
#include "data/script_text.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace {

class binary_saver {
public:
    explicit binary_saver(script_symbol_table* table) : symbols(table) {}

    script_symbol_table* symbols;
    std::unordered_map<script_id, uint32_t> index_of;
    std::vector<std::string> names;
    std::vector<uint8_t> bytes;

    // A key name that the loader could not read back makes the save fail rather than
    // write a file that loads differently.
    bool add_name(script_id id)
    {
        if (index_of.count(id))
            return true;
        std::string name = symbols->name_of(id);
        if (name.empty() || name.size() >= script_binary_max_name)
            return false;
        index_of.emplace(id, uint32_t(names.size()));
        names.push_back(std::move(name));
        return true;
    }

    // Pre-order: each child's key before the keys below it. `depth` is the node's.
    bool collect(const script_handle& node, int depth)
    {
        bool ok = true;
        node.for_each([&](script_id id, const script_handle& child) {
            ok = ok && depth + 1 <= script_max_depth && add_name(id) &&
                 (child.type() != script_type_block || collect(child, depth + 1));
        });
        return ok;
    }

    void varint(uint32_t value)
    {
        while (value >= 0x80) {
            bytes.push_back(uint8_t(value | 0x80));
            value >>= 7;
        }
        bytes.push_back(uint8_t(value));
    }

    void word(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(value >> (8 * i)));
    }

    void value(const script_handle& node)
    {
        int type = node.type();
        bytes.push_back(uint8_t(type));
        switch (type) {
        case script_type_int:
            word(uint32_t(node.cell->v.i));
            break;
        case script_type_real: {
            uint32_t bits;
            std::memcpy(&bits, &node.cell->v.f, 4);
            word(bits);
            break;
        }
        case script_type_string: {
            const char* s = node.cell->v.s;
            bytes.insert(bytes.end(), s, s + std::strlen(s) + 1);
            break;
        }
        case script_type_block:
            node.for_each([&](script_id id, const script_handle& child) {
                varint(index_of[id] + 1);
                value(child);
            });
            bytes.push_back(0);
            break;
        default:
            break;
        }
    }
};

// Reads within [p, end) only; any read past the end fails the load.
class binary_loader {
public:
    binary_loader(const uint8_t* data, size_t size) : p(data), end(data + size) {}

    const uint8_t* p;
    const uint8_t* end;
    std::vector<script_id> ids;

    bool byte(uint8_t& b)
    {
        if (p == end)
            return false;
        b = *p++;
        return true;
    }

    bool word(uint32_t& w)
    {
        if (end - p < 4)
            return false;
        w = load_le32(p);
        p += 4;
        return true;
    }

    // An unsigned LEB128 number of at most 32 bits.
    bool varint(uint32_t& value)
    {
        value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            uint8_t b;
            if (!byte(b))
                return false;
            if (shift == 28 && (b & 0x70))
                return false;
            value |= uint32_t(b & 0x7F) << shift;
            if (!(b & 0x80))
                return true;
        }
        return false;
    }

    // A NUL-terminated run at p; false when the NUL is missing.
    bool text(const char*& begin, const char*& stop)
    {
        if (p == end)
            return false;
        const void* nul = std::memchr(p, 0, size_t(end - p));
        if (!nul)
            return false;
        begin = reinterpret_cast<const char*>(p);
        stop = static_cast<const char*>(nul);
        p = static_cast<const uint8_t*>(nul) + 1;
        return true;
    }

    bool names(script_symbol_table* symbols)
    {
        for (;;) {
            const char* begin;
            const char* stop;
            if (!text(begin, stop))
                return false;
            if (begin == stop)
                return true;
            if (size_t(stop - begin) >= script_binary_max_name)
                return false;
            ids.push_back(symbols->intern(begin, stop));
        }
    }

    bool name_index(uint32_t v, script_id& id) const
    {
        if (v == 0 || v > ids.size())
            return false;
        id = ids[v - 1];
        return true;
    }

    bool value(const script_handle& node, int depth)
    {
        uint8_t type;
        if (!byte(type))
            return false;
        switch (type) {
        case script_type_none:
            return true;
        case script_type_int: {
            uint32_t w;
            if (!word(w))
                return false;
            node.set_int(int32_t(w));
            return true;
        }
        case script_type_real: {
            uint32_t w;
            if (!word(w))
                return false;
            float f;
            std::memcpy(&f, &w, 4);
            node.set_real(f);
            return true;
        }
        case script_type_string: {
            const char* begin;
            const char* stop;
            if (!text(begin, stop))
                return false;
            node.set_string(begin, stop);
            return true;
        }
        case script_type_block:
            node.make_block();
            for (;;) {
                uint32_t v;
                if (!varint(v))
                    return false;
                if (v == 0)
                    return true;
                script_id id;
                if (!name_index(v, id) || depth + 1 > script_max_depth)
                    return false;
                if (!value(node.make(id), depth + 1))
                    return false;
            }
        default:
            return false;
        }
    }
};

}  // namespace

bool script_save_binary(std::vector<uint8_t>& out, const char* name, const script_handle& handle)
{
    if (!handle.exists() || !handle.cell)
        return false;
    binary_saver saver(handle.symbols);
    script_id root = handle.symbols->intern(name ? name : "root");
    if (!saver.add_name(root))
        return false;
    if (handle.type() == script_type_block && !saver.collect(handle, 0))
        return false;
    for (const std::string& n : saver.names)
        saver.bytes.insert(saver.bytes.end(), n.c_str(), n.c_str() + n.size() + 1);
    saver.bytes.push_back(0);
    saver.varint(saver.index_of[root] + 1);
    saver.value(handle);
    out.insert(out.end(), saver.bytes.begin(), saver.bytes.end());
    return true;
}

bool script_save_binary(FILE* file, const char* name, const script_handle& handle)
{
    std::vector<uint8_t> bytes;
    if (!file || !script_save_binary(bytes, name, handle))
        return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && !std::ferror(file);
}

bool script_load_binary(const uint8_t* data, size_t size, const script_handle& handle,
                        bool into_handle_itself)
{
    if (!handle.exists() || !handle.cell || (!data && size))
        return false;
    binary_loader loader(data, size);
    if (!loader.names(handle.symbols))
        return false;
    uint32_t v;
    script_id root;
    if (!loader.varint(v) || !loader.name_index(v, root))
        return false;
    return loader.value(into_handle_itself ? handle : handle.make(root), 0);
}

bool script_load_binary(FILE* file, const script_handle& handle, bool into_handle_itself)
{
    if (!file)
        return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    if (std::ferror(file))
        return false;
    return script_load_binary(bytes.data(), bytes.size(), handle, into_handle_itself);
}
