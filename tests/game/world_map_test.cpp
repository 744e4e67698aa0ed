// World map: availability from stored state, data, runes, successors and neighbours;
// hovering; the popup and the difficulty display; the zoom and the flipping card.
#include "app/input_codes.h"
#include "game/hud_state.h"
#include "game/world_map_logic.h"

#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// World 0 has a path 0 -> 1 -> 2 by successors, a neighbour of level 1 at 3.0 units and
// one at 3.01 units, a level behind world 1's rune, and a successor out of range.
const char* const map_worlds = R"(
    0 { name "Workshop"  trophy1 { tex_icon "tex\medal1" }  trophy2 { tex_icon "tex\medal2" }
        0 { x 10  y 10  state 1  title "First"  difficulty 2  level "levels\A"  0 1  1 99 }
        1 { x 30  y 20  title "Second"  difficulty 3  trophy 2  0 2 }
        2 { x 50  y 40  title "Third" }
        3 { x 33  y 20 }
        4 { x 30  y 23.01 }
        5 { x 5  y 50  rune 1  title "Runic" }
        6 { x 50  y 50  state 1 } }
    1 { name "Mill"  rune_tile1 "tex\rt1"  rune_tile2 "tex\rt2"  0 { state 1 } })";

std::vector<map_level> levels_for(const char* config)
{
    set_game_tree(map_worlds, config);
    return map_levels(0, 0);
}

}  // namespace

TEST(world_map, fresh_profile_sees_the_data_state)
{
    std::vector<map_level> l = levels_for(R"(saves { 0 { name "Ann" } })");
    ASSERT_EQ(l.size(), 7u);
    EXPECT_EQ(l[0].state, 1);
    EXPECT_EQ(l[1].state, 0);
    EXPECT_EQ(l[6].state, 1);
    EXPECT_EQ(l[0].title, "First");
    EXPECT_EQ(l[0].level_name, "levels\\A");
    EXPECT_EQ(l[1].trophy_icon, "tex\\medal2");
    EXPECT_EQ(l[0].trophy_icon, "");
    EXPECT_EQ(l[0].tiles[0], "tex\\ui\\Tile_UnavailableLevel");
    EXPECT_EQ(l[0].tiles[1], "tex\\ui\\Tile_AvailableLevel");
    EXPECT_EQ(l[0].tiles[3], "tex\\ui\\Tile_CompletedLevel");
    // A rune-locked level wears the rune world's tiles, locked or not.
    EXPECT_EQ(l[5].state, 0);
    EXPECT_EQ(l[5].tiles[1], "tex\\rt1");
    EXPECT_EQ(l[5].tiles[2], "tex\\rt2");
}

TEST(world_map, solved_levels_open_successors_and_close_neighbours)
{
    // Level 0 solved opens its successor 1 (99 is ignored); 1 is only opened, so it
    // opens nothing itself.
    std::vector<map_level> l = levels_for(R"(saves { 0 { name "Ann" 0 { 0 2 } } })");
    EXPECT_EQ(l[0].state, 2);
    EXPECT_EQ(l[1].state, 1);
    EXPECT_EQ(l[2].state, 0);
    EXPECT_EQ(l[3].state, 0);

    // Level 1 solved: successor 2 opens, the neighbour at 3.0 opens, the one at 3.01 not.
    l = levels_for(R"(saves { 0 { name "Ann" 0 { 0 2  1 2 } } })");
    EXPECT_EQ(l[2].state, 1);
    EXPECT_EQ(l[3].state, 1);
    EXPECT_EQ(l[4].state, 0);
}

TEST(world_map, stored_state_wins_over_the_data)
{
    // A solution watched before the level was ever solved is stored as 4: the locked
    // picture (state & 3 = 0), yet it can be hovered and chosen (state > 0).
    std::vector<map_level> l = levels_for(R"(saves { 0 { name "Ann" 0 { 0 4  6 0 } } })");
    EXPECT_EQ(l[0].state, 4);
    EXPECT_EQ(l[0].tiles[l[0].state & 3], "tex\\ui\\Tile_UnavailableLevel");
    EXPECT_EQ(map_tile_at(l, 10.5f, 9.0f), 0);
    // A stored 0 locks a level the data opens.
    EXPECT_EQ(l[6].state, 0);
    EXPECT_EQ(map_tile_at(l, 50, 50), -1);
}

TEST(world_map, rune_opens_its_levels)
{
    std::vector<map_level> l = levels_for(R"(saves { 0 { name "Ann" runes 1 } })");
    EXPECT_EQ(l[5].state, 0);  // the rune of world 0 is not the one asked for
    l = levels_for(R"(saves { 0 { name "Ann" runes 2 } })");
    EXPECT_EQ(l[5].state, 1);
    EXPECT_EQ(l[5].tiles[l[5].state & 3], "tex\\rt1");
}

TEST(world_map, rune_plate_shows_the_segments_found)
{
    set_game_tree(
        R"(0 { rune_medium "tex\plate"  shard1 { tex_medium "tex\p1" }  shard2 { tex_medium "tex\p2" }
                         shard3 { tex_medium "tex\p3" } }
                     1 { shard1 { tex_medium "tex\q1" } })",
        R"(saves { 0 { name "Ann"  0 { trophies 42 }  1 { trophies 8 } } })");
    EXPECT_EQ(map_rune_plate(0, 0), (std::vector<std::string>{"tex\\plate", "tex\\p1", "tex\\p3"}));
    EXPECT_TRUE(map_rune_plate(0, 1).empty());
}

TEST(world_map, hover_needs_an_open_tile_and_the_last_one_wins)
{
    std::vector<map_level> l(3);
    float places[3][3] = {{10, 10, 1}, {11, 10, 1}, {20, 20, 0}};
    for (int i = 0; i < 3; ++i) {
        l[size_t(i)].x = places[i][0];
        l[size_t(i)].y = places[i][1];
        l[size_t(i)].state = int32_t(places[i][2]);
    }
    EXPECT_EQ(map_tile_at(l, 10.6f, 10), 1);
    EXPECT_EQ(map_tile_at(l, 9.0f, 10), 0);
    EXPECT_EQ(map_tile_at(l, 8.5f, 10), -1);  // exactly 1.5 away is outside
    EXPECT_EQ(map_tile_at(l, 20, 20), -1);    // locked tiles are never hovered
}

TEST(world_map, difficulty_names_and_pips)
{
    EXPECT_STREQ(map_difficulty_name(0), "Simple");
    EXPECT_STREQ(map_difficulty_name(1), "Simple");
    EXPECT_STREQ(map_difficulty_name(3), "Easy");
    EXPECT_STREQ(map_difficulty_name(8), "Master");
    EXPECT_STREQ(map_difficulty_name(40), "Master");
    int32_t none[4], three[4], eight[4];
    for (int k = 0; k < 4; ++k) {
        none[k] = map_difficulty_pip(0, k);
        three[k] = map_difficulty_pip(3, k);
        eight[k] = map_difficulty_pip(8, k);
    }
    EXPECT_EQ(std::vector<int32_t>(none, none + 4), (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(std::vector<int32_t>(three, three + 4), (std::vector<int32_t>{2, 1, 0, 0}));
    EXPECT_EQ(std::vector<int32_t>(eight, eight + 4), (std::vector<int32_t>{2, 2, 2, 2}));
}

TEST(world_map, popup_above_or_below_the_tile)
{
    map_popup above = map_popup_for(20, 16.5f);
    EXPECT_FALSE(above.below);
    EXPECT_FLOAT_EQ(above.box_y, 8.5f);
    EXPECT_FLOAT_EQ(above.anchor_y, 3.0f);
    map_popup below = map_popup_for(20, 16);
    EXPECT_TRUE(below.below);
    EXPECT_FLOAT_EQ(below.box_y, 24);
    EXPECT_FLOAT_EQ(below.anchor_y, 23);
}

TEST(world_map, zoom_takes_two_seconds_and_escape_cancels_it)
{
    map_zoom z;
    z.start();
    int steps = 0;
    while (z.phase == 2 && steps < 1000) {
        z.step(48, 16);
        ++steps;
    }
    EXPECT_NEAR(steps, 360, 1);
    EXPECT_FLOAT_EQ(z.half_height, 32 - 30.25f * std::pow(1 - std::cos(1.5707f), 2.0f));
    EXPECT_NEAR(z.centre_x, 48, 0.01);
    EXPECT_NEAR(z.centre_y, 16, 0.01);
    // One more frame is drawn, then the screen leaves.
    EXPECT_FALSE(z.frame_start());
    EXPECT_TRUE(z.frame_start());

    // Cancelled halfway, the view stays where it got to until a new zoom starts over.
    map_zoom c;
    c.start();
    for (int i = 0; i < 180; ++i)
        c.step(48, 16);
    float hh = c.half_height;
    EXPECT_LT(hh, 32.0f);
    c.cancel();
    EXPECT_EQ(c.phase, 1);
    c.step(48, 16);
    EXPECT_EQ(c.half_height, hh);
    EXPECT_FALSE(c.frame_start());
    c.start();
    c.step(48, 16);
    EXPECT_NEAR(c.half_height, 32.0f, 0.001);
}

TEST(world_map, click_after_a_cancelled_zoom_acts_on_what_is_drawn_under_it)
{
    std::vector<map_level> l(3);
    float places[3][3] = {{40, 44, 1}, {26, 44, 1}, {30, 44, 0}};
    for (int i = 0; i < 3; ++i) {
        l[size_t(i)].x = places[i][0];
        l[size_t(i)].y = places[i][1];
        l[size_t(i)].state = int32_t(places[i][2]);
    }
    // Unzoomed, the two views are one.
    map_zoom z;
    EXPECT_EQ(map_pressed_tile(l, z, 26.5f, 44), 1);
    // A zoom into tile 0, cancelled after 100 frames of three steps.
    z.start();
    EXPECT_EQ(map_pressed_tile(l, z, 40, 44), -1);  // nothing is chosen while zooming
    for (int i = 0; i < 300; ++i)
        z.step(l[0].x, l[0].y);
    z.cancel();
    ASSERT_LT(z.half_height, 20.0f);
    // Where tile 1 is drawn now, in the whole map's view where clicks are read.
    auto drawn_at = [&](const map_level& t, float& x, float& y) {
        x = 32 + (t.x - z.centre_x) * 32 / z.half_height;
        y = 32 + (t.y - z.centre_y) * 32 / z.half_height;
    };
    float x, y;
    drawn_at(l[1], x, y);
    ASSERT_GT(x, 2.0f);  // right of the frames: the player sees it
    EXPECT_EQ(map_pressed_tile(l, z, x, y), 1);
    // A click on empty map where tile 1 lay before the zoom chooses nothing, and a locked
    // tile is drawn but not chosen.
    EXPECT_EQ(map_pressed_tile(l, z, 26, 44), -1);
    drawn_at(l[2], x, y);
    EXPECT_EQ(map_pressed_tile(l, z, x, y), -1);
}

TEST(world_map, card_turns_over_in_the_first_second)
{
    map_zoom z;
    z.start();
    EXPECT_FLOAT_EQ(z.card_angle(), 0.0f);
    for (int i = 0; i < 90; ++i)
        z.step(32, 32);
    EXPECT_NEAR(z.card_angle(), 3.141592f / 2, 1e-3);
    for (int i = 0; i < 90; ++i)
        z.step(32, 32);
    EXPECT_NEAR(z.card_angle(), 3.141592f, 1e-4);
    // Face on, the corners sit at their offsets; edge on, the card is a line.
    float x, y;
    map_card_corner(20, 20, 2, -2, 0.0f, x, y);
    EXPECT_FLOAT_EQ(x, 22);
    EXPECT_FLOAT_EQ(y, 18);
    map_card_corner(20, 20, 2, -2, 3.141592f / 2, x, y);
    EXPECT_NEAR(x, 20, 1e-4);
    EXPECT_NEAR(y, 20 - 2 * 32 / 34.0f, 1e-4);
    // Turned over, left and right have changed places.
    map_card_corner(20, 20, 2, -2, 3.141592f, x, y);
    EXPECT_NEAR(x, 18, 1e-4);
}

TEST(world_map, logic_hovers_presses_zooms_and_fades_in)
{
    std::vector<map_level> l(2);
    l[0].x = 20, l[0].y = 20, l[0].state = 1;
    l[1].x = 40, l[1].y = 40, l[1].state = 0;
    world_map_logic m(l, true);
    EXPECT_EQ(m.brightness, 0.0f);
    // Entering an open tile asks for the rollover once; a locked one is never hovered.
    EXPECT_EQ(m.point(20.5f, 20), ui_sound::rollover);
    EXPECT_EQ(m.point(21, 20), ui_sound::none);
    EXPECT_EQ(m.point(40, 40), ui_sound::none);
    EXPECT_EQ(m.hovered, -1);
    EXPECT_EQ(m.point(20, 20), ui_sound::rollover);

    // A press on nothing does nothing; a key other than Escape neither.
    world_map_outcome none = m.press(hud_item_none, 40, 40);
    EXPECT_EQ(none.sound, ui_sound::none);
    EXPECT_EQ(none.zoom_tile, -1);
    EXPECT_FALSE(m.key(vk_escape));
    // A press on the open tile starts the zoom; the hover stays put while it runs.
    world_map_outcome zoom = m.press(hud_item_none, 20, 20);
    EXPECT_EQ(zoom.sound, ui_sound::select);
    EXPECT_EQ(zoom.zoom_tile, 0);
    EXPECT_EQ(m.chosen, 0);
    EXPECT_TRUE(m.zoom.zooming());
    EXPECT_EQ(m.point(60, 60), ui_sound::none);
    EXPECT_EQ(m.hovered, 0);
    for (int i = 0; i < 90; ++i)
        m.step();
    EXPECT_NEAR(m.brightness, 0.5f, 1e-4);
    EXPECT_LT(m.zoom.half_height, 32.0f);
    EXPECT_LT(m.zoom.centre_x, 32.0f);
    EXPECT_FALSE(m.key('A'));
    EXPECT_TRUE(m.key(vk_escape));
    EXPECT_FALSE(m.zoom.zooming());
    for (int i = 0; i < 100; ++i)
        m.step();
    EXPECT_EQ(m.brightness, 1.0f);

    // The menu wins over the tiles: Settings opens them, Back leaves.
    world_map_outcome settings = m.press(hud_item_settings, 20, 20);
    EXPECT_TRUE(settings.open_settings);
    EXPECT_FALSE(settings.leave || m.leaving);
    EXPECT_EQ(settings.zoom_tile, -1);
    world_map_outcome back = m.press(hud_item_back, 20, 20);
    EXPECT_EQ(back.sound, ui_sound::select);
    EXPECT_TRUE(back.leave && m.leaving);
}
