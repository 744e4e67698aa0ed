// The directory store: one chunk file per chunk, named "<root><name>.<CODE>.pkc" with the
// name's backslashes as subdirectories; scanning a root, reading and writing chunk files.
#include "app/file_io.h"
#include "data/byte_order.h"
#include "data/pak_store.h"
#include "data/pak_tree.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A name whose parts are all real names: nothing that could climb out of the root.
bool name_stays_inside(const char* name)
{
    size_t len = std::strlen(name);
    if (len == 0 || len >= pak_name_capacity)
        return false;
    const char* part = name;
    for (const char* p = name;; ++p) {
        if (*p == '\\' || *p == 0) {
            std::string_view piece(part, size_t(p - part));
            if (piece.empty() || piece == "." || piece == "..")
                return false;
            if (*p == 0)
                return true;
            part = p + 1;
        } else if (*p == '/') {
            return false;
        }
    }
}

}  // namespace

ref_ptr<pakdir_chunkref> pak_open_chunk_file(const std::string& file_path, const char* name, uint32_t code)
{
    ref_ptr<pakdir_chunkref> ref = new pakdir_chunkref;
    ref->path = file_path;
    ref->code = code;
    if (!ref->set_name(name)) {
        ref->status = pak_status_bad_header;
        return ref;
    }
    std::error_code ec;
    file_ptr stream = fs::is_regular_file(file_path, ec) ? file_open(file_path, "rb") : nullptr;
    std::FILE* f = stream.get();
    if (!f) {
        ref->status = pak_status_unopened;
        return ref;
    }
    uint8_t head[8];
    if (fseeko(f, 0, SEEK_END) != 0) {
        ref->status = pak_status_unopened;
        return ref;
    }
    int64_t length = int64_t(ftello(f));
    if (length < 4 || fseeko(f, 0, SEEK_SET) != 0 || std::fread(head, 1, 4, f) != 4) {
        ref->status = pak_status_truncated;
        return ref;
    }
    uint32_t header = load_le32(head);
    if ((header & pak_header_marker_mask) != pak_header_marker) {
        ref->status = pak_status_bad_header;
        return ref;
    }
    ref->method = (header >> 25) & 7;
    ref->container = (header & pak_header_container) ? 1 : 0;
    if (ref->method != 0) {
        if (length < 8 || std::fread(head + 4, 1, 4, f) != 4) {
            ref->status = pak_status_truncated;
            return ref;
        }
        ref->uncompressed_size = load_le32(head + 4);
        if (length - 8 > int64_t(pak_max_chunk_size) ||
            !pak_plausible_inflated_size(ref->uncompressed_size, uint64_t(length - 8))) {
            ref->status = pak_status_truncated;
            return ref;
        }
        ref->stored_size = uint32_t(length - 8);
    } else {
        if (length - 4 > int64_t(pak_max_chunk_size)) {
            ref->status = pak_status_truncated;
            return ref;
        }
        ref->stored_size = ref->uncompressed_size = uint32_t(length - 4);
    }
    ref->status = pak_status_ok;
    return ref;
}

int pakdir_chunkref::read(void* buffer)
{
    if (status != pak_status_ok)
        return -1;
    file_ptr stream = file_open(path, "rb");
    std::FILE* f = stream.get();
    if (!f) {
        status = pak_status_unopened;
        return -1;
    }
    if (method == 0) {
        if (fseeko(f, 4, SEEK_SET) != 0)
            return -1;
        return std::fread(buffer, 1, uncompressed_size, f) == uncompressed_size ? 0 : -1;
    }
    std::vector<uint8_t> packed(stored_size);
    if (fseeko(f, 8, SEEK_SET) != 0 || std::fread(packed.data(), 1, stored_size, f) != stored_size)
        return -1;
    uLongf produced = uncompressed_size;
    if (uncompress(static_cast<Bytef*>(buffer), &produced, packed.data(), stored_size) != Z_OK)
        return -1;
    return produced == uncompressed_size ? 0 : -1;
}

bool pak_read_chunk_file(const std::string& file_path, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    ref_ptr<pakdir_chunkref> ref = pak_open_chunk_file(file_path, "file", 0);
    if (ref->status != pak_status_ok)
        return false;
    bytes.resize(ref->uncompressed_size);
    if (ref->read(bytes.data()) != 0) {
        bytes.clear();
        return false;
    }
    return true;
}

bool pak_write_chunk_file(const std::string& file_path, bool container, int level, const void* data,
                          uint32_t size)
{
    if (size && !data)
        return false;
    std::vector<uint8_t> bytes;
    append_le32(bytes, pak_header_word(container, level));
    if (level != 0) {
        uLongf packed = compressBound(size);
        append_le32(bytes, size);
        bytes.resize(8 + packed);
        if (compress2(bytes.data() + 8, &packed, static_cast<const Bytef*>(data), size, 9) != Z_OK)
            return false;
        bytes.resize(8 + packed);
    } else if (size) {
        bytes.insert(bytes.end(), static_cast<const uint8_t*>(data),
                     static_cast<const uint8_t*>(data) + size);
    }
    return file_write_replacing(file_path, bytes.data(), bytes.size());
}

pak_dir::pak_dir(pak_system* sys, bool can_write, const char* root_path)
    : pak_module(sys, can_write), root(root_path ? root_path : "")
{
    std::replace(root.begin(), root.end(), '\\', '/');
    if (!root.empty() && root.back() != '/')
        root += '/';
    // Sorted by name and code, so that the table, and which of two same-named chunks
    // wins, never depends on the order the file system lists entries in.
    std::vector<pak_tree_file> files;
    pak_walk_tree(root, files);
    std::vector<std::pair<std::string, uint32_t>> found;
    for (const pak_tree_file& file : files) {
        std::string stem, name;
        uint32_t code = 0;
        if (pak_split_coded_name(file.leaf, ".pkc", stem, code) && file.chunk_name(stem, name))
            found.emplace_back(name, code);
    }
    std::sort(found.begin(), found.end());
    for (const auto& [name, code] : found) {
        ref_ptr<pakdir_chunkref> ref =
            pak_open_chunk_file(chunk_path(name.c_str(), code), name.c_str(), code);
        ref->module = this;
        if (ref->status == pak_status_ok)
            insert(ref);
    }
}

std::string pak_dir::chunk_path(const char* name, uint32_t code) const
{
    std::string file = root + name;
    std::replace(file.begin() + std::ptrdiff_t(root.size()), file.end(), '\\', '/');
    return file + '.' + pak_code_text(code) + ".pkc";
}

ref_ptr<pak_chunkref> pak_dir::write(const pak_editchunk& chunk, int level, bool replace)
{
    return write_edit_chunk(chunk, level, replace, status_uncreated);
}

ref_ptr<pak_chunkref> pak_dir::write_raw(uint32_t code, const char* name, uint32_t size, bool container,
                                         const void* data, int level, bool replace)
{
    if (!writable || !name || !name_stays_inside(name) || !pak_code_is_plain(code) || size > pak_max_chunk_size) {
        status = status_uncreated;
        return nullptr;
    }
    ref_ptr<pak_chunkref> old = get(name);
    if (old && !replace) {
        status = status_refused;
        return nullptr;
    }
    std::string file = chunk_path(name, code);
    if (!pak_write_chunk_file(file, container, level, data, size)) {
        // Create the missing directories (the root and each level of the name), then retry.
        std::error_code ec;
        fs::create_directories(fs::path(file).parent_path(), ec);
        if (!pak_write_chunk_file(file, container, level, data, size)) {
            status = status_uncreated;
            return nullptr;
        }
    }
    ref_ptr<pakdir_chunkref> ref = pak_open_chunk_file(file, name, code);
    ref->module = this;
    if (ref->status != pak_status_ok) {
        status = status_unreadable;
        return nullptr;
    }
    // The same name under another code is another file; it must not come back on a rescan.
    if (auto* prev = dynamic_cast<pakdir_chunkref*>(old.get()); prev && prev->path != file) {
        std::error_code ec;
        fs::remove(prev->path, ec);
    }
    insert(ref);
    return ref;
}
