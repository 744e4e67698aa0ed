// The level editor run mode: start-up in order, the loop, shutdown.
#include "editors/level/level_editor_screen.h"

#include "app/log.h"
#include "app/pacing.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "app/file_io.h"
#include "editors/common/editor_shell.h"
#include "editors/level/level_editor_draw.h"
#include "editors/level/level_solution.h"
#include "editors/level/preview_builder.h"
#include "game/screens/game_assets.h"
#include "physics/level.h"
#include "physics/replay.h"
#include "render/render_target.h"

#include <cstdio>

namespace {

// Settings files are small texts.
constexpr uint64_t settings_limit = 1ull << 20;

// The level loader reports a level that does not parse through a message box: in the
// editor it is a dialog of the editor's own.
level_editor* current_editor = nullptr;

void editor_message(const char* text, const char* caption)
{
    if (current_editor)
        current_editor->dialog.message(text ? text : "", caption ? caption : "");
}

le_services editor_services()
{
    le_services s;
    s.cut_sound = [] { game_play("sounds\\Cut_Constraint"); };
    s.save_solution = le_save_solution;
    s.verify = le_check_level;
    return s;
}

}  // namespace

int level_editor_main(const editor_options& options)
{
    bool driven = options.driver.driven();
    glw_window window("Tamble", "Tamble", &ed_mouse_callback(), &ed_kb_callback());
    if (!ed_start(window, options))
        return 0;

    level_editor editor(v_replay_global());
    current_editor = &editor;
    v_set_message_box(editor_message);
    editor.services = editor_services();
    std::string picture_root = options.data_root.empty() ? options.user_folder : options.data_root;
    editor.services.build_previews = [&] {
        int written = build_level_previews(window, game_pak(), picture_root);
        std::string under = picture_root.empty() || picture_root.back() == '/' ? picture_root : picture_root + "/";
        return "Pictures of " + std::to_string(written) + " levels written under " + under + "tex/levels/.";
    };
    std::string settings;
    std::string settings_path = ed_settings_path(options);
    bool has_settings = file_read_all(settings_path, settings, settings_limit);
    editor.startup(game_pak(), has_settings ? &settings : nullptr, ed_work_folder(options, "levels"));
    editor.autosave = ed_autosave(options.user_folder + "level_editor.autosave", "tamble level editor autosave");
    editor.offer_autosave();

    level_editor_view view;
    view.ui.load(game_pak(), le_font_width, le_font_height);

    render_target_global().setup(window, &game_pak());

    int status = 0;
    std::string error;
    glw_test_driver driver;
    if (driven && !driver.start(window, options.driver, error)) {
        std::fprintf(stderr, "tamble: %s\n", error.c_str());
        status = 2;
    } else {
        editor_pacing pacing(frame_timer());
        ed_loop_t loop;
        loop.mouse = [&](uint32_t flags, float x, float y) { editor.mouse(flags, x, y); };
        loop.key = [&](uint32_t key, bool down) { editor.key(key, down); };
        loop.character = [&](uint32_t c) { editor.character(c); };
        loop.close = [&](bool forced) { editor.close_requested(forced); };
        loop.before_pump = [&] { window.set_view(editor.view_x, editor.view_y, editor.zoom); };
        loop.editing = [&] { return editor.editing != 0; };
        loop.edit_step = [&] { editor.tick(); };
        loop.test_step = [&] { editor.test_step(); };
        loop.draw = [&] { view.draw(window, editor); };
        loop.after_swap = [&] {
            // What took a while is not owed to the steps.
            if (editor.run_pending())
                frame_timer().reset();
        };
        loop.done = [&] { return editor.quit; };
        ed_run_loop(window, loop, pacing);
    }
    driver.stop();

    current_editor = nullptr;
    v_set_message_box(nullptr);
    view.ui.release();
    view.preview.reset();
    editor.play.reset();
    editor.edit.reset();
    render_target_global().release();
    ed_finish(window);
    return status;
}
