// Pak stores: opening and indexing an archive of 2 000 chunks, lookups by name, and
// reading a 1 MB chunk through the archive against zlib's own uncompress.
#include "app/log.h"
#include "data/pak.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::string scratch(const char* leaf)
{
    return (std::filesystem::temp_directory_path() /
            ("tamble_bench_pak_" + std::to_string(getpid()) + "_" + leaf))
        .string();
}

std::string chunk_name(int i)
{
    return "levels\\world" + std::to_string(i % 7) + "\\level_" + std::to_string(i);
}

// An archive of 2 000 small compressed script chunks, made once.
const std::string& many_chunk_archive()
{
    static const std::string path = [] {
        std::string p = scratch("many.pk2");
        std::filesystem::remove(p);
        pak_system sys;
        pak_file f(&sys, true, p.c_str());
        std::string text;
        for (int i = 0; i < 2000; ++i) {
            text = "level { index " + std::to_string(i) + " gravity 20.0 name \"L\" }\n";
            f.write_raw(pak_code_levl, chunk_name(i).c_str(), uint32_t(text.size()), false, text.data(), 9,
                        false);
        }
        return p;
    }();
    return path;
}

// About 1 MB of text-like bytes that deflate to roughly a third.
std::vector<uint8_t> megabyte_payload()
{
    std::vector<uint8_t> v(1 << 20);
    uint32_t s = 12345;
    for (size_t i = 0; i < v.size(); ++i) {
        s = s * 1103515245u + 12345u;
        v[i] = uint8_t('a' + ((s >> 16) % 16));
    }
    return v;
}

void bm_open_and_index(benchmark::State& state)
{
    const std::string& path = many_chunk_archive();
    for (auto _ : state) {
        pak_system sys;
        pak_file f(&sys, false, path.c_str());
        benchmark::DoNotOptimize(f.chunk_count());
    }
    state.counters["chunks"] = 2000;
}
BENCHMARK(bm_open_and_index)->Unit(benchmark::kMillisecond);

void bm_get(benchmark::State& state)
{
    pak_system sys;
    sys.add_archive(many_chunk_archive().c_str(), false);
    std::vector<std::string> names;
    for (int i = 0; i < 2000; ++i)
        names.push_back(chunk_name(i * 7 % 2000));
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sys.get(names[k].c_str()));
        k = (k + 1) % names.size();
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}
BENCHMARK(bm_get);

struct megabyte_chunk {
    std::vector<uint8_t> plain = megabyte_payload();
    std::vector<uint8_t> packed;
    std::string path = scratch("mb.pk2");
    megabyte_chunk()
    {
        std::filesystem::remove(path);
        pak_system sys;
        pak_file f(&sys, true, path.c_str());
        f.write_raw(pak_code_samp, "music\\big", uint32_t(plain.size()), false, plain.data(), 9, false);
        uLongf n = compressBound(uLong(plain.size()));
        packed.resize(n);
        compress2(packed.data(), &n, plain.data(), uLong(plain.size()), 9);
        packed.resize(n);
    }
};

megabyte_chunk& megabyte()
{
    static megabyte_chunk m;
    return m;
}

void bm_read_inflate_1mb(benchmark::State& state)
{
    megabyte_chunk& m = megabyte();
    pak_system sys;
    sys.add_archive(m.path.c_str(), false);
    ref_ptr<pak_chunkref> ref = sys.get("music\\big");
    std::vector<uint8_t> out(ref->uncompressed_size);
    for (auto _ : state) {
        if (ref->read(out.data()) != 0)
            state.SkipWithError("read failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}
BENCHMARK(bm_read_inflate_1mb)->Unit(benchmark::kMicrosecond);

void bm_zlib_uncompress_1mb(benchmark::State& state)
{
    megabyte_chunk& m = megabyte();
    std::vector<uint8_t> out(m.plain.size());
    for (auto _ : state) {
        uLongf n = uLongf(out.size());
        if (uncompress(out.data(), &n, m.packed.data(), uLong(m.packed.size())) != Z_OK)
            state.SkipWithError("uncompress failed");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}
BENCHMARK(bm_zlib_uncompress_1mb)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    log_redirect_sink0(nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(scratch("many.pk2"));
    std::filesystem::remove(scratch("mb.pk2"));
    return 0;
}
