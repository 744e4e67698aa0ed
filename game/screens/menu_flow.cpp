// The menu flow: start-up in order, the sequences and title screens, the screens one after
// another, and the shutdown in order.
#include "game/screens/menu_flow.h"

#include "app/log.h"
#include "app/view_space.h"
#include "app/window/message_box.h"
#include "app/window/test_driver.h"
#include "app/window/window.h"
#include "data/asset_names.h"
#include "game/config.h"
#include "game/menu_states.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/play_screen.h"
#include "game/screens/player_select_screen.h"
#include "game/screens/scene_player.h"
#include "game/screens/screen_frame.h"
#include "game/screens/title_screens.h"
#include "game/screens/world_map_screen.h"
#include "game/screens/world_select_screen.h"
#include "physics/level.h"
#include "physics/replay.h"
#include "render/render_target.h"
#include "render/texture.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

#include <cstdio>
#include <memory>
#include <vector>

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
    if (level.type() != script_type_block)
        return nullptr;
    return std::make_unique<v_world>(
        v_world_from_level(v_mode_play, level, v_replay_global(), nullptr, "levels\\Title"));
}

void tell_save_failure(const char* text)
{
    glw_message_box(text, "Tamble", glw_icon::warning);
}

void load_configuration(const std::string& path)
{
    config_set_path(path);
    // Set first: writing a loaded backup back can already fail.
    config_set_save_failure_notice(tell_save_failure);
    config_load_result loaded = config_load();
    if (!loaded.message.empty())
        glw_message_box(loaded.message.c_str(), "Tamble", glw_icon::warning);
    config_sound_seam().set_music_volume = set_music_volume;
    config_sound_seam().set_sound_volume = set_sound_volume;
    config_apply_sound_switches();
}

// The desktop shows the game's own icon for its window.
void set_window_icon(glw_window& window)
{
    ref_ptr<gl_texture> icon = game_texture(tex_ui_app_icon);
    std::vector<uint8_t> rgba;
    if (icon && icon->read_pixels(rgba))
        window.set_icon(rgba.data(), icon->width(), icon->height());
}

// With "log" on the command line, each screen says the frame it begins in.
void screen_log(const char* screen)
{
    glw_window* window = app_window();
    log_line(log_info) << "menu: " << screen << " at frame " << (window ? window->swaps : 0);
}

// The screens from player select to the last one, until the player quits.
void run_menus(std::unique_ptr<game_hud>& hud, std::unique_ptr<v_world>& title_world)
{
    menu_screens_t s;
    s.make_title_world = [&] {
        if (!title_world)
            title_world = make_title_world();
    };
    s.player_select = [&] {
        screen_log("player select");
        return player_select_screen().run(*hud, title_world.get());
    };
    s.set_profile = [&](int32_t slot) { hud->set_profile(slot); };
    s.title_scroll = [&] {
        run_title_scroll(*hud, title_world.get());
        title_world.reset();
    };
    s.world_select = [&] {
        screen_log("world select");
        return world_select_screen().run(*hud);
    };
    s.set_world = [&](int32_t world) { hud->set_world(world); };
    s.world_map = [&](bool returning) {
        screen_log("world map");
        int32_t level = world_map_screen().run(*hud, returning);
        if (level >= 0)
            log_line(log_info) << "menu: level " << level << "of world " << hud->world() << "chosen";
        return level;
    };
    s.music = [](const char* name) { play_music(name); };
    s.play = [&](int32_t level) {
        bool ending = false;
        {
            play_screen screen(hud->slot(), hud->world(), level);
            ending = screen.run(*hud);
        }
        // Progress reaches the disk after every level, whatever happened in it.
        config_save();
        return ending;
    };
    s.ending = [] {
        script_handle ending = script_global_tree().get("ending");
        play_scene_sequence(ending);
        return ending.get("exit").as_int() != 0;
    };
    s.destroy_hud = [&] { hud.reset(); };
    s.exit_sequence = [] { play_scene_sequence(script_global_tree().get("exit")); };
    s.quitting = [] { return screen_quit_requested(); };
    menu_run_states(s);
}

}  // namespace

int menu_begin(const game_options& options)
{
    if (options.driver.driven())
        glw_set_headless(true);
    ignore_mouse mouse;
    ignore_keys keys;
    glw_window window("Tamble", "Tamble", &mouse, &keys);
    window.own_cursor = true;
    window.screenshot_folder = options.screenshot_folder;
    bool windowed = options.driver.windowed || options.driver.driven() || options.driver.width > 0;
    int32_t w = options.driver.width ? options.driver.width : 1280;
    int32_t h = options.driver.height ? options.driver.height : 720;
    if (!window.create_gl_window(w, h, 32, !windowed)) {
        std::fprintf(stderr, "tamble: cannot open a window with an OpenGL context\n");
        return 1;
    }
    auto started = options.started;
    window.after_first_swap = [started] {
        auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        log_line(log_info) << "start-up: first frame after " << int64_t(ms.count()) << "ms";
    };
    set_app_window(&window);
    if (!windowed)
        gl_texture_choose_half_size(window.width, window.height);
    v_set_message_box(show_level_error);
    game_world_style().fallback = options.plain_drawing;

    std::string error;
    if (!game_load_assets(options.add_stores, error)) {
        if (error == "no worlds")
            error =
                "The game data " + options.data_name + " holds no game: it is damaged, or not Tamble's data.";
        glw_message_box(error.c_str(), "Tamble", glw_icon::error);
        game_release_assets();
        v_set_message_box(nullptr);
        set_app_window(nullptr);
        window.kill_gl_window();
        return 1;
    }
    if (options.after_loading)
        options.after_loading();
    set_window_icon(window);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    sound_start();
    load_collision_sounds();
    sound_connect_world(&v_replay_global());
    render_target_global().setup(window, &game_pak());
    window.set_view(view_centre, view_centre, view_size / 2);
    load_configuration(options.config_path);
    // Swaps wait for the display's refresh; a scripted run goes as fast as it can.
    if (!options.driver.driven())
        window.set_swap_interval(1);

    int status = 0;
    glw_test_driver driver;
    if (options.driver.driven() && !driver.start(window, options.driver, error)) {
        std::fprintf(stderr, "tamble: %s\n", error.c_str());
        status = 1;
    } else {
        play_scene_sequence(script_global_tree().get("startup"));
        play_music(music_title);
        auto hud = std::make_unique<game_hud>();
        std::unique_ptr<v_world> title_world = make_title_world();
        if (!screen_quit_requested())
            run_title_logo(title_world.get());
        run_menus(hud, title_world);
        title_world.reset();
        // The publisher's page, when the data names one, opens while the window still exists.
        if (const char* site = script_global_tree().get("exit").get("website").as_string())
            if (!screen_quit_requested())
                glw_open_url(site);
    }
    driver.stop();

    stop_music();
    render_target_global().release();
    release_world_textures();
    game_release_assets();
    sound_disconnect_world();
    sound_stop();
    v_set_message_box(nullptr);
    set_app_window(nullptr);
    window.kill_gl_window();
    return status;
}
