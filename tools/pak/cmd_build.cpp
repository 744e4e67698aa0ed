// tamble-pak build: an archive from source roots, deterministically. Chunks are written
// in the byte order of their names, with nothing in the archive that depends on time or
// on the order the file system lists files in; later roots override earlier ones.
#include "tools/pak/build_converters.h"
#include "tools/pak/chunk_source.h"
#include "tools/pak/commands.h"

#include "data/pak_tree.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

struct source_file {
    std::string path;
    const build_converter* converter = nullptr;
    uint32_t code = 0;
};

bool ends_with(const std::string& s, const char* tail)
{
    size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// Works out the chunk a source file makes; false (with a warning unless the file is no
// source at all) when it makes none.
bool classify(const pak_tree_file& file, source_file& src, std::string& name, std::string& warning)
{
    for (const build_converter* c = build_converters; c->extension; ++c) {
        if (!ends_with(file.leaf, c->extension))
            continue;
        std::string stem = file.leaf.substr(0, file.leaf.size() - std::strlen(c->extension));
        uint32_t code = c->code;
        if (code == 0) {
            std::string base;
            if (!pak_split_coded_name(file.leaf, c->extension, base, code)) {
                // "notes.txt" or "CMakeLists.txt" are simply no sources; "x.LEV.txt" is a slip.
                if (stem.find('.') != std::string::npos)
                    warning =
                        "'" + file.relative + "' skipped: no four-character .CODE before " + c->extension;
                return false;
            }
            stem = base;
        }
        if (!file.chunk_name(stem, name)) {
            warning = "'" + file.relative +
                      "' skipped: unusable chunk name (empty, a backslash, or longer than " +
                      std::to_string(pak_name_capacity - 1) + " bytes)";
            return false;
        }
        src.converter = c;
        src.code = code;
        return true;
    }
    return false;
}

}  // namespace

int cmd_build(int argc, char** argv)
{
    std::string out;
    std::vector<std::string> roots;
    for (int i = 0; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-o") && i + 1 < argc)
            out = argv[++i];
        else if (argv[i][0] == '-')
            return pak_tool_fail("build", std::string("unknown option '") + argv[i] + "' (try --help)");
        else
            roots.push_back(argv[i]);
    }
    if (out.empty() || roots.empty())
        return pak_tool_fail("build", "expected -o OUT and at least one ROOT (try --help)");

    std::map<std::string, source_file> chunks;  // by chunk name: the build order
    for (const std::string& root : roots) {
        std::vector<pak_tree_file> files;
        std::string error;
        if (!pak_walk_tree(root, files, &error))
            return pak_tool_fail("build", error);
        std::map<std::string, source_file> here;
        for (const pak_tree_file& file : files) {
            source_file src;
            std::string name, warning;
            src.path = file.path;
            if (!classify(file, src, name, warning)) {
                if (!warning.empty())
                    std::fprintf(stderr, "tamble-pak: build: warning: %s\n", warning.c_str());
                continue;
            }
            auto [at, fresh] = here.emplace(name, src);
            if (!fresh)
                return pak_tool_fail("build", "two sources for chunk '" + name + "': '" + at->second.path +
                                                  "' and '" + src.path + "'");
        }
        for (auto& [name, src] : here)
            chunks[name] = src;
    }

    // Built beside the target and renamed over it: a failed build leaves the old archive.
    std::string temp = out + ".tmp";
    std::error_code ec;
    fs::remove(temp, ec);
    {
        pak_system system;
        pak_file archive(&system, true, temp.c_str());
        if (archive.status != pak_module::status_ok)
            return pak_tool_fail("build", "'" + out + "': cannot create the archive");
        for (const auto& [name, src] : chunks) {
            build_output made;
            std::string error;
            if (!src.converter->convert(src.path, made, error)) {
                fs::remove(temp, ec);
                return pak_tool_fail("build", error);
            }
            if (made.bytes.size() > pak_max_chunk_size ||
                !archive.write_raw(src.code, name.c_str(), uint32_t(made.bytes.size()), made.container,
                                   made.bytes.data(), made.level, false)) {
                fs::remove(temp, ec);
                return pak_tool_fail("build", "cannot write chunk '" + name + "' to '" + out + "'");
            }
        }
    }
    fs::rename(temp, out, ec);
    if (ec) {
        fs::remove(temp, ec);
        return pak_tool_fail("build", "'" + out + "': cannot replace the archive");
    }
    return 0;
}
