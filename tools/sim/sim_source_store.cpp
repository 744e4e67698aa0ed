// The source-tree store: scanning the root and reading script sources as chunks.
#include "tools/sim/sim_source_store.h"

#include "app/file_io.h"
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

bool code_char(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool sim_parse_source_name(const std::string& file_name, std::string& base, uint32_t& code)
{
    size_t n = file_name.size();
    if (n < 11 || file_name.compare(n - 4, 4, ".txt") != 0 || file_name[n - 9] != '.')
        return false;
    code = 0;
    for (int i = 0; i < 4; ++i) {
        char c = file_name[n - 8 + size_t(i)];
        if (!code_char(c))
            return false;
        code |= uint32_t(uint8_t(c)) << (8 * i);
    }
    base = file_name.substr(0, n - 9);
    return true;
}

sim_source_store::sim_source_store(pak_system* sys, const std::string& root_path)
    : pak_module(sys, false), root(root_path)
{
    if (!root.empty() && root.back() != '/')
        root += '/';
    std::vector<pak_tree_file> files;
    pak_walk_tree(root, files);
    for (const pak_tree_file& file : files) {
        std::string stem, name;
        uint32_t code = 0;
        bool script = sim_parse_source_name(file.leaf, stem, code);
        if ((!script && !pak_parse_chunk_file_name(file.leaf, stem, code)) || !file.chunk_name(stem, name))
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

ref_ptr<pak_chunkref> sim_source_store::write(const pak_editchunk&, int, bool)
{
    status = status_uncreated;
    return nullptr;
}

ref_ptr<pak_chunkref> sim_source_store::write_raw(uint32_t, const char*, uint32_t, bool, const void*, int,
                                                  bool)
{
    status = status_uncreated;
    return nullptr;
}
