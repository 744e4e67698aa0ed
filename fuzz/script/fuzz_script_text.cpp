// Fuzzes the script text parser, then writes what it read as text and in the binary
// form, which must load back.
#include "data/script.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
    script_handle tree = script_handle::fresh(&symbols);
    script_parser parser(tree);
    parser.parse(text.c_str());

    std::string written;
    if (!script_write(written, nullptr, tree))
        std::abort();  // anything parsed is shallow enough to write
    std::vector<uint8_t> bytes;
    if (script_save_binary(bytes, "config", tree)) {
        script_handle back = script_handle::fresh(&symbols);
        if (!script_load_binary(bytes.data(), bytes.size(), back, true))
            std::abort();
    }
    return 0;
}
