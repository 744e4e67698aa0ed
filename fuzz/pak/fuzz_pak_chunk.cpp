// Arbitrary bytes as a chunk file (read and walked) and as record data walked directly.
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
    volatile unsigned sink = 0;
    pak_rawchunk direct(data, uint32_t(size));
    sink = sink + fuzz_walk_records(direct, 0);

    static const std::string path = "/tmp/tamble_fuzz_pkc_" + std::to_string(getpid()) + ".IMAG.pkc";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    ref_ptr<pakdir_chunkref> ref = pak_open_chunk_file(path, "fuzz", pak_code_imag);
    pak_rawchunk raw{ref_ptr<pak_chunkref>(ref)};
    sink = sink + fuzz_walk_records(raw, 0);
    return 0;
}
