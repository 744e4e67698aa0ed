// The mixer: mixing 16 looping voices as a multiple of real time on one core (with and
// without the decoding ahead that follows each pass), and the latency from `play` on the
// main thread to the first audible frame leaving the device callback.
//
// The voices play the game's samples when its tamble.pk2 (found as the game finds it, or
// in the build folder) holds "SAMP" chunks (the four longest, each four times), else four
// pieces of the shared test signal. Latency runs
// on the driver SDL_AUDIODRIVER names (the dummy driver when it is unset).
#include "data/archive_search.h"
#include "data/pak.h"
#include "sound/codec/sample_encoder.h"
#include "sound/device/audio_device.h"
#include "sound/sound.h"
#include "tests/sound/test_signal.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr int32_t pass_frames = sound_device_frames;

struct sample_set {
    pak_system pak;
    std::vector<ref_ptr<w_sample>> samples;
    std::string origin;
};

sample_set& samples()
{
    static sample_set set;
    if (!set.samples.empty())
        return set;
    sound_register_creators(set.pak);
    std::vector<std::string> looked_in;
    std::string archive = pak_find_game_archive(nullptr, {TAMBLE_BUILD_DIR}, looked_in);
    if (!archive.empty() && set.pak.add_archive(archive.c_str(), false)) {
        std::vector<ref_ptr<w_sample>> all;
        pak_enum_function each([&](ref_ptr<pak_chunkref> ref) {
            ref_ptr<w_sample> s;
            if (set.pak.get_object(ref->get_name(), s) && s && s->playable())
                all.push_back(s);
        });
        set.pak.enumerate(pak_code_samp, each);
        std::sort(all.begin(), all.end(),
                  [](const auto& a, const auto& b) { return a->frames() > b->frames(); });
        if (all.size() > 4)
            all.resize(4);
        set.samples = all;
        set.origin = std::to_string(all.size()) + " of the game's samples";
    }
    if (set.samples.empty()) {
        std::vector<int16_t> signal = make_test_signal(12.0);
        for (int i = 0; i < 4; ++i) {
            w_encoded_sample e;
            w_encode_sample(signal.data() + size_t(i) * 2 * 3 * 44100, 3 * 44100, w_encode_params{}, e);
            std::vector<uint8_t> chunk = w_sample_chunk_bytes(e.frames, e.stream);
            set.samples.push_back(
                ref_ptr<w_sample>(new w_sample(nullptr, chunk.data(), uint32_t(chunk.size()))));
        }
        set.origin = "the test signal (no samples in " + (archive.empty() ? "tamble.pk2" : archive) + ")";
    }
    return set;
}

void start_voices(sound_mixer& m)
{
    const std::vector<ref_ptr<w_sample>>& s = samples().samples;
    for (int i = 0; i < sound_voice_count; ++i)
        m.play(s[size_t(i) % s.size()], 1.0f, float(i % 3) / 2.0f, sound_flag_loop);
}

void report(benchmark::State& state)
{
    double audio = double(state.iterations()) * pass_frames / sound_rate;
    state.counters["realtime"] = benchmark::Counter(audio, benchmark::Counter::kIsRate);
    state.counters["voices"] = sound_voice_count;
    state.SetLabel(samples().origin);
}

// Passes of one device buffer over 16 looping voices. With `time_refill` false only `mix`
// is timed: the FIFOs are topped up outside the timed part, as the device thread does after
// handing its buffer over; with it true the whole pass is, decoding ahead included.
void mix_passes(benchmark::State& state, bool time_refill)
{
    sound_mixer m;
    start_voices(m);
    std::vector<int16_t> out(2 * pass_frames);
    for (auto _ : state) {
        m.mix(out.data(), pass_frames);
        benchmark::DoNotOptimize(out.data());
        if (!time_refill)
            state.PauseTiming();
        m.refill_streams();
        if (!time_refill)
            state.ResumeTiming();
    }
    report(state);
}
BENCHMARK_CAPTURE(mix_passes, mix_16_looping_voices, false);
BENCHMARK_CAPTURE(mix_passes, mix_and_refill_16_looping_voices, true);

using clock_type = std::chrono::steady_clock;
std::atomic<int64_t> heard_at{0};

void tap(const int16_t* frames, int32_t count)
{
    if (heard_at.load(std::memory_order_relaxed) != 0)
        return;
    for (int32_t i = 0; i < 2 * count; ++i)
        if (frames[i] != 0) {
            heard_at = clock_type::now().time_since_epoch().count();
            return;
        }
}

// Plays a short click many times and prints the time from `play` to the callback's first
// audible frame.
void measure_latency()
{
    if (!std::getenv("SDL_AUDIODRIVER"))
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::vector<int16_t> click(2 * 2205, 12000);
    w_encoded_sample e;
    w_encode_sample(click.data(), 2205, w_encode_params{}, e);
    std::vector<uint8_t> chunk = w_sample_chunk_bytes(e.frames, e.stream);
    ref_ptr<w_sample> s(new w_sample(nullptr, chunk.data(), uint32_t(chunk.size())));

    sound_set_tap(tap);
    sound_start();
    const char* driver = sound_device_open() ? SDL_GetCurrentAudioDriver() : "none (silent thread)";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::vector<double> ms;
    for (int i = 0; i < 40; ++i) {
        heard_at = 0;
        auto t0 = clock_type::now();
        int32_t h = play(s, 1.0f, 0.5f, 0);
        while (heard_at.load() == 0 && clock_type::now() - t0 < std::chrono::seconds(2))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (heard_at.load() != 0)
            ms.push_back(double(heard_at.load() - t0.time_since_epoch().count()) * 1e-6);
        stop(h);
        // A random phase against the device's buffer for the next start.
        std::this_thread::sleep_for(std::chrono::milliseconds(30 + 7 * (i % 5)));
        sound_tick();
    }
    auto stopping = clock_type::now();
    sound_stop();
    double stop_ms = double((clock_type::now() - stopping).count()) * 1e-6;
    sound_set_tap(nullptr);
    std::printf("sound_stop took %.1f ms\n", stop_ms);
    if (ms.empty()) {
        std::printf("latency: nothing was heard on driver %s\n", driver);
        return;
    }
    std::sort(ms.begin(), ms.end());
    double mean = 0;
    for (double v : ms)
        mean += v;
    mean /= double(ms.size());
    std::printf("latency from play to the first audible frame leaving the callback (driver %s, %d-frame "
                "buffer, %zu starts): mean %.1f ms, median %.1f ms, max %.1f ms\n",
                driver, sound_device_frames, ms.size(), mean, ms[ms.size() / 2], ms.back());
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    measure_latency();
    return 0;
}
