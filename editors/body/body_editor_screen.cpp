// The body editor run mode: start-up in order, the loop, shutdown.
#include "editors/body/body_editor_screen.h"

#include "app/pacing.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "editors/body/body_editor_draw.h"
#include "editors/common/editor_shell.h"
#include "game/screens/game_assets.h"

#include <cstdio>

namespace bedit {

namespace {

// The body editor's exit status, as the run modes have it.
constexpr int body_editor_status = 1;

// The view mouse events of one pump are measured in (the editor's view when the pump
// began; a pan may move the editor's view while the pump's events are handed over).
struct pump_view_t {
    float x = start_x, y = start_y, zoom = start_zoom;
};

// Runs the editor's loop until it is done.
void run(glw_window& window, body_editor& editor, body_editor_view& view)
{
    editor_pacing pacing(frame_timer());
    pump_view_t pumped;
    ed_loop_t loop;
    loop.mouse = [&](uint32_t flags, float x, float y) {
        float scale = editor.zoom / pumped.zoom;
        editor.mouse(flags, editor.view_x + (x - pumped.x) * scale, editor.view_y + (y - pumped.y) * scale);
    };
    loop.key = [&](uint32_t key, bool down) { editor.key(key, down); };
    loop.character = [&](uint32_t c) { editor.character(c); };
    loop.close = [&](bool forced) { editor.close_requested(forced); };
    loop.before_pump = [&] {
        pumped = {editor.view_x, editor.view_y, editor.zoom};
        window.set_view(editor.view_x, editor.view_y, editor.zoom);
    };
    loop.editing = [&] { return editor.editing(); };
    loop.edit_step = [&] { editor.tick(); };
    loop.test_step = [&] { editor.trial_step(); };
    loop.draw = [&] { view.draw(window, editor); };
    loop.done = [&] { return editor.quit; };
    ed_run_loop(window, loop, pacing);
}

}  // namespace

int body_editor_main(const editor_options& options)
{
    bool driven = options.driver.driven();
    glw_window window("Tamble", "Tamble", &ed_mouse_callback(), &ed_kb_callback());
    if (!ed_start(window, options))
        return body_editor_status;

    body_editor editor;
    startup(editor, game_pak(), ed_work_folder(options, "bodies"));
    editor.autosave = ed_autosave(options.user_folder + "body_editor.autosave", "tamble body editor autosave");
    editor.offer_autosave();
    body_editor_view view;
    view.load(game_pak());

    std::string error;
    glw_test_driver driver;
    if (driven && !driver.start(window, options.driver, error))
        std::fprintf(stderr, "tamble: %s\n", error.c_str());
    else
        run(window, editor, view);
    driver.stop();

    // The finish: what holds textures goes before the GL context.
    editor.stop_trial();
    view.release();
    ed_finish(window);
    return body_editor_status;
}

}  // namespace bedit
