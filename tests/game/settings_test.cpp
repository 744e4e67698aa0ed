// Settings: the switches and Accept answer on the rectangles the screen draws them on, a
// switch applies at once, and Accept saves once and ends the screen.
#include "game/settings_logic.h"

#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>

TEST(settings, switches_and_accept_answer_on_their_drawn_rectangles_and_accept_saves_once)
{
    temp_folder folder;
    config_set_path(folder.file("config.txt"));
    set_game_tree("", "mute_music 0 mute_sound 0");
    settings_logic s;
    const ui_rect& music = settings_music_box;
    // The box's edge is outside; its inside answers with one rollover.
    EXPECT_EQ(s.point(music.x - music.w / 2, music.y), ui_sound::none);
    EXPECT_EQ(s.point(music.x - music.w / 2 + 0.01f, music.y), ui_sound::rollover);
    EXPECT_EQ(s.point(music.x, music.y + music.h / 2 - 0.01f), ui_sound::none);
    EXPECT_EQ(s.press().sound, ui_sound::select);
    EXPECT_EQ(config_node().get("mute_music").as_int(), 1);
    EXPECT_EQ(config_node().get("mute_sound").as_int(), 0);
    EXPECT_EQ(s.point(settings_sound_box.x, settings_sound_box.y), ui_sound::rollover);
    s.press();
    EXPECT_EQ(config_node().get("mute_sound").as_int(), 1);
    // Off everything a press does nothing.
    s.point(0, 0);
    EXPECT_EQ(s.press().sound, ui_sound::none);
    EXPECT_FALSE(std::filesystem::exists(folder.file("config.txt")));

    s.point(settings_accept_button.x + settings_accept_button.w / 2 - 0.01f, settings_accept_button.y);
    settings_outcome accept = s.press();
    EXPECT_TRUE(accept.accepted && s.accepted);
    EXPECT_TRUE(std::filesystem::exists(folder.file("config.txt")));
    // After Accept, a press on a switch (in the same frame's events) changes nothing.
    s.point(music.x, music.y);
    EXPECT_EQ(s.press().sound, ui_sound::none);
    EXPECT_EQ(config_node().get("mute_music").as_int(), 1);
}
