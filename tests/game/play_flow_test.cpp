// The game's flow without a window: the menu states in the order a session walks them, the
// scene sequences' fades and skips, the play screen's tip cards, missing levels, the star
// counter and the intro cross-fade.
#include "app/input_codes.h"
#include "game/menu_states.h"
#include "game/play_logic.h"
#include "game/scene_sequence.h"
#include "physics/level.h"
#include "tests/data/pak_test_util.h"
#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Screens that answer from queues and write what was called into a trace.
struct scripted_screens {
    std::vector<int32_t> players, worlds, levels;
    std::vector<bool> plays;
    bool ending_quits = false;
    int32_t quit_after_plays = -1;
    std::string trace;
    int32_t played = 0;

    static int32_t next(std::vector<int32_t>& q)
    {
        if (q.empty())
            return -1;
        int32_t v = q.front();
        q.erase(q.begin());
        return v;
    }

    menu_screens_t screens()
    {
        menu_screens_t s;
        s.make_title_world = [this] { trace += "T"; };
        s.player_select = [this] { return next(players); };
        s.set_profile = [this](int32_t slot) { trace += "P" + std::to_string(slot); };
        s.title_scroll = [this] { trace += "S"; };
        s.world_select = [this] { return next(worlds); };
        s.set_world = [this](int32_t w) { trace += "W" + std::to_string(w); };
        s.world_map = [this](bool returning) {
            trace += returning ? "m" : "M";
            return next(levels);
        };
        s.music = [this](const char*) { trace += "~"; };
        s.play = [this](int32_t level) {
            trace += "L" + std::to_string(level);
            ++played;
            bool ending = !plays.empty() && plays.front();
            if (!plays.empty())
                plays.erase(plays.begin());
            return ending;
        };
        s.ending = [this] {
            trace += "E";
            return ending_quits;
        };
        s.destroy_hud = [this] { trace += "D"; };
        s.exit_sequence = [this] { trace += "X"; };
        s.quitting = [this] { return quit_after_plays >= 0 && played >= quit_after_plays; };
        return s;
    }
};

}  // namespace

TEST(menu_states, session_walks_forward_and_back_to_the_exit_sequence)
{
    scripted_screens s;
    s.players = {2};
    s.worlds = {0};
    s.levels = {3, 4, -1};
    menu_run_states(s.screens());
    // Player 2, the scroll, world 0, two levels with the map returning after each, back out
    // to world select and player select (title music again), the exit sequence, the HUD
    // destroyed exactly once.
    EXPECT_EQ(s.trace, "TP2SW0ML3mL4m~TDX");
}

TEST(menu_states, ending_leads_to_player_select_or_quits)
{
    scripted_screens again;
    again.players = {0};
    again.worlds = {1};
    again.levels = {5};
    again.plays = {true};
    menu_run_states(again.screens());
    EXPECT_EQ(again.trace, "TP0SW1ML5E~TDX");

    scripted_screens quits;
    quits.players = {0};
    quits.worlds = {1};
    quits.levels = {5};
    quits.plays = {true};
    quits.ending_quits = true;
    menu_run_states(quits.screens());
    // Quitting after the ending skips the exit sequence.
    EXPECT_EQ(quits.trace, "TP0SW1ML5E~D");
}

TEST(menu_states, closed_window_goes_straight_to_shutdown)
{
    scripted_screens s;
    s.players = {1};
    s.worlds = {0};
    s.levels = {0, 1};
    s.quit_after_plays = 1;
    menu_run_states(s.screens());
    // No map, no exit sequence after the window closed during the level; the HUD still goes.
    EXPECT_EQ(s.trace, "TP1SW0ML0D");
}

TEST(scene_sequence, reads_scenes_until_the_first_gap_with_times_in_steps)
{
    script_symbol_table symbols;
    script_handle block = script_handle::fresh(&symbols);
    ASSERT_TRUE(script_parser(block).parse(
        "song \"music\\title\" 0 { level \"levels\\A\" time 1.5 } 1 { level \"levels\\B\" time -2 } "
        "3 { level \"levels\\C\" time 1 }"));
    scene_sequence seq = read_scene_sequence(block);
    EXPECT_EQ(seq.song, "music\\title");
    ASSERT_EQ(seq.scenes.size(), 2u);
    EXPECT_EQ(seq.scenes[0].level, "levels\\A");
    EXPECT_EQ(seq.scenes[0].steps, 270);
    EXPECT_EQ(seq.scenes[1].steps, 0);
    EXPECT_TRUE(read_scene_sequence(script_handle::nil).scenes.empty());
}

TEST(scene_sequence, fades_in_and_out_and_a_click_skips_without_a_flash)
{
    scene_sequence_logic logic({0, 720, 540});
    // The empty scene is over before it shows.
    EXPECT_EQ(logic.scene, 1u);
    EXPECT_FLOAT_EQ(logic.brightness(), 0.0f);
    for (int i = 0; i < 90; ++i)
        logic.step();
    EXPECT_FLOAT_EQ(logic.brightness(), 0.5f);
    // Only a left press skips; a click while fading in goes on fading out from the same
    // brightness.
    EXPECT_FALSE(logic.press(right_press | left_release));
    EXPECT_FLOAT_EQ(logic.brightness(), 0.5f);
    ASSERT_TRUE(logic.press(left_press));
    EXPECT_FLOAT_EQ(logic.brightness(), 0.5f);
    int steps = 0;
    while (!logic.step())
        ++steps;
    EXPECT_EQ(steps + 1, 90);
    EXPECT_EQ(logic.scene, 2u);
    for (int i = 0; i < 200; ++i)
        logic.step();
    EXPECT_FLOAT_EQ(logic.brightness(), 1.0f);
    ASSERT_TRUE(logic.press(left_press));
    EXPECT_FLOAT_EQ(logic.brightness(), 1.0f);
    // Already fading out: a click changes nothing.
    logic.step();
    EXPECT_FALSE(logic.press(left_press));
    while (!logic.done())
        logic.step();
    EXPECT_FALSE(logic.press(left_press));
    EXPECT_FALSE(logic.step() == false);
}

TEST(play_logic, tip_shows_once_per_profile_and_a_missing_level_builds_no_world)
{
    set_game_tree("0 { 0 { level \"levels\\Nowhere\" tip 3 difficulty 2 } 1 { tip 40 } }", "");
    script_handle tips = script_handle::fresh(&script_global_symbols());
    ASSERT_TRUE(
        script_parser(tips).parse("3 { line1 \"Cut with the right button\" graphic \"tex\\ui\\x\" }"));
    script_global_tree().link(script_global_symbols().intern("tips"), tips);

    play_logic first(1, 0, 0);
    EXPECT_TRUE(first.entry.level.empty());
    EXPECT_FALSE(first.live);
    first.begin();
    EXPECT_EQ(first.state, play_tip);
    ASSERT_EQ(first.tip_lines.size(), 1u);
    EXPECT_EQ(first.card_graphic, "tex\\ui\\x");

    play_logic again(1, 0, 0);
    again.begin();
    EXPECT_EQ(again.state, play_ready);
    play_logic other_profile(2, 0, 0);
    other_profile.begin();
    EXPECT_EQ(other_profile.state, play_tip);
    // A tip number no bit can hold is never shown.
    play_logic odd(1, 0, 1);
    odd.begin();
    EXPECT_EQ(odd.state, play_ready);

    // Without a world nothing steps or decides, and leaving by the menu still works.
    for (int i = 0; i < 400; ++i) {
        again.step(i % 3);
        again.frame(32, 32);
    }
    EXPECT_EQ(again.state, play_playing);
    // The click lands on the menu button before any frame has seen the pointer there.
    again.mouse(left_press, -4, 52);
    for (int i = 0; i < 200 && !again.done(); ++i) {
        again.step(0);
        again.frame(-4, 52);
    }
    EXPECT_TRUE(again.done());
}

// The solution's music must not be heard before the duck takes it down: the music is
// ducked first, so that it starts at the ducked level and enters after 2 s.
TEST(play_logic, show_solution_ducks_the_music_before_it_starts_the_solutions_song)
{
    set_game_tree("0 { 0 { level \"levels\\Sol\" difficulty 2 } }", "");
    script_handle level = script_handle::fresh(&script_global_symbols());
    level.make_block();
    script_global_tree().link(script_global_symbols().intern("levels\\Sol"), level);
    pak_system pak;
    auto store = std::make_unique<test_module>(&pak);
    store->add("levels\\Sol_r", pak_code_rply, {});
    pak.add_module(std::move(store));
    v_level_set_store(&pak);
    std::string trace;
    play_audio_t audio;
    audio.music = [&](const char* name) { trace += std::string("music ") + name + "; "; };
    audio.duck = [&](float seconds) { trace += "duck " + std::to_string(seconds) + "; "; };
    play_logic logic(0, 0, 0, audio);
    ASSERT_FALSE(logic.entry.level.empty());
    logic.set_state(play_solution);
    v_level_set_store(nullptr);
    EXPECT_EQ(logic.state, play_solution);
    EXPECT_EQ(trace, "duck 2.000000; music music\\solution; ");
}

TEST(play_logic, star_counter_and_intro_cross_fade)
{
    int32_t stars[4];
    play_counter_stars(5, 0, stars);
    EXPECT_EQ(std::vector<int32_t>(stars, stars + 4), (std::vector<int32_t>{2, 2, 1, 0}));
    play_counter_stars(5, 3, stars);
    EXPECT_EQ(std::vector<int32_t>(stars, stars + 4), (std::vector<int32_t>{2, 0, 0, 0}));
    play_counter_stars(9, 0, stars);
    EXPECT_EQ(std::vector<int32_t>(stars, stars + 4), (std::vector<int32_t>{2, 2, 2, 2}));

    play_crossfade c = play_crossfade_at(0.0f);
    EXPECT_EQ(c.lower, 0);
    EXPECT_FALSE(c.world_only);
    c = play_crossfade_at(0.875f);
    EXPECT_EQ(c.lower, 3);
    EXPECT_FLOAT_EQ(c.fade, 0.5f);
    EXPECT_TRUE(play_crossfade_at(1.0f).world_only);
    EXPECT_EQ(play_crossfade_at(-3.0f).lower, 0);
}
