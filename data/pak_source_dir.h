// A read-only store over a data source tree such as base/: script sources
// "name.CODE.txt" (levels, types, start-up definitions) are served as their script
// chunks, and chunk files "name.CODE.pkc" (replays) as they are. Textures and sounds are
// not served: playing a source tree draws what has no texture plainly. Chunk names follow
// the one rule of pak_tree.h: the paths relative to the root, without extensions, with
// backslashes.
#pragma once

#include "data/pak_system.h"

#include <string>

class pak_source_dir : public pak_module {
public:
    std::string root;  // ends with '/'

    pak_source_dir(pak_system* sys, const std::string& root_path);

    bool is_directory() const override { return true; }
    // The store is read-only: writes are refused with status 1.
    ref_ptr<pak_chunkref> write(const pak_editchunk& chunk, int level, bool replace) override;
    ref_ptr<pak_chunkref> write_raw(uint32_t code, const char* name, uint32_t size, bool container,
                                    const void* data, int level, bool replace) override;
};
