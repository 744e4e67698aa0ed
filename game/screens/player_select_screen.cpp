// Player select: averaged catch-up loop, input, and drawing of the scroll, the slots and
// the delete question.
#include "game/screens/player_select_screen.h"

#include "app/input_codes.h"
#include "data/asset_names.h"
#include "game/profile.h"
#include "game/screens/fit_text.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/screen_frame.h"
#include "game/screens/scroll.h"
#include "game/screens/settings_screen.h"
#include "game/screens/title_screens.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

namespace {

// The labels beside the OK button end just before it, so they never run under it.
constexpr float button_label_end = 52.0f;

}  // namespace

player_select_screen::player_select_screen()
    : star(game_texture(tex_ui_star_on)), scroll(game_texture(tex_ui_title_scroll)),
      list_lines(game_texture(tex_ui_list_lines)), label_bar(game_texture(tex_ui_label_bar)),
      text_cursor(game_texture(tex_ui_text_cursor)), delete_normal(game_texture(tex_ui_delete_normal)),
      delete_hover(game_texture(tex_ui_delete_hovered)), ok_normal(game_texture(tex_ui_ok_normal)),
      ok_hover(game_texture(tex_ui_ok_hovered)), paper(game_texture(tex_ui_paper_small)),
      yes_no(game_texture(tex_ui_yes_no_highlight))
{}

int32_t player_select_screen::run(game_hud& hud, v_world* title_world)
{
    logic.enter();
    logic.measure = [&hud](const std::string& name) { return hud.font().measure(name.c_str()); };
    bool faded_out = false;
    int32_t result = -1;

    screen_frame_t frame;
    frame.step = [&](int32_t) {
        title_world_step(hud, title_world);
        faded_out = faded_out || logic.step();
    };
    frame.draw = [&] { draw(hud, title_world); };
    frame.done = [&] {
        // A slot chosen in this frame's input leaves at the start of the next frame; the
        // design checks there, so the choice is committed here, before any further step.
        if (logic.has_choice()) {
            result = logic.commit_choice();
            return true;
        }
        return faded_out || screen_quit_requested();
    };
    run_averaged_loop(screen_host(input(hud)), frame, frame_timer());
    return result;
}

input_sink_t player_select_screen::input(const game_hud& hud)
{
    input_sink_t sink;
    sink.key = [this](uint32_t key, bool down) {
        if (down)
            game_play(logic.key(key));
    };
    sink.character = [this](uint32_t c) { game_play(logic.character(c)); };
    sink.mouse = [this, &hud](uint32_t flags, float x, float y) {
        game_play(logic.point(x, y));
        if (!(flags & left_press))
            return;
        player_select_outcome out = logic.press(hud.hovered_item());
        game_play(out.sound);
        if (out.open_settings)
            open_settings();
    };
    return sink;
}

void player_select_screen::draw(const game_hud& hud, const v_world* title_world) const
{
    float b = logic.brightness;
    if (title_world) {
        glColor4f(b, b, b, 1);
        draw_world(*title_world, false);
    }
    screen_begin_2d(b);
    hud.draw_menu(false);
    float p = logic.opening;
    draw_scroll(scroll.get(), 0.0f, p);
    if (p >= 1.0f) {
        hud.font().print(32, 21.5f, 3, "PLAYER SELECT", font_centre);
        draw_rows(hud);
    }
    if (logic.confirming)
        draw_question(hud);
    hud.draw_pointer();
}

void player_select_screen::draw_rows(const game_hud& hud) const
{
    const glyph_font& font = hud.font();
    for (int32_t i = 0; i < profile_slots; ++i) {
        float y = player_row_y(i), top = y - 1.6f;
        bool selected = i == logic.selected, taken = profile_taken(i);
        if (selected)
            gl_draw_quad(label_bar.get(), 34, y, 54, 4, {0.1f, 0}, {0.9f, 1});
        else if (i == logic.hovered_row)
            gl_draw_quad(list_lines.get(), 32, y, 36, 4, {0, 0}, {1, 0.125f});
        else
            gl_draw_quad(list_lines.get(), 32, y, 36, 4, {0, 0.125f}, {1, 0.25f});

        bool ok_hovered = selected && logic.hovered_button == player_button_ok && !logic.confirming;
        if (selected && !taken) {
            // The prompt keeps to the space before the name, whatever the font's widths.
            fit_print(font, 12, top, 3, 21, "ENTER YOUR NAME:");
            float end = font.print(33.5f, top, 3, logic.typed.c_str());
            gl_draw_quad(text_cursor.get(), end + 1.5f, y - 0.1f, 2, 2);
            gl_draw_quad(ok_hovered ? ok_hover.get() : ok_normal.get(), player_ok_x, y, player_ok_size,
                         player_ok_size);
            font.print(button_label_end, y - 1.3f, 2.5f, "OK", font_right);
        } else if (selected) {
            bool delete_hovered = logic.hovered_button == player_button_delete && !logic.confirming;
            gl_draw_quad(delete_hovered ? delete_hover.get() : delete_normal.get(), player_delete_x, y,
                         player_delete_size, player_delete_size);
            gl_draw_quad(ok_hovered ? ok_hover.get() : ok_normal.get(), player_ok_x, y, player_ok_size,
                         player_ok_size);
            font.print(button_label_end, y - 1.3f, 2.5f, "SELECT", font_right);
        } else if (!taken) {
            font.print(18, top, 3, "--EMPTY--");
        }
        if (taken) {
            font.print(18, top, 3, profile_name(i));
            gl_draw_quad(star.get(), 37, y, 3, 3);
            hud.print_stars(38.5f, y - 1.2f, 2.5f, profile_stars(i));
        }
    }
}

void player_select_screen::draw_question(const game_hud& hud) const
{
    const glyph_font& font = hud.font();
    gl_draw_quad(paper.get(), 32, 32, 40, 30);
    font.print(32, 25, 3, "ARE YOU SURE YOU WANT", font_centre);
    const char* name = profile_name(logic.selected);
    std::string question = std::string("TO DELETE ") + (name ? name : "") + "?";
    font.print(32, 28, 3, question.c_str(), font_centre);
    const ui_rect& no = player_answer_no_rect;
    const ui_rect& yes = player_answer_yes_rect;
    const float h = player_answer_highlight_height;
    if (logic.hovered_button == player_answer_no)
        screen_quad(yes_no.get(), {no.x, no.y, no.w, h}, {0, 0.3f}, {1, 0.7f});
    else if (logic.hovered_button == player_answer_yes)
        screen_quad(yes_no.get(), {yes.x, yes.y, yes.w, h}, {0, 0.3f}, {1, 0.7f});
    font.print(no.x, 33.7f, 3, "NO", font_centre);
    font.print(yes.x, 33.7f, 3, "YES", font_centre);
}
