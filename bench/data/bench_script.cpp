// Script tree benchmarks: parsing level-like text, interning names, binary save/load.
#include "data/script.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// About `bytes` of text shaped like level files: nodes, bodies and constraints with
// positions, type names as bare words, strings and anonymous entries.
std::string level_like_text(size_t bytes)
{
    std::string text;
    char line[256];
    for (int level = 0; text.size() < bytes; ++level) {
        std::snprintf(line, sizeof line,
                      "levels\\Bench%d\n{\n\tname\t\"Bench level %d\"\n"
                      "\tdifficulty\t%d\n\tnodes\n\t{\n",
                      level, level, level % 8 + 1);
        text += line;
        for (int n = 0; n < 40; ++n) {
            std::snprintf(line, sizeof line,
                          "\t\t~ { type ball_%s pos { x %d.%02d y %d.5 } vel.x 0.0 vel.y -%d }\n",
                          n % 3 ? "red" : "blue", n % 64, (n * 37) % 100, (n * 7) % 64, n % 5);
            text += line;
        }
        text += "\t}\n\tconstraints\n\t{\n";
        for (int c = 0; c < 30; ++c) {
            std::snprintf(line, sizeof line,
                          "\t\t~\n\t\t{\n\t\t\ttype\trope\n\t\t\ta\t%d\n\t\t\tb\t%d\n"
                          "\t\t\tcuttable\t1\n\t\t\tk\t%d.25\n\t\t}\n",
                          c, c + 1, 100 + c);
            text += line;
        }
        text += "\t}\n\tbodies { ~ { type pot_red pos.x 32 pos.y 60 angle 0.0 } }\n}\n";
    }
    return text;
}

// Parsing alone: the tree is freed outside the timed region.
void bm_parse_level_text(benchmark::State& state)
{
    std::string text = level_like_text(1 << 20);
    for (auto _ : state) {
        auto symbols = std::make_unique<script_symbol_table>(script_small_pool, script_small_buckets,
                                                             script_small_entries);
        script_handle tree = script_handle::fresh(symbols.get());
        script_parser parser(tree);
        bool ok = parser.parse(text.c_str());
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("parse failed");
        state.PauseTiming();
        tree = script_handle();
        symbols.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(bm_parse_level_text)->Unit(benchmark::kMillisecond);

// What a level load costs in all: a fresh table, the parse, and freeing the tree.
void bm_parse_and_free_level_text(benchmark::State& state)
{
    std::string text = level_like_text(1 << 20);
    for (auto _ : state) {
        script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
        script_handle tree = script_handle::fresh(&symbols);
        script_parser parser(tree);
        bool ok = parser.parse(text.c_str());
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("parse failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(bm_parse_and_free_level_text)->Unit(benchmark::kMillisecond);

void bm_intern_distinct_names(benchmark::State& state)
{
    std::vector<std::string> names;
    for (int i = 0; i < 100000; ++i)
        names.push_back("name_" + std::to_string(i * 7919) + (i % 2 ? "_Tex" : "_pos"));
    for (auto _ : state) {
        script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
        for (const std::string& n : names)
            benchmark::DoNotOptimize(symbols.intern(n.data(), n.data() + n.size()));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(names.size()));
}
BENCHMARK(bm_intern_distinct_names)->Unit(benchmark::kMillisecond);

// 100 blocks of 100 entries: integers, reals and strings, like a large configuration.
script_handle config_tree(script_symbol_table& symbols)
{
    script_handle tree = script_handle::fresh(&symbols);
    for (int b = 0; b < 100; ++b) {
        script_handle block = tree.make(b);
        for (int e = 0; e < 100; ++e) {
            script_handle entry = block.make(symbols.intern(("key" + std::to_string(e)).c_str()));
            if (e % 3 == 0)
                entry.set_int(b * e);
            else if (e % 3 == 1)
                entry.set_real(float(e) * 0.25f);
            else
                entry.set_string("levels\\Ledge");
        }
    }
    return tree;
}

void bm_binary_save(benchmark::State& state)
{
    script_symbol_table symbols;
    script_handle tree = config_tree(symbols);
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        bytes.clear();
        bool ok = script_save_binary(bytes, "config", tree);
        benchmark::DoNotOptimize(ok);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(bm_binary_save)->Unit(benchmark::kMicrosecond);

void bm_binary_load(benchmark::State& state)
{
    script_symbol_table symbols;
    std::vector<uint8_t> bytes;
    script_save_binary(bytes, "config", config_tree(symbols));
    for (auto _ : state) {
        script_symbol_table fresh;
        script_handle tree = script_handle::fresh(&fresh);
        bool ok = script_load_binary(bytes.data(), bytes.size(), tree, false);
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("load failed");
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(bm_binary_load)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
