// The editor window and the editor loop.
#include "editors/common/editor_shell.h"

#include "app/input_drain.h"
#include "app/pacing.h"
#include "app/window/message_box.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "editors/common/editor_options.h"
#include "game/screens/game_assets.h"
#include "physics/replay.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <cstdio>

#include <SDL_opengl.h>

#include <chrono>
#include <thread>

bool ed_open_window(glw_window& window, const driver_options& driver)
{
    int32_t w = driver.width, h = driver.height;
    if (w <= 0 || h <= 0)
        glw_desktop_size(w, h);
    if (!window.create_gl_window(w, h, 32, false))
        return false;
    if (driver.width <= 0 && !driver.driven())
        window.maximise();
    return true;
}

void ed_gl_state()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

bool ed_start(glw_window& window, const editor_options& options)
{
    // A driven run answers message boxes on stderr: nobody is there to press OK.
    if (options.driver.driven())
        glw_set_headless(true);
    set_app_window(&window);
    if (!ed_open_window(window, options.driver)) {
        std::fprintf(stderr, "tamble: cannot open the editor window\n");
        set_app_window(nullptr);
        return false;
    }
    std::string error;
    if (!game_load_assets(options.add_stores, error, false)) {
        glw_message_box(error.c_str(), "Tamble", glw_icon::error);
        game_release_assets();
        set_app_window(nullptr);
        window.kill_gl_window();
        return false;
    }
    ed_gl_state();
    // Test runs sound as the game does.
    sound_start();
    load_collision_sounds();
    sound_connect_world(&v_replay_global());
    return true;
}

void ed_finish(glw_window& window)
{
    release_world_textures();
    game_release_assets();
    sound_disconnect_world();
    sound_stop();
    set_app_window(nullptr);
    window.kill_gl_window();
}


void ed_run_loop(glw_window& window, const ed_loop_t& editor, editor_pacing& pacing)
{
    pacing.timer->reset();
    while (!editor.done()) {
        editor.before_pump();
        if (!window.pump_messages()) {
            bool forced = window.driver && window.driver->finished();
            editor.close(forced);
            if (editor.done())
                break;
        }
        // Keys first: a modifier pressed in the same frame as a click applies to it.
        drain_input(window, input_sink_t{editor.key, editor.character, editor.mouse, {}});
        if (editor.done())
            break;
        bool away = !window.is_active() || !window.focused;
        if (away) {
            pacing.idle();
            // A minimised window draws nothing; the driver still needs its frames to count.
            if (!window.is_active() && !window.driver) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }
        }
        glClearColor(0.0f, 0.0f, 0.3f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (!away) {
            if (editor.editing())
                pacing.editing_frame([&] {
                    sound_tick();
                    editor.edit_step();
                });
            else
                pacing.testing_frame([&] {
                    sound_tick();
                    editor.test_step();
                });
        }
        editor.draw();
        window.swap();
        if (editor.after_swap)
            editor.after_swap();
    }
}
