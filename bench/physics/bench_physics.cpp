// Steps per second of the stress scene (about 40 balls, 10 bodies in contact, 10 ropes
// of 20 segments), also reported as a multiple of real time (180 steps per second).
#include "physics/scenes/scenes.h"

#include <benchmark/benchmark.h>

namespace {

void bench_stress_step(benchmark::State& state)
{
    v_world world;
    scene_stress(world);
    // Let the scene settle into its contacts before timing.
    for (int i = 0; i < 360; ++i)
        world.step();
    for (auto _ : state)
        world.step();
    state.counters["steps_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["x_real_time"] =
        benchmark::Counter(double(state.iterations()) / steps_per_second, benchmark::Counter::kIsRate);
    state.counters["contacts"] = double(world.contacts.size());
    state.counters["free_nodes"] = double(world.nodes.size());
}
BENCHMARK(bench_stress_step)->MinTime(2.0);

// A fresh scene each run: the first seconds, with everything falling into place.
void bench_stress_first_seconds(benchmark::State& state)
{
    for (auto _ : state) {
        v_world world;
        scene_stress(world);
        for (int i = 0; i < 540; ++i)
            world.step();
        benchmark::DoNotOptimize(world.step_count);
    }
    state.counters["x_real_time"] = benchmark::Counter(double(state.iterations()) * 540.0 / steps_per_second,
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(bench_stress_first_seconds)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
