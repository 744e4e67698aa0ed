// Loading chunks from chunk files, archives and directory stores for the tools.
#include "tools/pak/chunk_source.h"

#include "data/pak_tree.h"

#include <filesystem>

namespace fs = std::filesystem;

bool read_chunk(pak_chunkref& ref, tool_chunk& out, std::string& error)
{
    out.name = ref.name;
    out.code = ref.code;
    out.container = ref.container != 0;
    out.method = ref.method;
    out.bytes.assign(ref.uncompressed_size, 0);
    if (ref.status != pak_status_ok || ref.read(out.bytes.data()) != 0) {
        error = "chunk '" + out.name + "' cannot be read (damaged data)";
        out.bytes.clear();
        return false;
    }
    return true;
}

std::unique_ptr<pak_module> open_chunk_store(pak_system& system, const std::string& path, std::string& error)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return std::make_unique<pak_dir>(&system, false, path.c_str());
    if (!fs::exists(path, ec)) {
        error = "'" + path + "': no such file or directory";
        return nullptr;
    }
    auto store = std::make_unique<pak_file>(&system, false, path.c_str());
    if (store->status != pak_module::status_ok) {
        error = "'" + path + "': cannot open the archive";
        return nullptr;
    }
    return store;
}

std::string store_damage(const pak_module& store)
{
    auto* file = dynamic_cast<const pak_file*>(&store);
    if (!file || file->damaged_records == 0)
        return {};
    return "'" + file->path + "' is damaged: " + std::to_string(file->damaged_records) +
           " damaged region(s) skipped";
}

bool load_chunk_source(const std::string& source, tool_chunk& out, std::string& error)
{
    std::error_code ec;
    if (fs::is_regular_file(source, ec)) {
        std::string base;
        uint32_t code = 0;
        if (!pak_split_coded_name(fs::path(source).filename().string(), ".pkc", base, code)) {
            error = "'" + source + "' is not a chunk file (NAME.CODE.pkc) nor ARCHIVE:NAME";
            return false;
        }
        ref_ptr<pakdir_chunkref> ref = pak_open_chunk_file(source, base.c_str(), code);
        if (ref->status != pak_status_ok) {
            error = "'" + source + "': unreadable or damaged chunk file";
            return false;
        }
        return read_chunk(*ref, out, error);
    }
    size_t colon = source.find(':');
    if (colon == std::string::npos) {
        error = "'" + source + "': no such file (expected a chunk file or ARCHIVE:NAME)";
        return false;
    }
    pak_system system;
    std::unique_ptr<pak_module> store = open_chunk_store(system, source.substr(0, colon), error);
    if (!store)
        return false;
    std::string name = source.substr(colon + 1);
    ref_ptr<pak_chunkref> ref = store->get(name.c_str());
    if (!ref) {
        error = "no chunk named '" + name + "' in '" + source.substr(0, colon) + "'";
        return false;
    }
    return read_chunk(*ref, out, error);
}

bool write_chunk_file(const std::string& path, const tool_chunk& chunk, int level, std::string& error)
{
    if (chunk.bytes.size() > pak_max_chunk_size ||
        !pak_write_chunk_file(path, chunk.container, level, chunk.bytes.data(),
                              uint32_t(chunk.bytes.size()))) {
        error = "'" + path + "': cannot write the chunk file";
        return false;
    }
    return true;
}
