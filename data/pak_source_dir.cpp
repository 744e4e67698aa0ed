// The source-tree store: scanning the root and reading script sources as chunks.
#include "data/pak_source_dir.h"

#include "app/file_io.h"
#include "data/pak_store.h"
#include "data/pak_tree.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A script source file served as a stored chunk: its bytes are the file's bytes.
class source_chunkref : public pak_chunkref {
public:
    std::string path;

    int read(void* buffer) override
    {
        file_ptr f = file_open(path, "rb");
        return f && std::fread(buffer, 1, uncompressed_size, f.get()) == uncompressed_size ? 0 : -1;
    }
};

}  // namespace

pak_source_dir::pak_source_dir(pak_system* sys, const std::string& root_path)
    : pak_module(sys, false), root(root_path)
{
    if (!root.empty() && root.back() != '/')
        root += '/';
    std::vector<pak_tree_file> files;
    pak_walk_tree(root, files);
    for (const pak_tree_file& file : files) {
        std::string stem, name;
        uint32_t code = 0;
        bool script = pak_split_coded_name(file.leaf, ".txt", stem, code);
        if ((!script && !pak_split_coded_name(file.leaf, ".pkc", stem, code)) || !file.chunk_name(stem, name))
            continue;
        ref_ptr<pak_chunkref> ref;
        if (script) {
            std::error_code ec;
            uintmax_t size = fs::file_size(file.path, ec);
            if (ec || size > pak_max_chunk_size)
                continue;
            ref_ptr<source_chunkref> src = new source_chunkref;
            src->path = file.path;
            src->code = code;
            src->set_name(name.c_str());
            src->uncompressed_size = src->stored_size = uint32_t(size);
            ref = src;
        } else {
            ref = pak_open_chunk_file(file.path, name.c_str(), code);
        }
        if (ref->status != pak_status_ok)
            continue;
        ref->module = this;
        insert(ref);
    }
}

ref_ptr<pak_chunkref> pak_source_dir::write(const pak_editchunk&, int, bool)
{
    status = status_uncreated;
    return nullptr;
}

ref_ptr<pak_chunkref> pak_source_dir::write_raw(uint32_t, const char*, uint32_t, bool, const void*, int, bool)
{
    status = status_uncreated;
    return nullptr;
}
