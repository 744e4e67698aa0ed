// tamble-pak list, cat and extract: looking into archives and directory stores.
#include "tools/pak/chunk_source.h"
#include "tools/pak/commands.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

// Names come from files that may be damaged: keep control bytes off the terminal.
std::string printable(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = '?';
    return out;
}

std::vector<ref_ptr<pak_chunkref>> all_chunks(pak_module& store)
{
    std::vector<ref_ptr<pak_chunkref>> refs;
    pak_enum_function collect([&](ref_ptr<pak_chunkref> r) { refs.push_back(std::move(r)); });
    store.enumerate(0, collect);
    return refs;
}

}  // namespace

int cmd_list(int argc, char** argv)
{
    if (argc != 1)
        return pak_tool_fail(nullptr, "list: expected one ARCHIVE or DIR (try --help)");
    pak_system system;
    std::string error;
    std::unique_ptr<pak_module> store = open_chunk_store(system, argv[0], error);
    if (!store)
        return pak_tool_fail(nullptr, error);
    for (const ref_ptr<pak_chunkref>& r : all_chunks(*store)) {
        std::string code = printable(pak_code_text(r->code));
        std::printf("%s[%s,%c]\t%u\t%u\t%u\n", printable(r->name).c_str(), code.c_str(),
                    r->container ? 'C' : '-', r->method, r->uncompressed_size, r->stored_size);
    }
    std::string damage = store_damage(*store);
    return damage.empty() ? 0 : pak_tool_fail(nullptr, damage);
}

int cmd_cat(int argc, char** argv)
{
    tool_chunk chunk;
    std::string error;
    if (argc == 1) {
        if (!load_chunk_source(argv[0], chunk, error))
            return pak_tool_fail(nullptr, error);
    } else if (argc == 2) {
        pak_system system;
        std::unique_ptr<pak_module> store = open_chunk_store(system, argv[0], error);
        if (!store)
            return pak_tool_fail(nullptr, error);
        ref_ptr<pak_chunkref> ref = store->get(argv[1]);
        if (!ref)
            return pak_tool_fail(nullptr, "no chunk named '" + printable(argv[1]) + "' in '" + argv[0] + "'");
        if (!read_chunk(*ref, chunk, error))
            return pak_tool_fail(nullptr, error);
    } else {
        return pak_tool_fail(nullptr, "cat: expected SOURCE NAME, a chunk file or ARCHIVE:NAME (try --help)");
    }
    if (!chunk.bytes.empty() &&
        std::fwrite(chunk.bytes.data(), 1, chunk.bytes.size(), stdout) != chunk.bytes.size())
        return pak_tool_fail(nullptr, "cat: write error on standard output");
    return std::fflush(stdout) == 0 ? 0 : pak_tool_fail(nullptr, "cat: write error on standard output");
}

int cmd_extract(int argc, char** argv)
{
    if (argc != 2)
        return pak_tool_fail(nullptr, "extract: expected ARCHIVE DIR (try --help)");
    pak_system system;
    std::string error;
    std::unique_ptr<pak_module> store = open_chunk_store(system, argv[0], error);
    if (!store)
        return pak_tool_fail(nullptr, error);
    pak_dir out(&system, true, argv[1]);
    int failed = 0;
    for (const ref_ptr<pak_chunkref>& r : all_chunks(*store)) {
        tool_chunk chunk;
        if (!read_chunk(*r, chunk, error)) {
            pak_tool_fail(nullptr, error);
            ++failed;
            continue;
        }
        if (!out.write_raw(chunk.code, chunk.name.c_str(), uint32_t(chunk.bytes.size()), chunk.container,
                           chunk.bytes.data(), chunk.method ? 9 : 0, true)) {
            pak_tool_fail(nullptr, "extract: cannot write chunk '" + printable(chunk.name) + "' (" +
                                       printable(pak_code_text(chunk.code)) + ") under '" + argv[1] + "'");
            ++failed;
        }
    }
    std::string damage = store_damage(*store);
    if (!damage.empty())
        return pak_tool_fail(nullptr, damage);
    return failed ? pak_tool_fail(nullptr, "extract: " + std::to_string(failed) + " chunk(s) not extracted")
                  : 0;
}
