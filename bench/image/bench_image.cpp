// The image codec on a deterministic 1024 x 1024 RGBA picture: bits per pixel,
// PSNR of RGB and alpha and decode speed (plain, fast, half size) at qualities
// 50, 75 and 90, and libjpeg-turbo at the quality giving the nearest size
// (4:2:0 like ours, RGB only) with its RGBA decode at full and 1/2 scale.
// Speeds are output megapixels per second; half size outputs a quarter of them.
#include "render/image/image_codec.h"
#include "tests/image/image_pattern.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>

#if defined(TAMBLE_HAVE_TURBOJPEG)
#include <turbojpeg.h>
#endif

namespace {

constexpr int32_t W = 1024, H = 1024;

const std::vector<uint8_t>& picture()
{
    static const std::vector<uint8_t> p = image_pattern::make(W, H, 1);
    return p;
}

struct coded {
    std::vector<uint8_t> bytes;
    double bpp = 0, psnr_rgb = 0, psnr_alpha = 0;
    int quality = 0;
};

const coded& ours(int quality)
{
    static std::map<int, coded> cache;
    auto it = cache.find(quality);
    if (it != cache.end())
        return it->second;
    coded c;
    c.quality = quality;
    c.bytes = image_encode_data(W, H, picture().data(), quality);
    c.bpp = double(c.bytes.size()) * 8.0 / double(W * H);
    bit_iovector s(c.bytes.data(), int32_t(c.bytes.size() * 8));
    std::vector<uint8_t> out(size_t(W) * H * 4);
    image_decode_full(W, H, s, out.data());
    c.psnr_rgb = image_pattern::psnr(picture(), out, 0, 3);
    c.psnr_alpha = image_pattern::psnr(picture(), out, 3, 1);
    return cache.emplace(quality, std::move(c)).first->second;
}

using decoder = bool (*)(int32_t, int32_t, bit_seek_stream&, uint8_t*);

void run_ours(benchmark::State& state, decoder d, bool half)
{
    const coded& c = ours(int(state.range(0)));
    int32_t w = half ? W / 2 : W, h = half ? H / 2 : H;
    bit_iovector s(c.bytes.data(), int32_t(c.bytes.size() * 8));
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 4);
    for (auto _ : state) {
        s.seek(0);
        if (!d(w, h, s, out.data()))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bpp"] = c.bpp;
    state.counters["psnr_rgb"] = c.psnr_rgb;
    state.counters["psnr_a"] = c.psnr_alpha;
    state.counters["MPix/s"] = benchmark::Counter(double(w) * double(h) * double(state.iterations()) / 1e6,
                                                  benchmark::Counter::kIsRate);
}

void BM_ours_plain(benchmark::State& state)
{
    run_ours(state, image_decode_full, false);
}
void BM_ours_fast(benchmark::State& state)
{
    run_ours(state, image_decode_full_fast, false);
}
void BM_ours_half(benchmark::State& state)
{
    run_ours(state, image_decode_half, true);
}
void BM_ours_half_fast(benchmark::State& state)
{
    run_ours(state, image_decode_half_fast, true);
}

BENCHMARK(BM_ours_plain)->Arg(50)->Arg(75)->Arg(90)->ArgName("quality")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ours_fast)->Arg(50)->Arg(75)->Arg(90)->ArgName("quality")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ours_half)->Arg(50)->Arg(75)->Arg(90)->ArgName("quality")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ours_half_fast)->Arg(50)->Arg(75)->Arg(90)->ArgName("quality")->Unit(benchmark::kMillisecond);

#if defined(TAMBLE_HAVE_TURBOJPEG)

std::vector<uint8_t> jpeg_encode(int quality)
{
    tjhandle tj = tjInitCompress();
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, picture().data(), W, 0, H, TJPF_RGBA, &buf, &size, TJSAMP_420, quality, 0);
    std::vector<uint8_t> out(buf, buf + size);
    tjFree(buf);
    tjDestroy(tj);
    return out;
}

// The JPEG quality whose size comes nearest to our stream at `quality`.
const coded& jpeg_matching(int quality)
{
    static std::map<int, coded> cache;
    auto it = cache.find(quality);
    if (it != cache.end())
        return it->second;
    const double target = ours(quality).bpp;
    coded best;
    double best_gap = 1e9;
    for (int q = 5; q <= 100; ++q) {
        std::vector<uint8_t> bytes = jpeg_encode(q);
        double bpp = double(bytes.size()) * 8.0 / double(W * H);
        if (std::fabs(bpp - target) < best_gap) {
            best_gap = std::fabs(bpp - target);
            best.bytes = std::move(bytes);
            best.bpp = bpp;
            best.quality = q;
        }
    }
    tjhandle tj = tjInitDecompress();
    std::vector<uint8_t> out(size_t(W) * H * 4);
    tjDecompress2(tj, best.bytes.data(), best.bytes.size(), out.data(), W, 0, H, TJPF_RGBA, 0);
    tjDestroy(tj);
    best.psnr_rgb = image_pattern::psnr(picture(), out, 0, 3);
    return cache.emplace(quality, std::move(best)).first->second;
}

void run_jpeg(benchmark::State& state, bool half)
{
    const coded& c = jpeg_matching(int(state.range(0)));
    int32_t w = half ? W / 2 : W, h = half ? H / 2 : H;
    std::vector<uint8_t> out(size_t(w) * size_t(h) * 4);
    tjhandle tj = tjInitDecompress();
    for (auto _ : state) {
        if (tjDecompress2(tj, c.bytes.data(), c.bytes.size(), out.data(), w, 0, h, TJPF_RGBA, 0) != 0)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
    }
    tjDestroy(tj);
    state.counters["jpeg_q"] = c.quality;
    state.counters["bpp"] = c.bpp;
    state.counters["psnr_rgb"] = c.psnr_rgb;
    state.counters["MPix/s"] = benchmark::Counter(double(w) * double(h) * double(state.iterations()) / 1e6,
                                                  benchmark::Counter::kIsRate);
}

void BM_jpeg_full(benchmark::State& state)
{
    run_jpeg(state, false);
}
void BM_jpeg_half(benchmark::State& state)
{
    run_jpeg(state, true);
}

BENCHMARK(BM_jpeg_full)
    ->Arg(50)
    ->Arg(75)
    ->Arg(90)
    ->ArgName("sized_as_quality")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_jpeg_half)
    ->Arg(50)
    ->Arg(75)
    ->Arg(90)
    ->ArgName("sized_as_quality")
    ->Unit(benchmark::kMillisecond);

#endif

}  // namespace

BENCHMARK_MAIN();
