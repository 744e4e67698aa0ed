// The two kinds of store: `pak_file`, every chunk in one archive file read under a lock,
// and `pak_dir`, one chunk file ("name.CODE.pkc") per chunk under a root directory.
#pragma once

#include "data/pak_system.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

class pak_file;

// A chunk inside an archive: where its record and its data start.
class pakfile_chunkref : public pak_chunkref {
public:
    int64_t record_position = 0;
    int64_t data_position = 0;

    int read(void* buffer) override;
};

// All chunks in one archive file, a plain sequence of records from offset 0. Indexing
// reads only record headers. A damaged record is dropped and the reader looks for the
// next intact record at the following 4-byte boundaries, so one bad record does not
// hide the ones after it.
class pak_file : public pak_module {
public:
    std::string path;
    std::mutex lock;  // every access to the stream happens under it
    std::FILE* stream = nullptr;
    int64_t end_position = 0;
    uint32_t damaged_records = 0;  // records dropped while indexing (not "FREE" ones)

    // Opens ("rb"; when writable "r+b", or "w+b" only for a new file) and indexes the
    // archive; the callback, when given, sees each usable reference as it is read.
    pak_file(pak_system* sys, bool writable, const char* archive_path, pak_enum_callback* callback = nullptr);
    ~pak_file() override;

    bool is_directory() const override { return false; }
    ref_ptr<pak_chunkref> write(const pak_editchunk& chunk, int level, bool replace) override;
    // Appends a record and reads it back. With `replace`, an older record of the same
    // name is marked "FREE" once the new one is safely in the file.
    ref_ptr<pak_chunkref> write_raw(uint32_t code, const char* name, uint32_t size, bool container,
                                    const void* data, int level, bool replace) override;
};

// A chunk in a chunk file of its own: 4-byte header word, then either the bytes (level
// 0) or the uncompressed length and a zlib stream.
class pakdir_chunkref : public pak_chunkref {
public:
    std::string path;

    int read(void* buffer) override;
};

// Opens a chunk file by path, taking the chunk's name and code from the caller. The
// result always exists; its status says whether it is usable.
ref_ptr<pakdir_chunkref> pak_open_chunk_file(const std::string& file_path, const char* name, uint32_t code);
// Reads the whole chunk of a chunk file (stored or compressed) into `bytes`, whatever its
// name. False, with `bytes` empty, for a missing, damaged or truncated file.
bool pak_read_chunk_file(const std::string& file_path, std::vector<uint8_t>& bytes);
// Writes a chunk file (through a temporary file renamed over the old one, so a failed
// write leaves the previous file intact). False on failure.
bool pak_write_chunk_file(const std::string& file_path, bool container, int level, const void* data,
                          uint32_t size);

// One chunk file per chunk under `root`; backslashes in chunk names are subdirectories.
// The constructor lists the root recursively and makes a reference for every
// "name.CODE.pkc", named by its path relative to the root with backslashes.
class pak_dir : public pak_module {
public:
    std::string root;  // ends with '/'

    pak_dir(pak_system* sys, bool writable, const char* root_path);

    bool is_directory() const override { return true; }
    // The file of a chunk: root, name with '\' turned into '/', ".CODE.pkc".
    std::string chunk_path(const char* name, uint32_t code) const;
    // Writes the chunk file, creating missing directories. Names that would leave the
    // root (empty, "." or ".." parts, '/' or a leading '\') and codes that are not
    // plain characters are refused with status 1.
    ref_ptr<pak_chunkref> write(const pak_editchunk& chunk, int level, bool replace) override;
    ref_ptr<pak_chunkref> write_raw(uint32_t code, const char* name, uint32_t size, bool container,
                                    const void* data, int level, bool replace) override;
};
