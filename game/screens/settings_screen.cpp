// Settings: consumed-steps loop, hover, the switches and Accept.
#include "game/screens/settings_screen.h"

#include "app/window/window.h"
#include "data/asset_names.h"
#include "game/config.h"
#include "game/screens/game_assets.h"
#include "game/screens/screen_frame.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

settings_screen::settings_screen()
    : cursor(game_texture(tex_ui_mouse_cursor)), paper(game_texture(tex_ui_paper_large)),
      highlight(game_texture(tex_ui_highlight)), box_off(game_texture(tex_ui_checkbox_off)),
      box_on(game_texture(tex_ui_checkbox_on)), box_hover(game_texture(tex_ui_checkbox_hovered)),
      text(game_texture(tex_font_text))
{}

void settings_screen::run()
{
    glw_window* window = app_window();
    input_sink_t input;
    input.mouse = [this](uint32_t flags, float x, float y) {
        game_play(logic.point(x, y));
        if (flags & left_press)
            game_play(logic.press().sound);
    };
    screen_frame_t frame;
    frame.step = [](int32_t) {
        sound_tick();
        screen_pump();
    };
    frame.draw = [this] { draw(); };
    frame.done = [this] { return logic.accepted || screen_quit_requested(); };
    if (window)
        window->flush_input();
    run_consumed_loop(screen_host(input), frame, frame_timer());
}

void settings_screen::draw() const
{
    screen_begin_2d();
    script_handle config = config_node();
    const ui_rect& music = settings_music_box;
    const ui_rect& sound = settings_sound_box;
    const ui_rect& accept = settings_accept_button;
    screen_quad(paper.get(), settings_paper);
    text.print(settings_label_x, music.y, settings_text_height, "Mute Music", font_middle);
    text.print(settings_label_x, sound.y, settings_text_height, "Mute Sound Effects", font_middle);
    screen_quad(config.get("mute_music").as_int() > 0 ? box_on.get() : box_off.get(), music);
    screen_quad(config.get("mute_sound").as_int() > 0 ? box_on.get() : box_off.get(), sound);
    if (logic.hovered == settings_accept)
        screen_quad(highlight.get(), accept);
    text.print(accept.x, accept.y, settings_text_height, "Accept", font_centre | font_middle);
    if (logic.hovered == settings_music)
        screen_quad(box_hover.get(), music);
    else if (logic.hovered == settings_sound)
        screen_quad(box_hover.get(), sound);
    float x, y;
    screen_pointer(x, y);
    gl_draw_quad(cursor.get(), x, y, 8, 8);
}

void open_settings()
{
    settings_screen().run();
    frame_timer().reset();
    if (glw_window* window = app_window())
        window->flush_input();
}
