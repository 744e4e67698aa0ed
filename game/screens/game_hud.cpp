// The screen shell: loading, profile and world labels, the per-step update and drawing.
#include "game/screens/game_hud.h"

#include "app/pacing.h"
#include "app/window/window.h"
#include "data/asset_names.h"
#include "game/profile.h"
#include "game/screens/fit_text.h"
#include "game/screens/game_assets.h"
#include "game/screens/screen_frame.h"
#include "game/star_text.h"
#include "game/world_data.h"

#include <SDL_opengl.h>

namespace {

// The picture behind the screens when no map is set, tiled sideways: it repeats whatever
// its metadata says.
void draw_title_background(gl_texture* bg, float scroll)
{
    if (!bg)
        return;
    bg->bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    bg->draw_quad(32, 32, 128, 64, {scroll, 0}, {scroll + 8, 1});
}

}  // namespace

game_hud::game_hud()
    : text(game_texture(tex_font_text)), frames(game_texture(tex_ui_frames)),
      settings_box(game_texture(tex_ui_settings_box)), label(game_texture(tex_ui_label_box)),
      cursor(game_texture(tex_ui_mouse_cursor)), title_bg(game_texture(tex_ui_title_background)),
      highlight(game_texture(tex_ui_highlight)), star(game_texture(tex_ui_star_on))
{}

void game_hud::set_profile(int32_t slot)
{
    profile_slot = slot;
    const char* name = ::profile_name(slot);
    profile_name = name ? name : "";
    profile_stars = ::profile_stars(slot);
    float stars_measure = text.measure(star_text_compact(profile_stars).c_str());
    profile_width = hud_profile_label_width(text.measure(profile_name.c_str()), stars_measure);
    profile_name_room = hud_profile_name_room(stars_measure);
}

void game_hud::set_world(int32_t w)
{
    previous_map = map;
    state.restart_map_fade();
    world_index = w;
    map = w >= 0 ? game_texture(world_node(w).get("map").as_string()) : nullptr;
    world_name = w >= 0 ? script_text_or_empty(world_node(w).get("name")) : "";
    world_width = hud_world_label_width(text.measure(world_name.c_str()));
}

void game_hud::update(float target)
{
    float x, y;
    screen_pointer(x, y);
    game_play(state.update(target, x, y, screen_view_width()));
}

void game_hud::draw_background(float scroll, float brightness) const
{
    float fade = state.map_fade;
    gl_texture* pictures[2] = {previous_map.get(), map.get()};
    float alphas[2] = {1.0f - fade, fade};
    for (int i = 0; i < 2; ++i) {
        if (alphas[i] <= 0.0f)
            continue;
        glColor4f(brightness, brightness, brightness, alphas[i]);
        if (pictures[i])
            pictures[i]->draw_quad(32, 32, 64, 64);
        else
            draw_title_background(title_bg.get(), scroll);
    }
    glColor4f(brightness, brightness, brightness, 1.0f);
}

float game_hud::print_stars(float x, float y, float height, int32_t half_stars) const
{
    return text.print(x, y, height, star_text(half_stars).c_str());
}

void game_hud::draw_menu(bool back) const
{
    hud_layout l = hud_layout_for(state.slide, screen_view_width(), profile_width, world_width);
    float L = l.margin, c = l.menu_shift, o = l.menu_drop;
    if (l.frames) {
        margins.draw(app_window(), frames.get(), l.frames_offset);
    }

    gl_draw_quad(settings_box.get(), 2 - L - c, o + 6, 24, 16, {0, 0}, {0.95f, 1});
    // The highlight goes under the item's text, so the text stays legible.
    if (state.hovered_item == hud_item_settings)
        gl_draw_quad(highlight.get(), 6 - L - c, o + 4, 20, 3);
    else if (state.hovered_item == hud_item_back)
        gl_draw_quad(highlight.get(), 6 - L - c, o + 7.5f, 20, 3);
    text.print(0.5f - L - c, o + 2.25f, 3.5f, "Settings");
    text.print(0.5f - L - c, o + 5.75f, 3.5f, back ? "Back" : "Exit");

    if (l.profile_label) {
        float g = l.profile_x, h = l.profile_drop;
        gl_draw_quad(label.get(), g - (L + 14), h + 5, 28, 8, {0, 0}, {0.95f, 1});
        if (!profile_name.empty()) {
            float end = fit_print(text, g + 0.5f - (L + profile_width), h + 3.5f, 3, profile_name_room,
                                  profile_name.c_str());
            gl_draw_quad(star.get(), end + 2.8f, h + 5, 4, 4);
            print_stars(end + 4.5f, h + 3.85f, 2.5f, profile_stars);
        }
    }
    if (l.world_label) {
        float k = l.world_x, m = l.world_drop;
        gl_draw_quad(label.get(), k - (L + 12), m + 6, 24, 8, {0, 0}, {0.95f, 1});
        fit_print(text, k + 0.5f - (L + world_width), m + 4.5f, 3, hud_world_name_room(), world_name.c_str());
    }
}

void game_hud::draw_pointer(float x, float y) const
{
    gl_draw_quad(cursor.get(), x, y, 8, 8);
}

void game_hud::draw_pointer() const
{
    float x, y;
    screen_pointer(x, y);
    draw_pointer(x, y);
}
