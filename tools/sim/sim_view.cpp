// tamble-sim view: a live developer view of a level. The world runs at 180 steps a second
// under the averaged catch-up rule and is drawn with the game's world drawing in the 64 x 64
// playfield (what has no texture in the data drawn plainly, as lines and discs); the
// pointer hovers, selects and cuts constraints as in the play screen.
#include "tools/sim/commands.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_sounds.h"
#include "tools/sim/sim_view_draw.h"

#include "app/clock.h"
#include "app/driver_script.h"
#include "app/log.h"
#include "app/pacing.h"
#include "app/view_space.h"
#include "app/window/message_box.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "data/pak_script.h"
#include "render/effect_rain.h"
#include "render/texture.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float pick_distance = 10.0f;

// Whether a level names the rain effect ("effect rain"), as the play screen reads it.
bool level_names_rain(sim_context& ctx, const std::string& level)
{
    std::string text, error;
    if (!sim_level_text(ctx, level, text, error))
        return false;
    script_handle root = script_handle::fresh(&script_global_symbols());
    if (!pak_parse_text(level.c_str(), text.c_str(), root))
        return false;
    script_handle effect = root.get("effect");
    return effect.type() == script_type_int &&
           effect.as_int() == int32_t(script_global_symbols().intern("rain"));
}

struct viewer {
    sim_context ctx;
    std::string level;
    v_world world;
    glw_window* window = nullptr;
    bool quit = false;
    bool debug = false;  // body outlines, markers and uncuttable constraints, as the editors show
    std::unique_ptr<visual_effect> effect;

    bool load(std::string& error)
    {
        v_level_report report;
        v_world fresh;
        if (!sim_load_world(ctx, level, v_mode_play, nullptr, fresh, report, error))
            return false;
        world = std::move(fresh);
        for (const std::string& p : report.problems)
            log_line(log_problem) << "view: " << p;
        effect.reset();
        if (level_names_rain(ctx, level))
            effect = std::make_unique<effect_rain>(&ctx.pak, &world);
        return true;
    }

    void cut_selected()
    {
        if (!world.selected || world.selected->cut)
            return;
        world.selected->cut = true;
        log_line(log_always) << "view: cut constraint " << world.constraint_index(world.selected)
                             << "at step " << world.step_count;
        if (world.hovered == world.selected)
            world.set_hovered(nullptr);
        world.set_selected(nullptr);
    }

    void handle_input()
    {
        uint32_t flags, key, down;
        float x, y;
        while (window->pop_mouse_event(flags, x, y)) {
            if (flags & left_press)
                world.set_selected(world.pick_constraint(vec2{x, y}, pick_distance, true));
            if (flags & right_press)
                cut_selected();
        }
        while (window->pop_key_event(key, down)) {
            if (!down)
                continue;
            if (key == vk_space)
                cut_selected();
            else if (key == 'R') {
                std::string error;
                if (!load(error))
                    log_line(log_problem) << "view: cannot reload: " << error;
            } else if (key == 'D')
                debug = !debug;
            else if (key == vk_escape)
                quit = true;
        }
    }

    void hover()
    {
        float x, y;
        window->mouse_position(x, y);
        world.set_hovered(world.pick_constraint(vec2{x, y}, pick_distance, true));
    }
};

void show_level_error(const char* text, const char* caption)
{
    glw_message_box(text, caption, glw_icon::warning);
}

int exit_status(int32_t verdict)
{
    return verdict == v_verdict_solved ? 0 : verdict == v_verdict_failed ? 1 : 2;
}

}  // namespace

int sim_cmd_view(int argc, char** argv)
{
    // The driver and window options first; they keep argv[0] in place, so give them one.
    std::vector<char*> args{const_cast<char*>("view")};
    args.insert(args.end(), argv, argv + argc);
    int n = int(args.size());
    driver_options options;
    std::string error;
    if (!driver_parse_options(n, args.data(), options, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        return 3;
    }
    std::vector<std::string> rest(args.begin() + 1, args.begin() + n);
    sim_source_options sources;
    if (!sim_take_source_options(rest, sources, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        return 3;
    }
    if (rest.size() != 1 || rest[0].rfind("--", 0) == 0) {
        std::fprintf(stderr, "usage: tamble-sim view LEVEL [--data ROOT | --archive FILE] [options]\n%s",
                     driver_options_help);
        return 3;
    }

    viewer v;
    v.level = rest[0];
    if (options.driven())
        glw_set_headless(true);
    // Samples resolve through the viewer's stores; opening them loads the collision table.
    sound_set_store(&v.ctx.pak);
    struct sound_session {
        ~sound_session()
        {
            sound_stop();
            sound_set_store(nullptr);
        }
    } sound_on;
    sim_sound_guard world_sounds;
    if (!v.ctx.open(sources, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        return 3;
    }
    // Textures, with their metadata (scrolling, animation, wrapping) from the start-up
    // definitions, for the types that name them.
    gl_register_texture_creator(v.ctx.pak);
    init_parser definitions;
    v.ctx.pak.enumerate(pak_code_init, definitions);
    if (!glw_display_named()) {
        std::fprintf(stderr, "tamble-sim view: no display to open a window on (DISPLAY and WAYLAND_DISPLAY "
                             "are not set).\nRun it from a desktop session, or headless under xvfb-run with "
                             "the test driver options (--frames N --capture F).\n");
        return 3;
    }

    glw_window window("tamble-sim", ("tamble-sim view " + v.level).c_str(), nullptr, nullptr);
    bool fullscreen = !options.windowed && !options.driven() && options.width == 0;
    int32_t w = options.width ? options.width : 960, h = options.height ? options.height : 768;
    if (!window.create_gl_window(w, h, 32, fullscreen)) {
        std::fprintf(stderr,
                     "tamble-sim view: cannot open a window with an OpenGL context on this display\n");
        return 3;
    }
    window.set_view(view_centre, view_centre, view_size / 2);
    v.window = &window;
    sound_start();

    // The level loads once the window exists, so that a level file that does not parse
    // is reported in a message box ("Error Loading Level.") rather than on stderr only.
    v_set_message_box(show_level_error);
    if (!v.load(error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        v_set_message_box(nullptr);
        return 3;
    }
    set_app_window(&window);
    if (!options.driven()) {
        std::printf("left click selects a rope, right click or Space cuts it, R restarts, D shows outlines, "
                    "Esc quits\n");
        std::fflush(stdout);
    }

    glw_test_driver driver;
    if (options.driven() && !driver.start(window, options, error)) {
        std::fprintf(stderr, "tamble-sim view: %s\n", error.c_str());
        v_set_message_box(nullptr);
        set_app_window(nullptr);
        return 3;
    }

    averaged_catchup pacing(frame_timer());
    window.flush_input();
    pacing.begin();
    while (!v.quit) {
        pacing.frame(capped_world_steps([&] { v.world.step(); }, [] { sound_tick(); }));
        if (!window.pump_messages())
            break;
        v.hover();
        sim_view_draw_frame(v.world, v.effect.get(), v.debug, window.view);
        window.swap();
        v.handle_input();
    }
    int status = exit_status(v.world.verdict);
    std::printf("%s after %d steps\n",
                v.world.verdict == v_verdict_solved   ? "solved"
                : v.world.verdict == v_verdict_failed ? "failed"
                                                      : "undecided",
                v.world.step_count);
    driver.stop();
    v_set_message_box(nullptr);
    set_app_window(nullptr);
    release_world_textures();
    window.kill_gl_window();
    return status;
}
