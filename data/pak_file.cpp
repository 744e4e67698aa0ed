// The archive store: indexing an archive by its record headers, reading (and inflating)
// chunk bytes under the store's lock, and appending chunks.
#include "data/byte_order.h"
#include "data/pak_store.h"

#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

uint32_t pad4(uint64_t n)
{
    return uint32_t((4 - (n & 3)) & 3);
}

int64_t tell(std::FILE* f)
{
    return int64_t(ftello(f));
}
bool seek(std::FILE* f, int64_t pos)
{
    return fseeko(f, off_t(pos), SEEK_SET) == 0;
}

enum class frame {
    usable,   // a chunk to enter into the table
    skipped,  // an intact record that is not a chunk ("FREE", absurd size): step over it
    damaged,  // the record's own framing is broken: look for the next one
};

// Reads the record at `pos` into `ref`; `next_pos` is where the following record starts.
// Every size is checked against `end` before it is trusted.
frame read_record(std::FILE* f, int64_t pos, int64_t end, pakfile_chunkref& ref, int64_t& next_pos)
{
    ref.record_position = pos;
    uint8_t head[13];
    if (!seek(f, pos) || end - pos < 8 || std::fread(head, 1, 8, f) != 8) {
        ref.status = pak_status_truncated;
        return frame::damaged;
    }
    uint32_t header = load_le32(head + 4);
    if ((header & pak_header_marker_mask) != pak_header_marker) {
        ref.status = pak_status_bad_header;
        return frame::damaged;
    }
    if (end - pos < 13 || std::fread(head + 8, 1, 5, f) != 5) {
        ref.status = pak_status_truncated;
        return frame::damaged;
    }
    ref.code = load_le32(head);
    ref.method = (header >> 25) & 7;
    ref.container = (header & pak_header_container) ? 1 : 0;
    uint32_t size = load_le32(head + 8);
    uint32_t name_len = head[12];
    uint32_t name_pad = pad4(1 + name_len);
    if (name_len > pak_name_capacity) {
        ref.status = pak_status_bad_header;
        return frame::damaged;
    }
    char name[pak_name_capacity + 3];
    if (std::fread(name, 1, name_len + name_pad, f) != name_len + name_pad) {
        ref.status = pak_status_truncated;
        return frame::damaged;
    }
    if (name_len > 0 && !std::memchr(name, 0, name_len)) {
        ref.status = pak_status_bad_header;
        return frame::damaged;
    }
    if (name_len == 0)
        name[0] = 0;
    ref.set_name(name);
    int64_t data_pos = pos + 13 + name_len + name_pad;
    if (data_pos + int64_t(size) > end) {
        ref.status = pak_status_truncated;
        return frame::damaged;
    }
    next_pos = data_pos + int64_t(size) + pad4(size);
    ref.uncompressed_size = ref.stored_size = size;
    ref.data_position = data_pos;
    if (ref.method != 0) {
        uint8_t len[4];
        if (size < 4 || std::fread(len, 1, 4, f) != 4) {
            ref.status = pak_status_truncated;
            return frame::skipped;
        }
        ref.uncompressed_size = load_le32(len);
        ref.stored_size = size - 4;
        ref.data_position = data_pos + 4;
        if (!pak_plausible_inflated_size(ref.uncompressed_size, ref.stored_size)) {
            ref.status = pak_status_truncated;
            return frame::skipped;
        }
    }
    if (ref.code == pak_code_free) {
        ref.status = pak_status_truncated;
        return frame::skipped;
    }
    ref.status = pak_status_ok;
    return frame::usable;
}

}  // namespace

pak_file::pak_file(pak_system* sys, bool can_write, const char* archive_path, pak_enum_callback* callback)
    : pak_module(sys, can_write), path(archive_path ? archive_path : "")
{
    std::error_code ec;
    // Only regular files (or a path to create): a directory opens as a stream on some
    // systems and reports a nonsensical length.
    bool exists = std::filesystem::exists(path, ec);
    if (!path.empty() && (!exists || std::filesystem::is_regular_file(path, ec))) {
        // "w+b" only ever creates: an existing archive that cannot be opened for update
        // must not be truncated instead.
        if (!can_write)
            stream = std::fopen(path.c_str(), "rb");
        else
            stream = std::fopen(path.c_str(), exists ? "r+b" : "w+b");
    }
    if (!stream) {
        status = status_archive_unopened;
        return;
    }
    std::lock_guard<std::mutex> hold(lock);
    if (fseeko(stream, 0, SEEK_END) != 0) {
        status = status_archive_unopened;
        return;
    }
    end_position = tell(stream);
    int64_t pos = 0;
    bool resyncing = false;
    while (pos < end_position) {
        ref_ptr<pakfile_chunkref> ref = new pakfile_chunkref;
        ref->module = this;
        int64_t next_pos = pos + 4;
        frame f = read_record(stream, pos, end_position, *ref, next_pos);
        if (f == frame::damaged) {
            // Records start on 4-byte boundaries: try the next one as a record start.
            if (!resyncing)
                ++damaged_records;
            resyncing = true;
            pos += 4;
            continue;
        }
        resyncing = false;
        if (f == frame::usable) {
            insert(ref);
            if (callback)
                callback->visit(ref);
        }
        pos = next_pos;
    }
}

pak_file::~pak_file()
{
    std::lock_guard<std::mutex> hold(lock);
    if (stream)
        std::fclose(stream);
}

int pakfile_chunkref::read(void* buffer)
{
    pak_file* store = static_cast<pak_file*>(module);
    if (!store || status != pak_status_ok)
        return -1;
    std::lock_guard<std::mutex> hold(store->lock);
    if (!store->stream || !seek(store->stream, data_position))
        return -1;
    if (method == 0)
        return std::fread(buffer, 1, uncompressed_size, store->stream) == uncompressed_size ? 0 : -1;
    std::vector<uint8_t> packed(stored_size);
    if (std::fread(packed.data(), 1, stored_size, store->stream) != stored_size)
        return -1;
    uLongf produced = uncompressed_size;
    if (uncompress(static_cast<Bytef*>(buffer), &produced, packed.data(), stored_size) != Z_OK)
        return -1;
    return produced == uncompressed_size ? 0 : -1;
}

ref_ptr<pak_chunkref> pak_file::write(const pak_editchunk& chunk, int level, bool replace)
{
    return write_edit_chunk(chunk, level, replace, status_write_failed);
}

ref_ptr<pak_chunkref> pak_file::write_raw(uint32_t code, const char* name, uint32_t size, bool container,
                                          const void* data, int level, bool replace)
{
    size_t name_len = name ? std::strlen(name) : 0;
    if (!stream || !writable || name_len == 0 || name_len >= pak_name_capacity || size > pak_max_chunk_size ||
        (size && !data)) {
        status = status_write_failed;
        return nullptr;
    }
    ref_ptr<pak_chunkref> old = get(name);
    if (old && !replace) {
        status = status_refused;
        return nullptr;
    }

    // The whole record is assembled first and written with one call.
    std::vector<uint8_t> rec;
    append_le32(rec, code);
    append_le32(rec, pak_header_word(container, level));
    append_le32(rec, 0);  // size, filled in below
    rec.push_back(uint8_t(name_len + 1));
    rec.insert(rec.end(), name, name + name_len + 1);
    rec.insert(rec.end(), pad4(name_len + 2), 0);
    size_t data_start = rec.size();
    if (level != 0) {
        uLongf packed = compressBound(size);
        append_le32(rec, size);
        size_t at = rec.size();
        rec.resize(at + packed);
        if (compress2(rec.data() + at, &packed, static_cast<const Bytef*>(data), size, 9) != Z_OK) {
            status = status_write_failed;
            return nullptr;
        }
        rec.resize(at + packed);
    } else if (size) {
        rec.insert(rec.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    }
    rec.insert(rec.end(), pad4(rec.size()), 0);
    uint32_t stored = uint32_t(rec.size() - data_start);
    for (int i = 0; i < 4; ++i)
        rec[8 + size_t(i)] = uint8_t(stored >> (8 * i));

    std::lock_guard<std::mutex> hold(lock);
    // The end is rounded up to 4: an archive whose last record lacks its padding must
    // not leave the new record misaligned.
    int64_t pos = end_position + pad4(uint64_t(end_position));
    static const uint8_t zeros[4] = {};
    if (!seek(stream, end_position) ||
        std::fwrite(zeros, 1, size_t(pos - end_position), stream) != size_t(pos - end_position) ||
        std::fwrite(rec.data(), 1, rec.size(), stream) != rec.size() || std::fflush(stream) != 0) {
        status = status_write_failed;
        return nullptr;
    }
    end_position = pos + int64_t(rec.size());

    ref_ptr<pakfile_chunkref> ref = new pakfile_chunkref;
    ref->module = this;
    int64_t next_pos = 0;
    if (read_record(stream, pos, end_position, *ref, next_pos) != frame::usable ||
        std::strcmp(ref->name, name) != 0) {
        status = status_unreadable;
        return nullptr;
    }
    // Only now that the new record is in place is the old one given up.
    if (auto* prev = dynamic_cast<pakfile_chunkref*>(old.get())) {
        uint8_t free_code[4];
        for (int i = 0; i < 4; ++i)
            free_code[i] = uint8_t(pak_code_free >> (8 * i));
        if (!seek(stream, prev->record_position) || std::fwrite(free_code, 1, 4, stream) != 4 ||
            std::fflush(stream) != 0) {
            status = status_write_failed;
            return nullptr;
        }
    }
    insert(ref);
    return ref;
}
