// World selection: consumed-steps loop, input and drawing of the list.
#include "game/screens/world_select_screen.h"

#include "app/window/window.h"
#include "data/asset_names.h"
#include "game/screens/fit_text.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/screen_frame.h"
#include "game/screens/scroll.h"
#include "game/screens/settings_screen.h"
#include "game/world_data.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

namespace {

// The shell shows the menu, the frames and the profile; the world map unfolds the rest.
constexpr float world_select_slide = 3.0f;

}  // namespace

world_select_screen::world_select_screen()
    : scroll(game_texture(tex_ui_title_scroll)), emblem_default(game_texture(tex_ui_emblem_default)),
      list_lines(game_texture(tex_ui_list_lines)), label_bar(game_texture(tex_ui_label_bar)),
      ok_normal(game_texture(tex_ui_ok_normal)), ok_hover(game_texture(tex_ui_ok_hovered))
{}

int32_t world_select_screen::run(game_hud& hud)
{
    records = world_records(hud.slot());
    logic = world_select_logic(int32_t(records.size()));
    hud.set_world(-1);
    int32_t result = -1;
    bool leave = false;

    glw_window* window = app_window();
    input_sink_t input;
    input.mouse = [&](uint32_t flags, float x, float y) {
        game_play(logic.point(x, y));
        if (!(flags & left_press))
            return;
        world_select_outcome out = logic.press(hud.hovered_item());
        game_play(out.sound);
        if (out.open_settings) {
            open_settings();
        } else if (out.back || out.chosen_row >= 0) {
            result = out.back ? -1 : records[size_t(out.chosen_row)].index;
            leave = true;
        } else if (out.selection_changed) {
            int32_t world = logic.selected >= 0 ? records[size_t(logic.selected)].index : -1;
            if (out.sound == ui_sound::select)
                emblem = game_texture(world_node(world).get("emblem").as_string());
            else if (world < 0)
                emblem = nullptr;
            hud.set_world(world);
        }
    };
    input.stop = [&] { return leave; };
    screen_frame_t frame;
    frame.step = [&](int32_t) {
        sound_tick();
        hud.update(world_select_slide);
        if (logic.step())
            screen_pump();
    };
    frame.draw = [&] { draw(hud); };
    frame.done = [&] { return leave || screen_quit_requested(); };
    if (window)
        window->flush_input();
    run_consumed_loop(screen_host(input), frame, frame_timer());
    return result;
}

void world_select_screen::draw(const game_hud& hud)
{
    screen_begin_2d();
    hud.draw_background(0, 1);
    hud.draw_menu(true);
    glColor4f(1, 1, 1, 1);
    draw_scroll(scroll.get(), 1, 1);
    gl_draw_quad(emblem ? emblem.get() : emblem_default.get(), 32, 20, 30, 10, {0.125f, 0}, {0.875f, 1});
    for (int32_t i = 0; i < logic.rows; ++i)
        draw_row(hud, i);
    hud.draw_pointer();
}

void world_select_screen::draw_row(const game_hud& hud, int32_t i)
{
    const world_record& r = records[size_t(i)];
    const glyph_font& font = hud.font();
    float y = world_row_y(i), shift = 3.5f * float(i);
    if (i == logic.selected) {
        gl_draw_quad(label_bar.get(), 36, y, 52, 4, {0.1f, 0}, {0.9f, 1});
        font.print(53.5f, 26.7f + shift, 2.5f, "SELECT", font_right);
        gl_draw_quad(logic.ok_hovered ? ok_hover.get() : ok_normal.get(), world_ok_x, y, world_ok_size,
                     world_ok_size);
    } else if (i == logic.hovered) {
        gl_draw_quad(list_lines.get(), 32, y, 34, 4, {0, 0}, {1, 0.125f});
    } else {
        gl_draw_quad(list_lines.get(), 32, y, 36, 4, {0, 0.125f}, {1, 0.25f});
    }
    // A long name is set smaller rather than run under the medallions.
    fit_print(font, 17, 26.7f + shift, 2.5f, 12, r.name.c_str());
    font.print(39, 26.3f + shift, 1.5f, world_levels_text(r).c_str());
    std::string complete = world_completion_text(r);
    if (!complete.empty())
        font.print(39, 27.7f + shift, 1.5f, complete.c_str());
    gl_draw_quad(icons.get(r.medallion_icons[0]), 30.5f, y, 2.5f, 2.5f);
    gl_draw_quad(icons.get(r.medallion_icons[1]), 33, y, 2.5f, 2.5f);
    gl_draw_quad(icons.get(r.rune_icon), 36.5f, y, 2.5f, 2.5f);
    for (const std::string& segment : r.segment_icons)
        gl_draw_quad(icons.get(segment), 36.5f, y, 2.5f, 2.5f);
}
