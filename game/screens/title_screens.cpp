// The title logo and the title-scroll transition.
#include "game/screens/title_screens.h"

#include "app/clock.h"
#include "app/pacing.h"
#include "data/asset_names.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/screen_frame.h"
#include "game/screens/scroll.h"
#include "game/title_logic.h"
#include "game/ui_sound.h"
#include "physics/world.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

namespace {

void draw_title_world(const v_world* world, float b, float alpha)
{
    if (!world)
        return;
    glEnable(GL_DEPTH_TEST);
    glClear(GL_DEPTH_BUFFER_BIT);
    glColor4f(b, b, b, alpha);
    draw_world(*world, game_world_style());
    glDisable(GL_DEPTH_TEST);
}

}  // namespace

void run_title_logo(v_world* title_world)
{
    ref_ptr<gl_texture> logo = game_texture(tex_ui_title_logo);
    title_logo_logic logic;
    input_sink_t input;
    input.mouse = [&](uint32_t flags, float, float) {
        if (logic.press(flags))
            game_play(ui_sound::select);
    };
    screen_frame_t frame;
    frame.step = [&](int32_t) {
        sound_tick();
        screen_pump();
        if (title_world)
            title_world->step();
        logic.step();
    };
    frame.draw = [&] {
        screen_begin_2d();
        draw_title_world(title_world, logic.world_brightness(), 1.0f);
        if (logo) {
            glColor4f(1.0f, 1.0f, 1.0f, logic.logo_alpha());
            logo->draw_quad(32, 32, 64, 32);
        }
    };
    frame.done = [&] { return logic.phase == title_logo_logic::done || screen_quit_requested(); };
    run_averaged_loop(screen_host(input), frame, frame_timer());
}

void title_world_step(game_hud& hud, v_world* title_world)
{
    sound_tick();
    hud.update(hud_slide_menu);
    screen_pump();
    if (title_world)
        title_world->step();
}

void run_title_scroll(game_hud& hud, v_world* title_world)
{
    ref_ptr<gl_texture> segments = game_texture(tex_ui_title_scroll);
    ref_ptr<gl_texture> background = game_texture(tex_ui_title_background);
    title_scroll_logic logic;
    screen_frame_t frame;
    frame.step = [&](int32_t) {
        title_world_step(hud, title_world);
        logic.step();
    };
    frame.draw = [&] {
        screen_begin_2d();
        float k = title_ease(logic.world, 6.0f);
        draw_title_world(title_world, k, k);
        if (background) {
            float fade = 1.0f - k;
            glColor4f(fade, fade, fade, fade);
            background->bind();
            // The background tiles sideways and drifts as the scene fades.
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
            background->draw_quad(32, 32, 128, 64, {-0.2f * logic.world, 0}, {8 - 0.2f * logic.world, 1});
        }
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        hud.draw_menu(false);
        draw_scroll(segments.get(), logic.turn, logic.opening);
    };
    frame.done = [&] { return logic.done() || screen_quit_requested(); };
    // The transition takes no input; what comes meanwhile is dropped.
    run_consumed_loop(screen_host({}), frame, frame_timer());
}
