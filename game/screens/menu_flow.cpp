// The menu flow: services up in order, player select -> world select -> world map, and
// down again. Until the play screen exists, a chosen level returns to its map.
#include "game/screens/menu_flow.h"

#include "app/log.h"
#include "app/window/message_box.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "game/config.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/player_select_screen.h"
#include "game/screens/screen_frame.h"
#include "game/screens/world_map_screen.h"
#include "game/screens/world_select_screen.h"
#include "physics/level.h"
#include "render/texture.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

#include <cstdio>
#include <memory>

namespace {

// The window's callbacks do nothing: every game screen reads the window's queues.
class ignore_mouse : public glw_mouseevent {
public:
    void on_mouse(uint32_t, float, float) override {}
};
class ignore_keys : public glw_kbevent {
public:
    void on_key(uint32_t, uint32_t) override {}
};

void show_level_error(const char* text, const char* caption)
{
    glw_message_box(text, caption, glw_icon::warning);
}

std::unique_ptr<v_world> make_title_world()
{
    script_handle level = script_global_tree().get("levels\\Title");
    if (!level.exists())
        return nullptr;
    return std::make_unique<v_world>(
        v_world_from_level(v_mode_play, level, v_replay_global(), nullptr, "levels\\Title"));
}

void load_configuration(const std::string& path)
{
    config_set_path(path);
    config_load_result loaded = config_load();
    if (!loaded.message.empty())
        glw_message_box(loaded.message.c_str(), "Tamble", glw_icon::warning);
    config_sound_seam().set_music_volume = set_music_volume;
    config_sound_seam().set_sound_volume = set_sound_volume;
    config_apply_sound_switches();
}

enum class flow_state { player_select, world_select, level_select, play, leave };

// The screens, one after another, until the player quits.
void run_screens(game_hud& hud)
{
    std::unique_ptr<v_world> title_world;
    flow_state state = flow_state::player_select;
    bool returning = false;
    int32_t level = -1;
    while (state != flow_state::leave && !screen_quit_requested()) {
        switch (state) {
        case flow_state::player_select: {
            if (!title_world)
                title_world = make_title_world();
            int32_t slot = player_select_screen().run(hud, title_world.get());
            if (slot < 0) {
                state = flow_state::leave;
                break;
            }
            hud.set_profile(slot);
            title_world.reset();
            state = flow_state::world_select;
            break;
        }
        case flow_state::world_select: {
            int32_t world = world_select_screen().run(hud);
            if (world < 0) {
                state = flow_state::player_select;
                break;
            }
            hud.set_world(world);
            returning = false;
            state = flow_state::level_select;
            break;
        }
        case flow_state::level_select:
            level = world_map_screen().run(hud, returning);
            if (level < 0) {
                play_music("music\\title");
                state = flow_state::world_select;
            } else {
                state = flow_state::play;
            }
            break;
        case flow_state::play:
            // The play screen comes here; the level would be played and the result saved.
            log_line(3) << "menu: level " << level << "of world " << hud.world() << "chosen";
            config_save();
            returning = true;
            state = flow_state::level_select;
            break;
        case flow_state::leave:
            break;
        }
    }
}

}  // namespace

int menu_begin(const game_options& options)
{
    if (options.driver.driven())
        glw_set_headless(true);
    ignore_mouse mouse;
    ignore_keys keys;
    glw_window window("Tamble", "Tamble", &mouse, &keys);
    bool windowed = options.driver.windowed || options.driver.driven() || options.driver.width > 0;
    int32_t w = options.driver.width ? options.driver.width : 1280;
    int32_t h = options.driver.height ? options.driver.height : 720;
    if (!window.create_gl_window(w, h, 32, !windowed)) {
        std::fprintf(stderr, "tamble: cannot open a window with an OpenGL context\n");
        return 1;
    }
    set_app_window(&window);
    if (!windowed)
        gl_texture_choose_half_size(window.width, window.height);
    v_set_message_box(show_level_error);

    std::string error;
    if (!game_load_assets(options.add_stores, error)) {
        glw_message_box(error.c_str(), "Tamble", glw_icon::error);
        set_app_window(nullptr);
        return 1;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    sound_start();
    load_collision_sounds();
    window.set_view(32, 32, 32);
    load_configuration(options.config_path);

    int status = 0;
    glw_test_driver driver;
    if (options.driver.driven() && !driver.start(window, options.driver, error)) {
        std::fprintf(stderr, "tamble: %s\n", error.c_str());
        status = 1;
    } else {
        play_music("music\\title");
        game_hud hud;
        run_screens(hud);
    }
    driver.stop();

    stop_music();
    release_world_textures();
    game_release_assets();
    sound_stop();
    v_set_message_box(nullptr);
    set_app_window(nullptr);
    window.kill_gl_window();
    return status;
}
