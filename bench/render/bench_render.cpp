// Rendering speed: the triangle batch alone (submitting and sorting 20 000 triangles), the
// world drawing of the physics stress scene with textured types (submit and flush, then
// also waiting for the rasteriser), and decoding and uploading every texture of an archive
// at full and at half size. The GL benchmarks need a display (Xvfb and Mesa's software
// rasteriser under `make bench`); without one they are skipped.
//
// The archive is the game's tamble.pk2, found as the game finds it (the working directory
// first, then beside the program) or else in the build folder. When it holds no textures, a generated set stands in for the game's art (32
// coded 256 x 256 pictures and 4 raw 256 x 256 sheets), and the label says so.
#include "app/view_space.h"
#include "app/window/window.h"
#include "data/archive_search.h"
#include "data/pak.h"
#include "physics/level.h"
#include "physics/scenes/scenes.h"
#include "render/image/image_chunk.h"
#include "render/texture.h"
#include "render/triangle_batch.h"
#include "render/world_draw.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

std::unique_ptr<glw_window> bench_window;

bool have_gl(benchmark::State& state)
{
    if (bench_window)
        return true;
    state.SkipWithError("no display: run under xvfb-run (make bench does)");
    return false;
}

std::vector<uint8_t> pattern(int32_t w, int32_t h, int32_t seed, bool disc)
{
    std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = &rgba[(size_t(y) * size_t(w) + size_t(x)) * 4];
            float fx = float(x) / float(w), fy = float(y) / float(h);
            p[0] = uint8_t(128 + 100 * std::sin(fx * 9.0f + float(seed)));
            p[1] = uint8_t(128 + 90 * std::sin(fy * 7.0f + fx * 3.0f));
            p[2] = uint8_t(128 + 80 * std::cos(fx * fy * 20.0f + float(seed)));
            float d = std::hypot(fx - 0.5f, fy - 0.5f) * 2.0f;
            // A disc with a soft rim (translucent), or an opaque picture.
            p[3] = disc ? uint8_t(std::clamp((1.0f - d) * 8.0f, 0.0f, 1.0f) * 255.0f) : 255;
        }
    return rgba;
}

// A scratch directory of chunk files: the textures the benchmarks draw with or decode.
struct bench_textures {
    std::filesystem::path root;
    pak_system pak;
    pak_module* store = nullptr;

    bench_textures()
    {
        root = std::filesystem::temp_directory_path() / ("tamble_bench_render_" + std::to_string(getpid()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        gl_register_texture_creator(pak);
        store = pak.add_directory(root.string().c_str(), true);
    }
    ~bench_textures()
    {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    void add(const char* name, int32_t size, int32_t seed, bool disc, bool raw)
    {
        std::vector<uint8_t> rgba = pattern(size, size, seed, disc);
        std::vector<uint8_t> content = image_chunk_content(size, size, rgba.data(), 90, raw);
        store->write_raw(pak_code_imag, name, uint32_t(content.size()), true, content.data(), 0, true);
    }
};

void bench_batch_submit_sort(benchmark::State& state)
{
    triangle_batch batch;
    for (auto _ : state) {
        batch.clear();
        // 10 000 quads, as world drawing submits them: a fan of four per quad, 13 depths,
        // each depth mostly of one texture, one quad in five translucent.
        for (int32_t i = 0; i < 10000; ++i) {
            float x = float(i % 64), y = float(i / 64 % 64), z = -float(i % 13);
            batch.begin_fan(uint32_t(1 + i % 13 % 9), i % 5 == 0, z);
            batch.add_vertex(x, y, 0, 0);
            batch.add_vertex(x + 1, y, 1, 0);
            batch.add_vertex(x + 1, y + 1, 1, 1);
            batch.add_vertex(x, y + 1, 0, 1);
        }
        batch.sort_runs();
        benchmark::DoNotOptimize(batch.runs.data());
    }
    state.counters["triangles"] = double(batch.triangles.size());
    state.counters["runs"] = double(batch.runs.size());
}
BENCHMARK(bench_batch_submit_sort)->Unit(benchmark::kMicrosecond);

// The stress scene with a textured look on every type: soft-rimmed discs on the balls,
// pictures on the boxes and floors, a repeating band on the ropes.
struct textured_stress {
    bench_textures textures;
    v_world world;

    textured_stress()
    {
        textures.add("tex\\bench\\ball", 64, 1, true, false);
        textures.add("tex\\bench\\box", 128, 2, false, false);
        textures.add("tex\\bench\\rope", 32, 3, false, false);
        scene_stress(world);
        for (int i = 0; i < 360; ++i)
            world.step();
        std::set<void*> done;
        for (v_node* n : world.nodes)
            if (n->type && done.insert(n->type.get()).second && n->type->radius > 0.5f) {
                float r = n->type->radius;
                n->type->polys.vertices = {{-r, -r, 0, 0}, {r, -r, 1, 0}, {r, r, 1, 1}, {-r, r, 0, 1}};
                n->type->polys.polygons = {{"tex\\bench\\ball", -1.5f, 4}};
            }
        for (const auto& b : world.bodies)
            if (done.insert(b->type.get()).second) {
                v_poly_list& p = b->type->polys;
                for (int32_t k = 0; k < 4; ++k)
                    p.vertices.push_back({0, 0, float(k == 1 || k == 2), float(k >= 2), k});
                p.polygons = {{"tex\\bench\\box", -3.0f, 4}};
            }
        for (const auto& c : world.constraints)
            if (done.insert(c->type.get()).second) {
                v_poly_list& p = c->type->rope_polys;
                p.vertices = {{0, -0.2f, 0, 0}, {1, -0.2f, 0, 0}, {1, 0.2f, 1, 0}};
                p.polygons = {{"tex\\bench\\rope", -2.0f, 3}};
            }
        v_level_set_store(&textures.pak);
    }
    ~textured_stress()
    {
        release_world_textures();
        v_level_set_store(nullptr);
    }
};

void draw_stress(benchmark::State& state, bool finish)
{
    if (!have_gl(state))
        return;
    textured_stress scene;
    glColor4f(1, 1, 1, 1);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw_world(scene.world, false);
        if (finish)
            glFinish();
    }
    glFinish();
    const triangle_batch& b = triangle_batch_global();
    state.counters["triangles"] = double(b.triangles.size());
    state.counters["runs"] = double(b.runs.size());
}

// Submission, sort and the GL calls; the rasteriser may still be busy afterwards.
void bench_world_draw_stress(benchmark::State& state)
{
    draw_stress(state, false);
}
BENCHMARK(bench_world_draw_stress)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The same until the frame is rasterised (glFinish): the frame's whole cost on this GL.
void bench_world_draw_stress_finished(benchmark::State& state)
{
    draw_stress(state, true);
}
BENCHMARK(bench_world_draw_stress_finished)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The archive's textures, or the generated stand-in set.
struct archive_textures {
    pak_system pak;
    std::unique_ptr<bench_textures> generated;
    std::vector<ref_ptr<pak_chunkref>> refs;
    std::string source;

    archive_textures()
    {
        gl_register_texture_creator(pak);
        std::vector<std::string> looked_in;
        std::string path = pak_find_game_archive(nullptr, {TAMBLE_BUILD_DIR}, looked_in);
        if (!path.empty() && pak.add_archive(path.c_str(), false))
            source = path;
        collect(pak);
        if (!refs.empty())
            return;
        generated = std::make_unique<bench_textures>();
        for (int32_t i = 0; i < 36; ++i) {
            std::string name = "tex\\generated\\" + std::to_string(i);
            generated->add(name.c_str(), 256, i, i % 3 == 0, i >= 32);
        }
        collect(generated->pak);
        source = "generated set";
    }
    void collect(pak_system& from)
    {
        pak_enum_function visit([&](ref_ptr<pak_chunkref> ref) { refs.push_back(std::move(ref)); });
        from.enumerate(pak_code_imag, visit);
    }
};

void decode_upload(benchmark::State& state, bool half)
{
    if (!have_gl(state))
        return;
    archive_textures archive;
    gl_textures().half_size = half;
    uint64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const ref_ptr<pak_chunkref>& ref : archive.refs) {
            ref_ptr<gl_texture> t(new gl_texture(ref));
            bytes += t->memory_size;
        }
        glFinish();
    }
    gl_textures().half_size = false;
    state.SetLabel(archive.source);
    state.counters["textures"] = double(archive.refs.size());
    state.counters["MB_uploaded"] = double(bytes) / 1e6;
}

void bench_textures_full_size(benchmark::State& state)
{
    decode_upload(state, false);
}
BENCHMARK(bench_textures_full_size)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void bench_textures_half_size(benchmark::State& state)
{
    decode_upload(state, true);
}
BENCHMARK(bench_textures_half_size)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (glw_display_named()) {
        bench_window = std::make_unique<glw_window>("tamble", "bench_render", nullptr, nullptr);
        if (bench_window->create_gl_window(1280, 1024, 32, false))
            bench_window->set_view(view_centre, view_centre, view_size / 2);
        else
            bench_window.reset();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench_window.reset();
    return 0;
}
