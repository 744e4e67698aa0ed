// Whole-file reads and writes shared by the stores, level and replay files, the test
// driver's scripts and the tools: one closer for C streams, reads with a size limit, and
// writes that never destroy the file they replace. On the ground floor (no other module
// needed) so that every layer reads files the same way.
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

// The most a whole-file read takes unless its caller asks for less: a path that names an
// endless device or a runaway file fails instead of exhausting memory.
constexpr uint64_t file_read_default_limit = uint64_t(1) << 30;

// Reads the whole file. False, with `out` empty, when it cannot be opened or read or is
// longer than `limit` bytes.
bool file_read_all(const std::string& path, std::vector<uint8_t>& out,
                   uint64_t limit = file_read_default_limit);
bool file_read_all(const std::string& path, std::string& out, uint64_t limit = file_read_default_limit);

// Writes the bytes to a temporary file beside `path` ("<path>.tmp"), syncs it to the disk,
// renames it over `path` and syncs the folder. A write that fails (a full disk, a missing
// folder) or a crash at any moment leaves either the previous file or the new one, whole.
// False when anything fails, with the system's reason in `error` when one is given.
bool file_write_replacing(const std::string& path, const void* data, size_t size,
                          std::string* error = nullptr);
