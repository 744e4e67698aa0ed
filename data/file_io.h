// Whole-file reads and writes shared by the stores, level and replay files and the tools:
// one closer for C streams, reads with a size limit, and writes that never destroy the file
// they replace.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

struct file_closer {
    void operator()(std::FILE* f) const
    {
        if (f)
            std::fclose(f);
    }
};
// A C stream closed when it goes out of scope.
using file_ptr = std::unique_ptr<std::FILE, file_closer>;

inline file_ptr file_open(const std::string& path, const char* mode)
{
    return file_ptr(std::fopen(path.c_str(), mode));
}

// Reads the whole file. False, with `out` empty, when it cannot be opened or read or is
// longer than `limit` bytes.
bool file_read_all(const std::string& path, std::vector<uint8_t>& out, uint64_t limit = UINT64_MAX);
bool file_read_all(const std::string& path, std::string& out, uint64_t limit = UINT64_MAX);

// Writes the bytes to a temporary file beside `path` ("<path>.tmp"), syncs it to the disk,
// renames it over `path` and syncs the folder. A write that fails (a full disk, a missing
// folder) or a crash at any moment leaves either the previous file or the new one, whole.
// False when anything fails, with the system's reason in `error` when one is given.
bool file_write_replacing(const std::string& path, const void* data, size_t size,
                          std::string* error = nullptr);
