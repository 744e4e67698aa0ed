// Arbitrary bytes opened as an archive: index it, read and walk every chunk, and
// sometimes append and replace a chunk in a writable copy.
#include "app/log.h"
#include "data/pak.h"
#include "fuzz/pak/fuzz_walk.h"

#include <cstdio>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::FILE* quiet = log_redirect_sink0(nullptr);
    (void)quiet;
    static const std::string path = "/tmp/tamble_fuzz_pak_" + std::to_string(getpid()) + ".pk2";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    bool writable = size > 0 && (data[0] & 1);
    pak_system sys;
    pak_file store(&sys, writable, path.c_str());
    std::vector<ref_ptr<pak_chunkref>> refs;
    pak_enum_function collect([&](ref_ptr<pak_chunkref> r) { refs.push_back(std::move(r)); });
    store.enumerate(0, collect);
    volatile unsigned sink = 0;
    for (const ref_ptr<pak_chunkref>& r : refs) {
        pak_rawchunk raw(r);
        sink = sink + fuzz_walk_records(raw, 0);
        sink = sink + unsigned(bool(store.get(r->name)));
    }
    if (writable) {
        const char* name = refs.empty() ? "fuzz" : refs.front()->name;
        const char text[] = "replacement";
        if (ref_ptr<pak_chunkref> w =
                store.write_raw(pak_code_levl, name, sizeof text, false, text, size & 2 ? 9 : 0, true)) {
            pak_rawchunk raw(w);
            if (raw.size != ((sizeof text + 3) & ~3u) && raw.size != sizeof text)
                __builtin_trap();
        }
        pak_file again(&sys, false, path.c_str());
        again.enumerate(0, collect);
    }
    return 0;
}
