// tamble-sim previews: the four intro pictures of every level of the worlds data, made by
// the capture the play screen's Ctrl+P and the level editor use (render/level_pictures.h)
// and kept as PNG sources "tex/levels/X0.png" ... "X3.png" under the data root, from which
// the archive builder makes the "tex\levels\X0" ... textures.
#include "tools/sim/commands.h"
#include "tools/sim/sim_cuts.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_worlds.h"

#include "app/view_space.h"
#include "app/window/message_box.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "data/pak_script.h"
#include "render/level_pictures.h"
#include "render/texture.h"
#include "render/world_draw.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* usage =
    "usage: tamble-sim previews ROOT [LEVEL...] [--size PIXELS] [--data ROOT | --archive FILE]\n"
    "  LEVEL: chunk names (levels\\Drop); default every level of the worlds data\n";

int fail(const std::string& message)
{
    return sim_tool_fail("previews", message, usage);
}

}  // namespace

int sim_cmd_previews(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    if (!sim_take_source_options(args, sources, error))
        return fail(error);
    int32_t size = 512;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            if (i + 1 >= args.size() || !sim_parse_count(args[i + 1], size) || size < 16 || size > 4096)
                return fail("--size takes 16 to 4096 pixels");
            ++i;
        } else if (args[i].rfind("--", 0) == 0) {
            return fail("unknown option " + args[i]);
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.empty())
        return fail("no ROOT");
    std::string root = rest[0];
    std::vector<std::string> only(rest.begin() + 1, rest.end());
    // The root first; further roots (the generated art) after it, as the archive stacks them.
    sources.data_roots.insert(sources.data_roots.begin(), root);

    sim_context ctx;
    if (!ctx.open(sources, error))
        return fail(error);
    sim_worlds_data worlds;
    sim_load_worlds(ctx, worlds);
    std::vector<std::string> levels;
    for (const sim_world& w : worlds.worlds)
        for (const sim_world_level& l : w.levels)
            if (!l.level.empty() &&
                (only.empty() || std::find(only.begin(), only.end(), l.level) != only.end()))
                levels.push_back(l.level);
    if (levels.empty())
        return fail(only.empty() ? "the worlds data names no level" : "no such level in the worlds data");

    std::vector<std::pair<std::string, std::string>> named;
    for (const std::string& level : levels)
        named.emplace_back(level, level);
    return sim_draw_level_pictures(ctx, root, named, size);
}

int sim_draw_level_pictures(sim_context& ctx, const std::string& root,
                            const std::vector<std::pair<std::string, std::string>>& levels, int32_t size)
{
    auto fail = [](const std::string& message) { return sim_tool_fail("previews", message); };
    std::string error;
    // Textures with their metadata, as the game loads them.
    gl_register_texture_creator(ctx.pak);
    init_parser definitions;
    ctx.pak.enumerate(pak_code_init, definitions);
    glw_set_headless(true);
    if (!glw_display_named())
        return fail("no display to draw on (run it under xvfb-run)");
    glw_window window("tamble-sim", "tamble-sim previews", nullptr, nullptr);
    if (!window.create_gl_window(size, size, 32, false))
        return fail("cannot open a window with an OpenGL context");
    gl_texture_choose_half_size(size, size);
    window.set_view(view_centre, view_centre, view_size / 2);
    render_target& target = render_target_global();
    int status = 0;
    if (!target.setup(window, &ctx.pak)) {
        std::fprintf(stderr,
                     "tamble-sim previews: no render target (the framebuffer-object extension is missing)\n");
        status = 3;
    }
    for (size_t i = 0; status != 3 && i < levels.size(); ++i) {
        const auto& [source, level] = levels[i];
        v_world world;
        v_level_report report;
        std::string note;
        bool ok = sim_load_world(ctx, source, v_mode_play, nullptr, world, report, error) &&
                  capture_level_pictures(target, window, &ctx.pak, world, root, level, note);
        std::printf("%s  %s: %s\n", ok ? "ok  " : "FAIL", level.c_str(),
                    note.empty() ? error.c_str() : note.c_str());
        status = ok ? status : 1;
        window.swap();
        window.pump_messages();
    }
    release_world_textures();
    target.release();
    window.kill_gl_window();
    return status;
}
