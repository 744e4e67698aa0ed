// The menu screens in the running game, driven by the test driver under Xvfb: profiles
// made, chosen and deleted through player select, settings saved, a world chosen, the map's
// popup on open tiles only, the zoom onto a chosen level, Escape and a click after it, and the
// fade-in on return; long texts kept inside their labels, popups and cards; a damaged save
// file reported and set aside.
#include "tests/game/game_run.h"
#include "tests/test_display.h"
#include "tests/window/png_read.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string test_data = std::string(TAMBLE_SOURCE_DIR) + "/tests/game/data";

std::string capture(int frame)
{
    return run_capture(frame);
}

std::string config_file()
{
    return run_config_file();
}

std::string prefix()
{
    return run_prefix();
}

// The game over the built archive and the test worlds, from the first frame of player select.
int run_menus(const std::string& script, int frames, const std::string& captures = "")
{
    game_run run;
    run.script = script;
    run.frames = frames;
    run.captures = captures;
    run.args = {"--data", test_data, "log"};
    run.from_player_select = true;
    return run_game(run);
}

// Player select opens in half a second (30 frames); a chosen profile turns the title scroll
// for three seconds and leads to world selection, whose list takes input after another half
// second (from frame 300).
const char* const choose_ann = "0 move 30 28\n40 click left 30 28\n45 click left 54.5 28\n";
// World 0 chosen and OK: its map is there from frame 311 on.
const char* const to_map = "300 click left 30 28\n310 click left 56 28\n";

// Pixels of a region (view units) darker than the paper, the labels and the popups: ink.
int dark_pixels(const std::string& path, float left, float top, float right, float bottom)
{
    test_image img;
    if (!png_read_rgb_file(path, img))
        return -1;
    int n = 0;
    for (int y = int(top * 8); y < int(bottom * 8) && y < img.height; ++y)
        for (int x = std::max(0, int((left + 8) * 8)); x < int((right + 8) * 8) && x < img.width; ++x) {
            const uint8_t* p = img.at(x, y);
            if (p[0] + p[1] + p[2] < 3 * 110)
                ++n;
        }
    return n;
}

// The frame of the first log line "<what> at frame N", counted as the scripts are.
int frame_of(const std::string& out, const std::string& what)
{
    size_t at = out.find(what + " at frame ");
    return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + what.size() + 10) - title_frames;
}

}  // namespace

TEST(game_screens, name_typed_on_an_empty_slot_is_saved_exactly)
{
    TAMBLE_REQUIRE_DISPLAY();
    std::remove(config_file().c_str());
    // Latin-1 letters come through text input; Backspace takes the last one back.
    ASSERT_EQ(run_menus("0 move 30 32\n40 click left 30 32\n45 text \"Zoë Q\"\n46 key backspace\n"
                        "47 key backspace\n50 key enter\n",
                        70, "48"),
              0);
    saved_config saved(config_file());
    ASSERT_TRUE(saved.ok) << read_text(prefix() + "out");
    EXPECT_STREQ(saved.slot(1).get("name").as_string(), "Zo\xEB");
    EXPECT_EQ(saved.slot(1).get("slot").as_int(), 1);
    EXPECT_EQ(saved.value("last_save"), 1);
    EXPECT_FALSE(saved.slot(0).get("name").as_string());
    // The typed name shows on the selected row, right of the prompt.
    EXPECT_GT(brightness(capture(48), 33.5f, 30.5f, 40, 33.5f), 0);
}

TEST(game_screens, enter_with_no_slot_selected_leaves_the_list_usable)
{
    TAMBLE_REQUIRE_DISPLAY();
    std::remove(config_file().c_str());
    ASSERT_EQ(
        run_menus("40 text \"Ann\"\n42 key enter\n50 click left 30 36\n55 text \"Ann\"\n60 key enter\n", 80),
        0);
    saved_config saved(config_file());
    ASSERT_TRUE(saved.ok) << read_text(prefix() + "out");
    EXPECT_STREQ(saved.slot(2).get("name").as_string(), "Ann");
    EXPECT_EQ(saved.value("last_save"), 2);
}

TEST(game_screens, delete_asked_first_and_saved_at_once)
{
    TAMBLE_REQUIRE_DISPLAY();
    ASSERT_TRUE(write_config(config_file(),
                             "saves { 0 { name \"Ann\" stars 3 } 1 { name \"Bo\" stars 9 0 { 0 2 } } }"));
    // The window is closed right after YES: no profile was chosen, yet Bo stays deleted.
    ASSERT_EQ(run_menus("40 click left 30 32\n45 click left 13.5 32\n50 click left 24 35.5\n"  // NO keeps Bo
                        "55 click left 13.5 32\n60 click left 40 35.5\n"                       // YES
                        "65 quit\n",
                        90, "38,48"),
              0);
    saved_config saved(config_file());
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.slot(1).type(), script_type_int);
    EXPECT_STREQ(saved.slot(0).get("name").as_string(), "Ann");
    EXPECT_EQ(saved.slot(0).get("stars").as_int(), 3);
    EXPECT_EQ(saved.value("last_save"), 0);
    // The question covers the middle of the scroll.
    EXPECT_GT(changed_pixels(capture(38), capture(48), 16, 22, 48, 40), 2000);
}

TEST(game_screens, settings_switches_are_saved_on_accept)
{
    TAMBLE_REQUIRE_DISPLAY();
    ASSERT_TRUE(write_config(config_file(), "mute_sound 1 saves { 0 { name \"Ann\" } }"));
    ASSERT_EQ(
        run_menus("40 click left 0 4\n60 click left 20 27\n70 click left 20 30\n80 click left 42 37\n", 100),
        0);
    saved_config saved(config_file());
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.value("mute_music"), 1);
    EXPECT_EQ(saved.value("mute_sound"), 0);
    EXPECT_STREQ(saved.slot(0).get("name").as_string(), "Ann");
}

TEST(game_screens, exit_fades_out_and_ends_the_game)
{
    TAMBLE_REQUIRE_DISPLAY();
    ASSERT_TRUE(write_config(config_file(), "saves { 0 { name \"Ann\" } }"));
    std::string before = read_text(config_file());
    // Exit fades for a second (60 frames), the exit sequence plays its three seconds, then
    // the program ends by itself.
    ASSERT_EQ(run_menus("40 click left 0 8.5\n", 400, "70,99,200,330"), 0);
    EXPECT_LT(brightness(capture(99), 0, 0, 64, 64), brightness(capture(70), 0, 0, 64, 64));
    EXPECT_GT(brightness(capture(200), 0, 0, 64, 64), 0);
    test_image img;
    EXPECT_FALSE(png_read_rgb_file(capture(330), img));
    // Leaving with Exit saves nothing.
    EXPECT_EQ(read_text(config_file()), before);
}

TEST(game_screens, selected_worlds_map_fades_in_behind_the_list)
{
    TAMBLE_REQUIRE_DISPLAY();
    ASSERT_TRUE(write_config(config_file(), "saves { 0 { name \"Ann\" } }"));
    // World 0 is selected, then no world (a click below the list).
    ASSERT_EQ(run_menus(std::string(choose_ann) + "300 click left 30 28\n370 click left 30 60\n", 440,
                        "298,360,430"),
              0);
    // Beside the scroll the title background gives way to the map, and back again.
    EXPECT_GT(changed_pixels(capture(298), capture(360), 3, 10, 15, 60), 1500);
    EXPECT_LT(changed_pixels(capture(298), capture(430), 3, 10, 15, 60), 100);
    // The world's emblem shows over the list while it is selected.
    EXPECT_GT(changed_pixels(capture(298), capture(360), 18, 16, 46, 24), 500);
    EXPECT_LT(changed_pixels(capture(298), capture(430), 18, 16, 46, 24), 50);
}

TEST(game_screens, map_offers_open_levels_zooms_and_fades_in_on_return)
{
    TAMBLE_REQUIRE_DISPLAY();
    ASSERT_TRUE(write_config(config_file(), "saves { 0 { name \"Ann\" } }"));
    std::string script = std::string(choose_ann) + to_map +
                         "340 move 44 44\n350 move 20 44\n360 move 60 60\n"  // locked, open, nothing
                         "370 click left 44 44\n"                            // a locked tile does nothing
                         "380 click left 20 44\n"                            // zooms into level 0
                         "410 key escape\n"                                  // cancelled
                         "430 click left 20 44\n"                            // again, to the end
                         "650 move -4 52\n655 click left -4 52\n";           // the level's Menu button
    ASSERT_EQ(run_menus(script, 810, "345,355,365,400,705,770"), 0);
    std::string out = read_text(prefix() + "out");

    // The popup of the open tile stands above it; the locked tile shows none.
    EXPECT_GT(changed_pixels(capture(355), capture(365), 6, 31, 34, 41), 1500);
    EXPECT_LT(changed_pixels(capture(345), capture(365), 30, 31, 58, 41), 100);
    // Zooming moves the whole map.
    EXPECT_GT(changed_pixels(capture(365), capture(400), 0, 0, 64, 64), 5000);

    // Escape stopped the first zoom; the second one chose level 0 once, two seconds later.
    const std::string line = "menu: level 0 of world 0 chosen";
    size_t chosen = out.find(line);
    ASSERT_NE(chosen, std::string::npos) << out;
    EXPECT_EQ(out.find("chosen", chosen + line.size()), std::string::npos) << out;

    // Back on the map after the level, it fades in from black over a second.
    double dark = brightness(capture(705), 0, 0, 64, 64);
    double light = brightness(capture(770), 0, 0, 64, 64);
    EXPECT_LT(dark, light * 0.5);
    EXPECT_GT(light, 40);
}

TEST(game_screens, click_after_escape_acts_on_the_tile_drawn_under_it)
{
    TAMBLE_REQUIRE_DISPLAY();
    ASSERT_TRUE(write_config(config_file(), "saves { 0 { name \"Ann\" } }"));
    // The zoom into tile 4 at (8, 40) is cancelled after 100 frames: the view stays at
    // half-height 15.4 around (18.8, 36.4), where tile 0 at (20, 44) is drawn at (34.5, 47.8).
    std::string script = std::string(choose_ann) + to_map +
                         "340 move 8 40\n345 click left 8 40\n445 key escape\n"
                         "455 move 34.5 47.8\n460 click left 34.5 47.8\n";
    ASSERT_EQ(run_menus(script, 600), 0);
    std::string out = read_text(prefix() + "out");
    int first = frame_of(out, "map: zoom into level 4");
    int second = frame_of(out, "map: zoom into level 0");
    ASSERT_GT(first, 340) << out;
    EXPECT_GT(second, 460) << out;
    EXPECT_NE(out.find("menu: level 0 of world 0 chosen"), std::string::npos) << out;
    EXPECT_EQ(out.find("level 4 of world 0 chosen"), std::string::npos) << out;
}

TEST(game_screens, long_texts_stay_inside_labels_popups_and_cards)
{
    TAMBLE_REQUIRE_DISPLAY();
    // The widest name the screen lets through and a long star total make the longest label.
    const char* const profile = "saves { 0 { name \"WWWWWWW\" stars 199 } }";
    ASSERT_TRUE(write_config(config_file(), profile));
    // Tile 4 at (8, 40), by the frames, is the test data's level that solves itself: it gives
    // a rune segment, whose cards follow the success.
    std::string script = std::string(choose_ann) + to_map + "340 move 8 40\n355 click left 8 40\n";
    ASSERT_EQ(run_menus(script, 1000), 0);
    std::string out = read_text(prefix() + "out");
    int title = frame_of(out, "play: AWARD_TITLE");
    ASSERT_GT(title, 355) << out;
    // Again from the same save file (the first run saved the segment), with CONTINUE.
    script += std::to_string(title + 45) + " click left 56 39\n";
    ASSERT_TRUE(write_config(config_file(), profile));
    ASSERT_EQ(run_menus(script, title + 80, "338,350," + std::to_string(title + 60)), 0);

    // The popup is drawn over the frames, where they cover the map (x below 2).
    EXPECT_GT(changed_pixels(capture(338), capture(350), -5, 27, 1.5f, 37), 500);
    // The profile label is 28 units long at most; its text ends 4 units before that (view x
    // 16 with the 8-unit margin), clear of the eyelet in its rounded end.
    EXPECT_LT(dark_pixels(capture(350), 16.4f, 8.5f, 17.1f, 11.5f), 3);
    EXPECT_GT(dark_pixels(capture(350), -7.5f, 8.5f, 15.5f, 11.5f), 200);  // the text is there
    // The award card's lines end inside the paper, whose ragged edge lies at 62.6 to 63.
    std::string info = capture(title + 60);
    EXPECT_GT(dark_pixels(info, 20, 27.5f, 61, 36.5f), 500);
    EXPECT_LT(dark_pixels(info, 61.4f, 27.5f, 62.4f, 36.5f), 3);
}

TEST(game_screens, damaged_save_file_is_reported_kept_aside_and_the_backup_used)
{
    TAMBLE_REQUIRE_DISPLAY();
    std::filesystem::remove(config_file() + ".damaged");
    ASSERT_TRUE(write_config(config_file() + ".bak", "saves { 0 { name \"Ann\" stars 5 } }"));
    std::ofstream(config_file(), std::ios::binary) << "not a configuration";
    ASSERT_EQ(run_menus(choose_ann, 60), 0);
    std::string out = read_text(prefix() + "out");
    EXPECT_NE(out.find("could not be read"), std::string::npos) << out;
    EXPECT_EQ(read_text(config_file() + ".damaged"), "not a configuration");
    saved_config saved(config_file());
    ASSERT_TRUE(saved.ok);
    EXPECT_STREQ(saved.slot(0).get("name").as_string(), "Ann");
    EXPECT_EQ(saved.slot(0).get("stars").as_int(), 5);
}
