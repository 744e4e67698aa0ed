// The scene sequence player: averaged catch-up over the scenes' worlds.
#include "game/screens/scene_player.h"

#include "app/clock.h"
#include "app/log.h"
#include "app/pacing.h"
#include "data/script.h"
#include "game/scene_sequence.h"
#include "game/screens/game_assets.h"
#include "game/screens/screen_frame.h"
#include "physics/level.h"
#include "render/world_draw.h"
#include "sound/sound.h"

#include <SDL_opengl.h>

#include <memory>
#include <vector>

int32_t play_scene_sequence(const script_handle& block)
{
    scene_sequence sequence = read_scene_sequence(block);
    if (!sequence.song.empty())
        play_music(sequence.song.c_str());
    std::vector<std::unique_ptr<v_world>> worlds;
    std::vector<int32_t> steps;
    for (const scene_entry& scene : sequence.scenes) {
        script_handle level = script_global_tree().get(scene.level.c_str());
        if (scene.level.empty() || level.type() != script_type_block) {
            // A scene without its level would show black for its whole time.
            log_line(log_problem) << "scenes: the level '" << scene.level << "' does not exist";
            continue;
        }
        worlds.push_back(std::make_unique<v_world>(
            v_world_from_level(v_mode_play, level, v_replay_global(), nullptr, scene.level.c_str())));
        steps.push_back(scene.steps);
    }
    scene_sequence_logic logic(steps);
    if (logic.done() || screen_quit_requested())
        return 0;

    input_sink_t input;
    input.mouse = [&](uint32_t flags, float, float) { logic.press(flags); };
    screen_frame_t frame;
    frame.step = [&](int32_t) {
        // The sequence ends in the middle of a frame's steps; the rest are not run.
        if (logic.done())
            return;
        sound_tick();
        screen_pump();
        worlds[logic.scene]->step();
        logic.step();
    };
    frame.draw = [&] {
        if (logic.done())
            return;
        screen_begin_2d();
        glEnable(GL_DEPTH_TEST);
        float b = logic.brightness();
        glColor4f(b, b, b, 1.0f);
        draw_world(*worlds[logic.scene], game_world_style());
        glDisable(GL_DEPTH_TEST);
    };
    frame.done = [&] { return logic.done() || screen_quit_requested(); };
    run_averaged_loop(screen_host(input), frame, frame_timer());
    return 0;
}
