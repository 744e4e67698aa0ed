// Chunk bytes as the tamble-pak commands pass them around: loading one chunk from a
// chunk file or an archive, opening a store by path, and writing chunk files.
#pragma once

#include "data/pak.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One chunk in memory with what its record says about it.
struct tool_chunk {
    std::string name;
    uint32_t code = 0;
    bool container = false;
    uint32_t method = 0;  // 0 stored, otherwise compressed in its store
    std::vector<uint8_t> bytes;
};

// Reads every byte of a usable reference. False with a message otherwise.
bool read_chunk(pak_chunkref& ref, tool_chunk& out, std::string& error);

// Opens a path as a store: a directory of chunk files, else an archive (read-only).
// Null with a message when it is neither. A damaged archive still opens; see
// store_damage().
std::unique_ptr<pak_module> open_chunk_store(pak_system& system, const std::string& path, std::string& error);
// A message when indexing the store dropped damaged records, else empty.
std::string store_damage(const pak_module& store);

// Loads one chunk named by SOURCE: a chunk file path ("tex/x.IMAG.pkc", named after its
// base name) or "ARCHIVE:NAME" (the archive may also be a directory store).
bool load_chunk_source(const std::string& source, tool_chunk& out, std::string& error);

// Writes a chunk file; `level` 0 stores the bytes, anything else compresses them.
bool write_chunk_file(const std::string& path, const tool_chunk& chunk, int level, std::string& error);
