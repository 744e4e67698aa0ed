// World map: consumed-steps loop, the zoom, input, and drawing of tiles, popup and card.
#include "game/screens/world_map_screen.h"

#include "app/log.h"
#include "app/view_space.h"
#include "app/window/window.h"
#include "data/asset_names.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/screen_frame.h"
#include "game/screens/settings_screen.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

#include <algorithm>

world_map_screen::world_map_screen()
    : popup(game_texture(tex_ui_level_popup)), glow(game_texture(tex_ui_tile_glow)),
      pip_off(game_texture(tex_ui_difficulty_off)), pip_half(game_texture(tex_ui_difficulty_half)),
      pip_on(game_texture(tex_ui_difficulty_on))
{}

int32_t world_map_screen::run(game_hud& hud, bool returning)
{
    logic = world_map_logic(map_levels(hud.slot(), hud.world()), returning);
    for (const std::string& name : map_rune_plate(hud.slot(), hud.world()))
        rune_plate.push_back(tiles.get(name));
    play_music(music_map);

    glw_window* window = app_window();
    input_sink_t input;
    input.key = [this](uint32_t key, bool) { logic.key(key); };
    input.mouse = [&](uint32_t flags, float x, float y) {
        if (!(flags & left_press))
            return;
        world_map_outcome out = logic.press(hud.hovered_item(), x, y);
        if (out.zoom_tile >= 0)
            log_line(log_info) << "map: zoom into level " << out.zoom_tile << "at frame "
                               << (window ? window->swaps : 0);
        game_play(out.sound);
        if (out.open_settings)
            open_settings();
        if (out.zoom_tile < 0)
            return;
        const std::string& level = logic.levels[size_t(out.zoom_tile)].level_name;
        revealed = level.empty() ? nullptr : game_texture("tex\\" + level + "0");
        stop_music();
        game_play(music_ditty_zoom);
    };
    input.stop = [this] { return logic.leaving; };
    screen_frame_t frame;
    frame.step = [&](int32_t) {
        sound_tick();
        hud.update(hud_slide_full);
        screen_pump();
        logic.step();
    };
    frame.draw = [&] {
        // The tile under the pointer is looked up in the view the map is drawn in.
        screen_set_view(logic.zoom.centre_x, logic.zoom.centre_y, logic.zoom.half_height);
        float x, y;
        screen_pointer(x, y);
        game_play(logic.point(x, y));
        draw(hud);
    };
    frame.done = [&] {
        if (logic.leaving || screen_quit_requested())
            return true;
        // Checked here, at the start of the next frame: one frame is drawn after the zoom.
        return logic.zoom.frame_start();
    };
    if (window)
        window->flush_input();
    run_consumed_loop(screen_host(input), frame, frame_timer());
    screen_set_view(view_centre, view_centre, view_size / 2);
    if (logic.leaving || screen_quit_requested())
        return -1;
    return logic.chosen;
}

void world_map_screen::draw_tile(const map_level& level, float glow_size, float tile_size, float icon_size)
{
    if ((level.state & 3) == 1)
        gl_draw_quad(glow.get(), level.x, level.y, glow_size, glow_size);
    gl_draw_quad(tiles.get(level.tiles[level.state & 3]), level.x, level.y, tile_size, tile_size);
    gl_draw_quad(tiles.get(level.trophy_icon), level.x, level.y, icon_size, icon_size);
}

void world_map_screen::draw_popup(const game_hud& hud, const map_level& level)
{
    const glyph_font& font = hud.font();
    map_popup p = map_popup_for(level.x, level.y);
    if (p.below)
        gl_draw_quad(popup.get(), p.box_x, p.box_y, 30, 12, {0, 1}, {1, 0});
    else
        gl_draw_quad(popup.get(), p.box_x, p.box_y, 30, 12);
    font.print(p.anchor_x, p.anchor_y + 0.25f, 3, level.title.c_str(), font_centre);
    font.print(p.anchor_x - 5.25f, p.anchor_y + 3.5f, 2.5f, map_difficulty_name(level.difficulty),
               font_centre);
    gl_texture* pips[3] = {pip_off.get(), pip_half.get(), pip_on.get()};
    for (int32_t k = 0; k < 4; ++k)
        gl_draw_quad(pips[map_difficulty_pip(level.difficulty, k)], p.anchor_x + 3 + 2.0f * float(k),
                     p.anchor_y + 4.75f, 2, 2);
}

void world_map_screen::draw_card(const map_level& level)
{
    float angle = logic.zoom.card_angle();
    auto corner = [&](float ox, float oy, float u, float v) {
        float x, y;
        map_card_corner(level.x, level.y, ox, oy, angle, x, y);
        glTexCoord2f(u, v);
        glVertex3f(x, y, -1.0f);
    };
    // Faces turned away are culled, so the tile shows until it is edge on and the
    // picture after. The view's y runs downward, so a face listed counter-clockwise on
    // screen is the one facing the viewer.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    if (!revealed)
        glDisable(GL_CULL_FACE);  // nothing behind the tile: it stays in view, turned over
    if (gl_texture* tile = tiles.get(level.tiles[level.state & 3])) {
        tile->bind();
        glBegin(GL_QUADS);
        corner(-2, -2, 0, 0);
        corner(-2, 2, 0, 1);
        corner(2, 2, 1, 1);
        corner(2, -2, 1, 0);
        glEnd();
    }
    if (revealed) {
        revealed->bind();
        glBegin(GL_QUADS);
        corner(-1.76f, -1.76f, 1, 0);
        corner(1.76f, -1.76f, 0, 0);
        corner(1.76f, 1.76f, 0, 1);
        corner(-1.76f, 1.76f, 1, 1);
        glEnd();
    }
    glDisable(GL_CULL_FACE);
}

void world_map_screen::draw(const game_hud& hud)
{
    const map_zoom& zoom = logic.zoom;
    const std::vector<map_level>& levels = logic.levels;
    int32_t hovered = logic.hovered, chosen = logic.chosen;
    float b = logic.brightness;
    screen_begin_2d(b);
    screen_set_view(zoom.centre_x, zoom.centre_y, zoom.half_height);
    hud.draw_background(0, b);
    for (size_t i = 0; i < levels.size(); ++i)
        if (int32_t(i) != hovered || zoom.zooming())
            if (!(zoom.zooming() && int32_t(i) == chosen))
                draw_tile(levels[i], 7.5f, map_tile_size, 2.4f);
    for (gl_texture* layer : rune_plate)
        gl_draw_quad(layer, 59, 59, 8, 8);

    if (zoom.zooming() && chosen >= 0)
        draw_card(levels[size_t(chosen)]);
    screen_set_view(view_centre, view_centre, view_size / 2);
    hud.draw_menu(true);

    // The hovered tile and its popup go over the menu and the frames, in the map's view so
    // that after a cancelled zoom they still sit on the tile.
    if (!zoom.zooming() && hovered >= 0) {
        screen_set_view(zoom.centre_x, zoom.centre_y, zoom.half_height);
        const map_level& level = levels[size_t(hovered)];
        draw_tile(level, 10, 4, 3.2f);
        draw_popup(hud, level);
        screen_set_view(view_centre, view_centre, view_size / 2);
    }
    glColor4f(b, b, b, 1);
    hud.draw_pointer();
}
