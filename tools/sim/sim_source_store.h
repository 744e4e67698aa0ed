// A read-only store over a data source tree such as base/: script sources
// "name.CODE.txt" (levels, types, start-up definitions) are served as their script
// chunks, and chunk files "name.CODE.pkc" (replays) as they are. Textures and sounds are
// not served: the simulator needs none. Chunk names are the paths relative to the root,
// without extensions, with backslashes.
#pragma once

#include "data/pak.h"

#include <string>

class sim_source_store : public pak_module {
public:
    std::string root;  // ends with '/'

    sim_source_store(pak_system* sys, const std::string& root_path);

    bool is_directory() const override { return true; }
    // The store is read-only: writes are refused with status 1.
    ref_ptr<pak_chunkref> write(const pak_editchunk& chunk, int level, bool replace) override;
    ref_ptr<pak_chunkref> write_raw(uint32_t code, const char* name, uint32_t size, bool container,
                                    const void* data, int level, bool replace) override;
};

// Splits "x.LEVL.txt" into "x" and the code; false for other names.
bool sim_parse_source_name(const std::string& file_name, std::string& base, uint32_t& code);
