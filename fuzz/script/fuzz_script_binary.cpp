// Fuzzes the binary loader of script trees, then writes, saves and reloads what it read.
#include "data/script.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Whatever was loaded is shallow enough to write and, when saved, loads back.
void check(script_symbol_table& symbols, const script_handle& node)
{
    std::string written;
    if (!script_write(written, "root", node))
        std::abort();
    std::vector<uint8_t> bytes;
    if (script_save_binary(bytes, "root", node)) {
        script_handle back = script_handle::fresh(&symbols);
        if (!script_load_binary(bytes.data(), bytes.size(), back, true))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that any read past the end is caught.
    std::vector<uint8_t> input(data, data + size);
    script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
    script_handle tree = script_handle::fresh(&symbols);
    bool itself = size % 2 == 0;
    script_load_binary(input.data(), input.size(), tree, itself);
    if (itself)
        check(symbols, tree);
    else
        tree.for_each([&](script_id, const script_handle& child) { check(symbols, child); });
    return 0;
}
