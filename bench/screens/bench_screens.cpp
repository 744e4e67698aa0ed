// Frame times of the game's screens at 1280 x 1024 on the GL at hand (under `make bench`,
// Xvfb with Mesa's software rasteriser, where a frame costs what it fills). A frame is what
// the screen's loop does (clear where the loop clears, draw, swap) and glFinish, so that it
// is rasterised before the next one starts. Each screen is measured beside two references,
// a few frames of each in turn, so that the three see the same load on a shared machine:
//
//   viewer   tamble-sim view's frame of the busy level (its world drawing on black)
//   floor    a clear and one textured quad over the whole window: the least a frame costs
//
// Screens: the play screen on the busy level while it plays, the world map of the level's
// world, player select over the title level, world select, and the settings card. The busy
// level is "Two Hammers" (a full-size backdrop, rails, bars, ropes, pots).
//
// Counters: the medians of the frame times by the wall clock (screen_ms, viewer_ms,
// floor_ms) and in processor time of all the process's threads, the rasteriser's included
// (screen_cpu, viewer_cpu, floor_cpu); x_viewer and x_floor are the screen's ratios of
// processor time, which a busy machine inflates far less than the wall clock. After the
// runs a table gives the medians over the repetitions.
//
// The game data is the built tamble.pk2 (found as the game finds it, else in the build
// folder). Without a display or without the archive every benchmark is skipped.
#include "app/pacing.h"
#include "app/view_space.h"
#include "app/window/window.h"
#include "data/archive_search.h"
#include "data/asset_names.h"
#include "game/config.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/play_screen.h"
#include "game/screens/player_select_screen.h"
#include "game/screens/screen_frame.h"
#include "game/screens/settings_screen.h"
#include "game/screens/world_map_screen.h"
#include "game/screens/world_select_screen.h"
#include "game/world_data.h"
#include "physics/level.h"
#include "physics/replay.h"
#include "tools/sim/sim_view_draw.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* busy_level_title = "Two Hammers";
constexpr int32_t window_width = 1280, window_height = 1024;

// Everything the frames need, made once in main when a display and the archive are there.
struct frame_scene {
    std::unique_ptr<glw_window> window;
    std::unique_ptr<game_hud> hud;
    int32_t world = -1, level = -1;
    std::string problem;
};
frame_scene scene;

bool ready(benchmark::State& state)
{
    if (scene.problem.empty())
        return true;
    state.SkipWithError(scene.problem.c_str());
    return false;
}

// One frame's cost in milliseconds: by the wall clock, and in processor time of all the
// process's threads.
struct frame_cost {
    double wall = 0.0, cpu = 0.0;
};

double process_cpu_ms()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// One frame, rasterised and shown.
template <class F>
frame_cost timed_frame(F&& draw)
{
    auto start = std::chrono::steady_clock::now();
    double cpu_start = process_cpu_ms();
    draw();
    scene.window->swap();
    glFinish();
    frame_cost cost;
    cost.cpu = process_cpu_ms() - cpu_start;
    cost.wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return cost;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

// The menu screens' loops clear the window before the screen draws.
void menu_clear()
{
    screen_host({}).clear();
}

// The floor: a clear and one textured quad over the whole window, without blending.
struct floor_frame {
    ref_ptr<gl_texture> picture = game_texture(tex_ui_playfield_background);

    void operator()()
    {
        const float* view = scene.window->view;
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushAttrib(GL_ENABLE_BIT);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        gl_draw_quad(picture.get(), (view[0] + view[2]) / 2, (view[1] + view[3]) / 2, view[2] - view[0],
                     view[3] - view[1]);
        glPopAttrib();
    }
};

// The viewer's frame of the busy level, in the state the play screen starts it in.
struct viewer_frame {
    play_logic level{0, scene.world, scene.level};

    void operator()()
    {
        // The viewer never turns blending on for its own drawing.
        glPushAttrib(GL_ENABLE_BIT);
        glDisable(GL_BLEND);
        sim_view_draw_frame(*level.live, nullptr, false, scene.window->view);
        glPopAttrib();
    }
};

// Frames of a screen, a few in a row between as many floor and viewer frames, so that the
// three see the same load; the medians of their frame times and the screen's ratios go into
// the counters. In a row, as a screen draws them: where frames are presented by copy, the
// play screen leaves its margins in the back buffer from one frame to the next.
constexpr int frames_in_a_row = 4;

template <class F>
void frames_against_references(benchmark::State& state, F&& screen_frame)
{
    floor_frame floor;
    viewer_frame viewer;
    // Wall and processor times of the screen, the viewer and the floor.
    std::vector<double> times[2][3];
    for (auto _ : state) {
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < frames_in_a_row; ++i) {
                frame_cost cost = k == 0 ? timed_frame(screen_frame) : k == 1 ? timed_frame(viewer) : timed_frame(floor);
                times[0][k].push_back(cost.wall);
                times[1][k].push_back(cost.cpu);
            }
    }
    const char* names[2][3] = {{"screen_ms", "viewer_ms", "floor_ms"},
                               {"screen_cpu", "viewer_cpu", "floor_cpu"}};
    for (int clock = 0; clock < 2; ++clock)
        for (int k = 0; k < 3; ++k)
            state.counters[names[clock][k]] = median(times[clock][k]);
    double s = median(times[1][0]), v = median(times[1][1]), f = median(times[1][2]);
    state.counters["x_viewer"] = v > 0.0 ? s / v : 0.0;
    state.counters["x_floor"] = f > 0.0 ? s / f : 0.0;
}

void bench_frame_play(benchmark::State& state)
{
    if (!ready(state))
        return;
    play_screen screen(0, scene.world, scene.level);
    screen.logic.set_state(play_playing);
    screen.logic.intro = 1.0f;
    // The pointer rests over the level, away from its ropes.
    frames_against_references(state, [&] { screen.draw(*scene.hud, 32.0f, 40.0f); });
}

void bench_frame_world_map(benchmark::State& state)
{
    if (!ready(state))
        return;
    world_map_screen screen;
    screen.logic = world_map_logic(map_levels(0, scene.world), false);
    for (const std::string& name : map_rune_plate(0, scene.world))
        screen.rune_plate.push_back(screen.tiles.get(name));
    frames_against_references(state, [&] {
        menu_clear();
        screen.draw(*scene.hud);
    });
}

void bench_frame_player_select(benchmark::State& state)
{
    if (!ready(state))
        return;
    script_handle title = script_global_tree().get("levels\\Title");
    std::unique_ptr<v_world> title_world;
    if (title.type() == script_type_block)
        title_world = std::make_unique<v_world>(
            v_world_from_level(v_mode_play, title, v_replay_global(), nullptr, "levels\\Title"));
    player_select_screen screen;
    screen.logic.enter();
    screen.logic.mode = player_open;
    screen.logic.opening = 1.0f;
    frames_against_references(state, [&] {
        menu_clear();
        screen.draw(*scene.hud, title_world.get());
    });
}

void bench_frame_world_select(benchmark::State& state)
{
    if (!ready(state))
        return;
    world_select_screen screen;
    screen.records = world_records(0);
    screen.logic = world_select_logic(int32_t(screen.records.size()));
    screen.logic.opening = 1.0f;
    screen.logic.open = true;
    screen.logic.selected = 0;
    frames_against_references(state, [&] {
        menu_clear();
        screen.draw(*scene.hud);
    });
}

void bench_frame_settings(benchmark::State& state)
{
    if (!ready(state))
        return;
    settings_screen screen;
    frames_against_references(state, [&] {
        menu_clear();
        screen.draw();
    });
}

#define FRAME_BENCHMARK(fn) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()
FRAME_BENCHMARK(bench_frame_play);
FRAME_BENCHMARK(bench_frame_world_map);
FRAME_BENCHMARK(bench_frame_player_select);
FRAME_BENCHMARK(bench_frame_world_select);
FRAME_BENCHMARK(bench_frame_settings);

// The console report, and every repetition's counters kept for the closing table.
class frame_reporter : public benchmark::ConsoleReporter {
public:
    struct screen_runs {
        std::string name;
        std::map<std::string, std::vector<double>> counters;
    };
    std::vector<screen_runs> screens;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            std::string name = run.run_name.function_name;
            if (name.rfind("bench_frame_", 0) == 0)
                name.erase(0, std::strlen("bench_frame_"));
            auto it = std::find_if(screens.begin(), screens.end(),
                                   [&](const screen_runs& r) { return r.name == name; });
            if (it == screens.end())
                it = screens.insert(screens.end(), screen_runs{name, {}});
            for (const auto& [key, counter] : run.counters)
                it->counters[key].push_back(counter.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void print_table() const
    {
        if (screens.empty())
            return;
        std::printf("\nframes at %d x %d, medians in ms: wall clock, then processor time of all threads;\n"
                    "ratios of the processor times\n",
                    window_width, window_height);
        std::printf("  %-14s %7s %7s %7s  %7s %7s %7s  %8s %8s\n", "screen", "screen", "viewer", "floor",
                    "screen", "viewer", "floor", "x viewer", "x floor");
        for (const screen_runs& r : screens) {
            auto m = [&](const char* key) {
                auto it = r.counters.find(key);
                return it == r.counters.end() ? 0.0 : median(it->second);
            };
            std::printf("  %-14s %7.2f %7.2f %7.2f  %7.2f %7.2f %7.2f  %8.2f %8.2f\n", r.name.c_str(),
                        m("screen_ms"), m("viewer_ms"), m("floor_ms"), m("screen_cpu"), m("viewer_cpu"),
                        m("floor_cpu"), m("x_viewer"), m("x_floor"));
        }
    }
};

// The busy level's world and index, found by its title in the worlds.
bool find_busy_level()
{
    for (int32_t w = 0; w < 32; ++w)
        for (int32_t l = 0; l < 64; ++l) {
            const char* title = world_level_node(w, l).get("title").as_string();
            if (title && std::strcmp(title, busy_level_title) == 0) {
                scene.world = w;
                scene.level = l;
                return true;
            }
        }
    return false;
}

// The window, the game data and the shell, as the game sets them up.
void set_up()
{
    if (!glw_display_named()) {
        scene.problem = "no display: run under xvfb-run (make bench does)";
        return;
    }
    scene.window = std::make_unique<glw_window>("tamble", "bench_screens", nullptr, nullptr);
    if (!scene.window->create_gl_window(window_width, window_height, 32, false)) {
        scene.window.reset();
        scene.problem = "no GL window";
        return;
    }
    set_app_window(scene.window.get());
    std::vector<std::string> looked_in;
    std::string archive = pak_find_game_archive(nullptr, {TAMBLE_BUILD_DIR}, looked_in);
    std::string error;
    bool loaded = game_load_assets(
        [&](pak_system& pak, std::string& message) {
            message = "no game archive (build the game_data target)";
            return !archive.empty() && pak.add_archive(archive.c_str(), false);
        },
        error);
    if (!loaded) {
        scene.problem = error;
        return;
    }
    if (!find_busy_level()) {
        scene.problem = std::string("no level titled ") + busy_level_title;
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    scene.window->set_view(view_centre, view_centre, view_size / 2);
    // A profile in slot 0 and the busy level's world chosen, the shell unfolded.
    config_node().make("saves").make(script_id(0)).make("name").set_string("Ann");
    scene.hud = std::make_unique<game_hud>();
    scene.hud->set_profile(0);
    scene.hud->set_world(scene.world);
    scene.hud->state.slide = hud_slide_full;
    scene.hud->state.map_fade = 1.0f;
}

void tear_down()
{
    scene.hud.reset();
    release_world_textures();
    game_release_assets();
    set_app_window(nullptr);
    if (scene.window)
        scene.window->kill_gl_window();
    scene.window.reset();
}

}  // namespace

int main(int argc, char** argv)
{
    // Three repetitions of two seconds each, unless the command line says otherwise (later
    // flags win).
    std::vector<char*> args{argv[0], const_cast<char*>("--benchmark_repetitions=3"),
                            const_cast<char*>("--benchmark_min_time=2")};
    args.insert(args.end(), argv + 1, argv + argc);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    set_up();
    frame_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_table();
    benchmark::Shutdown();
    tear_down();
    return 0;
}
