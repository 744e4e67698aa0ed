// Chunk records: walking them in a `pak_rawchunk` and serialising `pak_editchunk`s.
// A record is code, header word, size, name length, name with NUL, zero padding to 4
// (counting the length byte), data, zero padding to 4; all numbers little-endian.
#include "data/byte_order.h"
#include "data/pak_chunk.h"

#include <cstring>

namespace {

uint32_t pad4(uint32_t n)
{
    return (4 - (n & 3)) & 3;
}

// Length byte of a name: its length with the NUL, or 0 for no name.
uint32_t name_field(const std::string& name)
{
    return name.empty() ? 0 : uint32_t(name.size()) + 1;
}

}  // namespace

pak_rawchunk::pak_rawchunk(const ref_ptr<pak_chunkref>& ref)
{
    owns_data = true;
    if (!ref || ref->status != pak_status_ok || ref->uncompressed_size > pak_max_chunk_size)
        return;
    owned.resize(ref->uncompressed_size);
    if (ref->read(owned.data()) != 0) {
        owned.clear();
        owned.shrink_to_fit();
        return;
    }
    data = owned.data();
    size = uint32_t(owned.size());
}

pak_rawchunk::pak_rawchunk(const uint8_t* bytes, uint32_t length) : data(bytes), size(bytes ? length : 0)
{}

int pak_rawchunk::next(pak_record& out)
{
    if (!data || cursor >= size)
        return pak_record_end;
    uint32_t left = size - cursor;
    const uint8_t* p = data + cursor;
    // Code, header word, size and the name length byte, padded to 16 at least.
    if (left < 16) {
        damaged = true;
        return pak_record_end;
    }
    uint32_t header = load_le32(p + 4);
    uint32_t length = load_le32(p + 8);
    uint32_t name_len = p[12];
    uint32_t name_block = 1 + name_len + pad4(1 + name_len);
    if ((header & pak_header_marker_mask) != pak_header_marker || 12 + uint64_t(name_block) > left ||
        (name_len > 0 && p[12 + name_len] != 0) || uint64_t(length) > left - 12 - name_block) {
        damaged = true;
        return pak_record_end;
    }
    out.code = load_le32(p);
    out.size = length;
    out.data = p + 12 + name_block;
    out.name = name_len ? reinterpret_cast<const char*>(p + 13) : "";
    out.container = (header & pak_header_container) != 0;
    last = cursor;
    uint64_t after = uint64_t(cursor) + 12 + name_block + length + pad4(length);
    cursor = after > size ? size : uint32_t(after);
    return out.container ? pak_record_container : pak_record_leaf;
}

bool pak_rawchunk::find(uint32_t code, pak_record& out)
{
    rewind();
    pak_record r;
    int kind;
    while ((kind = next(r)) != pak_record_end) {
        if (r.code == code) {
            out = r;
            return true;
        }
    }
    return false;
}

pak_editchunk pak_editchunk::leaf(uint32_t code, std::string name, std::vector<uint8_t> bytes)
{
    pak_editchunk c;
    c.code = code;
    c.name = std::move(name);
    c.data = std::move(bytes);
    return c;
}

pak_editchunk pak_editchunk::node(uint32_t code, std::string name, std::vector<pak_editchunk> kids)
{
    pak_editchunk c;
    c.code = code;
    c.name = std::move(name);
    c.container = true;
    c.children = std::move(kids);
    return c;
}

bool pak_editchunk::names_fit() const
{
    if (name.size() >= pak_name_capacity || name.find('\0') != std::string::npos)
        return false;
    for (const pak_editchunk& c : children)
        if (!c.names_fit())
            return false;
    return true;
}

uint32_t pak_editchunk::content_length() const
{
    if (!container)
        return uint32_t(data.size());
    uint32_t total = 0;
    for (const pak_editchunk& c : children)
        total += c.record_length();
    return total;
}

uint32_t pak_editchunk::record_length() const
{
    uint32_t n = name_field(name);
    uint32_t head = 12 + 1 + n + pad4(1 + n);
    uint32_t content = content_length();
    return head + content + (container ? 0 : pad4(content));
}

void pak_editchunk::serialise_content(std::vector<uint8_t>& out) const
{
    if (!container) {
        out.insert(out.end(), data.begin(), data.end());
        return;
    }
    for (const pak_editchunk& c : children)
        c.serialise_record(out);
}

void pak_editchunk::serialise_record(std::vector<uint8_t>& out) const
{
    uint32_t n = name_field(name);
    uint32_t content = content_length();
    out.reserve(out.size() + record_length());
    append_le32(out, code);
    append_le32(out, pak_header_word(container, 0));
    append_le32(out, content);
    out.push_back(uint8_t(n));
    if (n)
        out.insert(out.end(), name.c_str(), name.c_str() + n);
    out.insert(out.end(), pad4(1 + n), 0);
    serialise_content(out);
    if (!container)
        out.insert(out.end(), pad4(content), 0);
}
