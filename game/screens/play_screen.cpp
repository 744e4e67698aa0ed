// The play screen's frame loop, pause, input, drawing and developer capture.
#include "game/screens/play_screen.h"

#include "app/clock.h"
#include "app/log.h"
#include "app/pacing.h"
#include "app/window/window.h"
#include "data/asset_names.h"
#include "game/screens/fit_text.h"
#include "game/screens/game_assets.h"
#include "game/screens/game_hud.h"
#include "game/screens/screen_frame.h"
#include "game/star_text.h"
#include "render/effect_rain.h"
#include "render/level_pictures.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

std::string& capture_folder()
{
    static std::string folder = "base";
    return folder;
}

play_audio_t game_audio()
{
    play_audio_t audio;
    audio.play = [](const char* name) { game_play(name); };
    audio.music = [](const char* name) { play_music(name); };
    audio.duck = [](float seconds) { duck_music(seconds); };
    return audio;
}

std::unique_ptr<blur_sequence> caption(const char* name)
{
    return std::make_unique<blur_sequence>(game_texture(name), 4, 3.0f);
}

void colour(float b, float a = 1.0f)
{
    glColor4f(b, b, b, a);
}

// The sharper intro picture of a cross-fade step, drawn first; null when it is missing.
gl_texture* upper_picture(const ref_ptr<gl_texture> (&images)[4], const play_crossfade& c)
{
    gl_texture* upper = c.lower < 3 ? images[c.lower + 1].get() : nullptr;
    return upper && !upper->empty() ? upper : nullptr;
}

// Whether the level begins this frame's picture with the live world drawn in an opaque
// colour (play_screen::draw_level), and the world hides the whole playfield.
bool level_hides_playfield(const play_screen& screen)
{
    const v_world* world = screen.logic.live.get();
    if (!world)
        return false;
    play_crossfade c = play_crossfade_at(screen.logic.intro);
    return (c.world_only || !upper_picture(screen.intro_images, c)) && world_hides_playfield(*world);
}

}  // namespace

void play_set_capture_folder(const std::string& folder)
{
    capture_folder() = folder.empty() ? "base" : folder;
}

play_screen::play_screen(int32_t slot, int32_t world, int32_t level)
    : logic(slot, world, level, game_audio()), cursor(game_texture(tex_ui_mouse_cursor)),
      star_off(game_texture(tex_ui_star_off)), star_half(game_texture(tex_ui_star_half)),
      star_on(game_texture(tex_ui_star_on)), highlight(game_texture(tex_ui_highlight)),
      frames(game_texture(tex_ui_frames)), vignette(game_texture(tex_ui_replay_vignette)),
      paper(game_texture(tex_ui_paper_large)), button_restart(game_texture(tex_ui_button_restart)),
      button_solution(game_texture(tex_ui_button_solution)), button_menu(game_texture(tex_ui_button_menu)),
      label_restart(game_texture(tex_ui_label_restart)), label_solution(game_texture(tex_ui_label_solution)),
      label_menu(game_texture(tex_ui_label_menu)), backdrop(game_texture(tex_ui_playfield_background))
{
    if (!logic.entry.level.empty())
        for (int32_t i = 0; i < 4; ++i)
            intro_images[i] = game_texture(play_intro_image_name(logic.entry.level, i));
    caption_ready = caption(tex_ui_text_ready);
    caption_success = caption(tex_ui_text_success);
    caption_failed = caption(tex_ui_text_failed);
    if (logic.entry.rain && logic.live)
        effect = std::make_unique<effect_rain>(&game_pak(), logic.live.get());
}

play_screen::~play_screen() = default;

bool play_screen::run(game_hud& hud)
{
    glw_window* window = app_window();
    logic.begin();
    if (window)
        window->flush_input();
    averaged_catchup pacing(frame_timer());
    pacing.begin();
    float x = 32, y = 32;
    int32_t logged_state = -1;
    const input_sink_t sink = input();
    while (!logic.done()) {
        if (logic.state != logged_state) {
            // With "log" on the command line the states show with the frame they began in,
            // which is what scripted runs and their tests follow.
            logged_state = logic.state;
            log_line(log_info) << "play: " << play_state_name(logged_state) << " at frame "
                               << (window ? window->swaps : 0);
        }
        // A level waits while the player is elsewhere: no steps, and no time owed after.
        bool was_paused = paused;
        paused = window && (!window->is_active() || !window->focused);
        if (paused != was_paused)
            log_line(log_info) << "play: " << (paused ? "paused" : "resumed") << " at frame "
                               << (window ? window->swaps : 0);
        if (paused) {
            frame_timer().reset();
            if (!screen_pump())
                break;
            if (window) {
                window->flush_input();
                screen_pointer(x, y);
            }
            draw(hud, x, y);
            if (window)
                window->swap();
            if (window && !window->driver && !window->is_active())
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        pacing.frame([this](int32_t step_in_frame) {
            sound_tick();
            logic.step(step_in_frame);
        });
        if (effect)
            effect->update();
        if (!screen_pump())
            break;
        screen_drain(sink);
        screen_pointer(x, y);
        logic.frame(x, y);
        if (logic.world_replaced) {
            logic.world_replaced = false;
            if (auto* rain = dynamic_cast<effect_rain*>(effect.get()))
                rain->world = logic.live.get();
        }
        if (logic.profile_changed) {
            logic.profile_changed = false;
            hud.set_profile(logic.slot);
        }
        ++gl_textures().frame_counter;
        draw(hud, x, y);
        if (window)
            window->swap();
    }
    return logic.ending;
}

input_sink_t play_screen::input()
{
    input_sink_t sink;
    sink.key = [this](uint32_t key, bool down) {
        glw_window* window = app_window();
        if (down && window && logic.key(key, window->control_held()) == play_dev_action::capture)
            capture_intro_images();
    };
    // Each event acts at its own position (play_logic::mouse), not at the frame's pointer.
    sink.mouse = [this](uint32_t flags, float x, float y) { logic.mouse(flags, x, y); };
    return sink;
}

void play_screen::capture_intro_images()
{
    glw_window* window = app_window();
    std::string note;
    if (!logic.pristine || !window) {
        log_line(log_always) << "play: the intro pictures cannot be captured here";
        return;
    }
    if (capture_level_pictures(render_target_global(), *window, &game_pak(), *logic.pristine, capture_folder(),
                               logic.entry.level, note))
        log_line(log_always) << "play: intro pictures written to " << note;
    else
        log_line(log_always) << "play: the intro pictures of " << logic.entry.level << " were not written: " << note;
}

// The depth buffer is still as draw_backdrop cleared it: everything drawn before the world
// draws without the depth test.
void play_screen::draw_world(const v_world& world, float b, float alpha) const
{
    glEnable(GL_DEPTH_TEST);
    colour(b, alpha);
    ::draw_world(world, game_world_style());
    glDisable(GL_DEPTH_TEST);
}

// The level fades in through its four intro pictures, blurriest first, and then shows as
// the live world; it dissolves back the same way. A missing picture lets the world show.
void play_screen::draw_level(float b)
{
    const v_world* world = logic.live.get();
    play_crossfade c = play_crossfade_at(logic.intro);
    if (c.world_only) {
        if (world)
            draw_world(*world, b, 1.0f);
        return;
    }
    if (gl_texture* upper = upper_picture(intro_images, c)) {
        colour(b);
        upper->draw_quad(32, 32, 64, 64);
    } else if (world) {
        draw_world(*world, b, 1.0f);
    }
    if (gl_texture* lower = intro_images[c.lower].get()) {
        colour(b, 1.0f - c.fade);
        lower->draw_quad(32, 32, 64, 64);
    }
}

void play_screen::draw_labels(float b)
{
    int32_t button = std::abs(logic.hovered_button);
    if (button == 0 || button > play_button_menu)
        return;
    float s = std::sin(logic.highlight * 1.5707f);
    if (s <= 0.0f)
        return;
    colour(b);
    // The label is 16 x 4 once out; it grows from the playfield's edge, its inner end first.
    if (button == play_button_restart)
        gl_draw_quad(label_restart.get(), 8 * s, play_restart_button.y, 16 * s, 4, {1 - s, 0}, {1, 1});
    else if (button == play_button_solution)
        gl_draw_quad(label_solution.get(), v_playfield_size - 8 * s, play_solution_button.y, 16 * s, 4,
                     {0, 0}, {s, 1});
    else
        gl_draw_quad(label_menu.get(), 8 * s, play_menu_button.y, 16 * s, 4, {1 - s, 0}, {1, 1});
}

void play_screen::draw_captions(float b)
{
    float progress = std::clamp(logic.intro, 0.0f, 1.0f);
    int32_t state = logic.state;
    blur_sequence* shown = state == play_ready                                  ? caption_ready.get()
                           : state == play_success || state == play_award_intro ? caption_success.get()
                           : state == play_failed                               ? caption_failed.get()
                                                                                : nullptr;
    if (shown)
        shown->draw(32, 32, 32, 10, progress, b);
}

void play_screen::draw_star_counter(const game_hud& hud, float b)
{
    if (!logic.star_counter_shown())
        return;
    int32_t stars[4];
    play_counter_stars(logic.entry.difficulty, logic.counted, stars);
    gl_texture* glyphs[3] = {star_off.get(), star_half.get(), star_on.get()};
    colour(b);
    for (int32_t i = 0; i < 4; ++i)
        gl_draw_quad(glyphs[stars[i]], 32.5f + 5.0f * float(i), 44, 5, 5);
    gl_draw_quad(star_on.get(), 16, 44, 8, 8);
    // The large star stands for the total; the text gives the number only.
    std::string total = star_text(logic.old_stars + logic.counted);
    if (!total.empty() && total[0] == star_glyph)
        total.erase(0, total.find_first_not_of(' ', 1));
    hud.font().print(20, 42, 4.8f, total.c_str(), font_left);
}

void play_screen::draw_card(const game_hud& hud, float b)
{
    int32_t state = logic.state;
    if (!play_state_shows_card(state))
        return;
    const glyph_font& font = hud.font();
    gl_texture* graphic = card_textures.get(logic.card_graphic);
    colour(b);
    if (state == play_tip && logic.tip_lines.empty()) {
        gl_draw_quad(graphic, 32, 32, 64, 32);
    } else {
        gl_draw_quad(paper.get(), 32, 32, 64, 32);
        gl_draw_quad(graphic, 10, 32, 16, 16);
    }
    // Lines start right of the picture and are set smaller where they would run past the
    // paper, whose right edge lies at 63.
    const float line_room = 41.0f;
    if (state == play_tip) {
        float count = float(logic.tip_lines.size());
        for (size_t i = 0; i < logic.tip_lines.size(); ++i)
            fit_print(font, 20, 31.0f + 3.0f * float(i) - 1.5f * count, 3, line_room,
                      logic.tip_lines[i].c_str());
    } else if (state == play_award_title) {
        font.print(39, 28, 3, logic.award < 3 ? "YOU HAVE ACQUIRED" : "YOU HAVE DISCOVERED A SEGMENT OF",
                   font_centre | font_middle);
        // Long names are set smaller, so that they stay between the picture and the edge.
        const float name_height = 5.0f, room = 42.0f;
        float shown = std::min(font.measure(logic.award_name.c_str()) * name_height, room);
        fit_print(font, 39.0f - shown / 2.0f, 34.0f - name_height / 2.0f, name_height, room,
                  logic.award_name.c_str());
    } else {
        static const char* const medallion[] = {"A MEDALLION IS AWARDED FOR EACH",
                                                "MAJOR PATH ON THE MAP YOU", "COMPLETE."};
        static const char* const segment[] = {"FIND ALL OF THE SEGMENTS TO UNLOCK",
                                              "ADVANCED LEVELS SCATTERED", "THROUGHOUT THE MAPS."};
        const char* const* lines = logic.award < 3 ? medallion : segment;
        for (int32_t i = 0; i < 3; ++i)
            fit_print(font, 20, 27.5f + 3.0f * float(i), 3, line_room, lines[i]);
    }
    if (logic.clock > 0.5f) {
        const float x = play_continue_button.x, y = play_continue_button.y + logic.continue_offset();
        const float h = play_continue_text_height;
        // The highlight goes under the word, so that it stays legible.
        if (logic.hovered_button == play_button_continue)
            gl_draw_quad(highlight.get(), x, y + h / 2, play_continue_highlight_width, h);
        font.print(x, y, h, "CONTINUE", font_centre);
    }
}

// Paused: the level stays as it was, dimmed, until the window is back.
void play_screen::draw_pause(const game_hud& hud)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 0.55f);
    glBegin(GL_QUADS);
    glVertex3f(0, 0, -1);
    glVertex3f(64, 0, -1);
    glVertex3f(64, 64, -1);
    glVertex3f(0, 64, -1);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    colour(1.0f);
    gl_draw_quad(paper.get(), 32, 32, 40, 12);
    hud.font().print(32, 32, 5, "PAUSED", font_centre | font_middle);
}

// What the margin buttons' picture depends on beside the brightness, which the frames'
// copies are taken at full only.
uint64_t play_screen::buttons_key() const
{
    return logic.solution_offered ? 2 : 1;
}

// The playfield behind the level: every frame starts from it, so that nothing of the frame
// before (or of the map the level was chosen on) shows through where the level draws nothing.
// Where the level's world hides the whole playfield (a full-size opaque backdrop) none of it
// would show, and on a software rasteriser it would cost as much as the world itself. Then,
// once the margins are put back from copies that cover the rest of the window, every pixel
// is drawn over without blending before anything is blended onto it, and only depth needs
// clearing. Where the frames stay in the back buffer (`frames_kept`), everything from the
// colour clear on is drawn between them; depth is cleared whole before that, as a clear
// under the scissor test is far slower on a software rasteriser.
void play_screen::draw_backdrop(float b, bool frames_kept) const
{
    bool hidden = level_hides_playfield(*this);
    bool covered = hidden && b == 1.0f && margins.covers_window(app_window(), frames.get(), 0.0f, buttons_key());
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    if (frames_kept) {
        glClear(GL_DEPTH_BUFFER_BIT);
        margins.scissor_between();
        if (!covered)
            glClear(GL_COLOR_BUFFER_BIT);
    } else {
        glClear(covered ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    if (backdrop && !hidden) {
        colour(b);
        backdrop->draw_quad(32, 32, 64, 64);
    }
}

void play_screen::draw(const game_hud& hud, float x, float y)
{
    screen_begin_2d(1.0f);
    float b = std::clamp(logic.brightness, 0.0f, 1.0f);
    // Where the back buffer still holds the frames as the frame before left them, everything
    // up to them is drawn between their copies only, and they stay in place.
    bool frames_kept = b == 1.0f && margins.keeps_window(app_window(), frames.get(), 0.0f, buttons_key());
    draw_backdrop(b, frames_kept);
    draw_level(b);

    if (logic.state == play_solution || logic.state == play_solution_end) {
        float a = std::clamp(logic.vignette, 0.0f, 1.0f);
        if (vignette && a > 0.0f) {
            vignette->bind();
            colour(b, a);
            static const float corners[4][6] = {{0, 16, 0, 0, 16, 0},
                                                {48, 0, 64, 0, 64, 16},
                                                {64, 48, 64, 64, 48, 64},
                                                {16, 64, 0, 64, 0, 48}};
            static const float uv[6] = {0, 1, 0, 0, 1, 0};
            glBegin(GL_TRIANGLES);
            for (const auto& t : corners)
                for (int32_t k = 0; k < 3; ++k) {
                    glTexCoord2f(uv[2 * k], uv[2 * k + 1]);
                    glVertex3f(t[2 * k], t[2 * k + 1], -1.0f);
                }
            glEnd();
        }
    }
    if (effect) {
        colour(b);
        effect->draw();
    }

    // The buttons lie on the frames, beside the square that the labels, captions and cards
    // keep to: drawn with the frames they are held in their copies.
    margin_cover buttons;
    buttons.key = buttons_key();
    buttons.draw = [&] {
        colour(b);
        auto margin_button = [](gl_texture* picture, ui_rect r) {
            r.h = play_button_picture_height;
            screen_quad(picture, r);
        };
        margin_button(button_restart.get(), play_restart_button);
        if (logic.solution_offered)
            margin_button(button_solution.get(), play_solution_button);
        margin_button(button_menu.get(), play_menu_button);
    };
    colour(b);
    glDisable(GL_SCISSOR_TEST);
    margins.draw(app_window(), frames.get(), 0.0f, buttons, frames_kept);
    draw_labels(b);
    draw_captions(b);
    draw_star_counter(hud, b);
    draw_card(hud, b);

    if (paused)
        draw_pause(hud);
    colour(b);
    gl_draw_quad(cursor.get(), x, y, 8, 8);
    margins.drawn_over(x, y, 8, 8);
}
