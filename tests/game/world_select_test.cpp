// World selection: records with awards and completion, the ending mask, rows and choice.
#include "game/world_select_logic.h"

#include "game/awards.h"
#include "game/hud_state.h"
#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>

namespace {

const char* const three_worlds = R"(
    0 { name "The Workshop"  emblem "tex\emb0"  trophy_blank "tex\blank"  rune_icon "tex\rune0"
        trophy1 { tex_icon "tex\medal1" }  trophy2 { tex_icon "tex\medal2" }
        shard1 { tex_icon "tex\s1" }  shard2 { tex_icon "tex\s2" }  shard3 { tex_icon "tex\s3" }
        0 {} 1 {} 2 {} 3 {} 4 {} 5 {} 6 {} }
    1 { name "The Mill"  trophy_blank "tex\blank"  rune_icon "tex\rune1"
        trophy1 { tex_icon "tex\m1" }  trophy2 { tex_icon "tex\m2" }
        shard1 { tex_icon "tex\t1" }  shard2 { tex_icon "tex\t2" }  shard3 { tex_icon "tex\t3" }
        0 {} 1 {} 3 {} }
    3 { name "Far Away" })";

}  // namespace

TEST(world_select, records_count_levels_awards_and_completion)
{
    set_game_tree(three_worlds, R"(saves { 0 { name "Ann"
        0 { 0 2  3 6  5 1  9 2  trophies 4 }
        1 { trophies 56  0 3 } } })");
    std::vector<world_record> r = world_records(0);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(awards_ending_mask(), 0b1011u);

    // 7 levels, 2 of them solved (the entry 9 is no level of the world).
    EXPECT_EQ(r[0].name, "The Workshop");
    EXPECT_EQ(r[0].level_count, 7);
    EXPECT_EQ(r[0].solved_count, 2);
    EXPECT_EQ(world_levels_text(r[0]), "7 levels");
    EXPECT_EQ(world_completion_text(r[0]), "28% Complete");
    // Medallion 2 without medallion 1: the blank, then the medallion's icon.
    EXPECT_EQ(r[0].medallion_icons[0], "tex\\blank");
    EXPECT_EQ(r[0].medallion_icons[1], "tex\\medal2");
    EXPECT_EQ(r[0].segment_icons[0], "");

    // All three segments show over the rune icon; the level count stops at the gap.
    EXPECT_EQ(r[1].rune_icon, "tex\\rune1");
    EXPECT_EQ(r[1].segment_icons[0], "tex\\t1");
    EXPECT_EQ(r[1].segment_icons[1], "tex\\t2");
    EXPECT_EQ(r[1].segment_icons[2], "tex\\t3");
    EXPECT_EQ(r[1].medallion_icons[0], "tex\\blank");
    EXPECT_EQ(r[1].level_count, 2);
    EXPECT_EQ(world_completion_text(r[1]), "50% Complete");

    // A world without levels or icons: 0 levels, no completion line, nothing drawn.
    EXPECT_EQ(r[2].index, 3);
    EXPECT_EQ(world_levels_text(r[2]), "0 levels");
    EXPECT_EQ(world_completion_text(r[2]), "");
    EXPECT_EQ(r[2].medallion_icons[0], "");
}

TEST(world_select, ending_needs_both_medallions_of_every_world)
{
    set_game_tree(three_worlds,
                  R"(saves { 0 { name "Ann" 0 { trophies 6 } 1 { trophies 62 } 3 { trophies 2 } } })");
    world_records(0);
    EXPECT_FALSE(awards_ending_met(0));
    script_global_tree().make("config.saves.#0.#3.trophies").set_int(6);
    EXPECT_TRUE(awards_ending_met(0));
    // An empty mask is met at once.
    set_game_tree("", "");
    EXPECT_TRUE(world_records(0).empty());
    EXPECT_EQ(awards_ending_mask(), 0u);
    EXPECT_TRUE(awards_ending_met(0));
}

TEST(world_select, ending_is_checked_after_every_new_award)
{
    set_game_tree(three_worlds,
                  R"(saves { 0 { name "Ann" 0 { trophies 2 } 1 { trophies 54 } 3 { trophies 6 } } })");
    world_records(0);
    // The medallion that completes the condition reaches the ending.
    award_grant won = awards_grant(0, 0, 2);
    EXPECT_TRUE(won.granted);
    EXPECT_TRUE(won.ending);
    // So does every later new award (an ending missed by closing the game on the award card
    // is not lost), but an award held already is no award and no ending.
    won = awards_grant(0, 0, 3);
    EXPECT_TRUE(won.granted && won.ending);
    EXPECT_FALSE(won.rune_completed);
    won = awards_grant(0, 0, 3);
    EXPECT_FALSE(won.granted || won.ending);
    // The last segment completes the rune: the world's bit is added to "runes" once.
    won = awards_grant(0, 1, 3);
    EXPECT_TRUE(won.rune_completed);
    EXPECT_EQ(script_global_tree().get("config.saves.#0.runes").as_int(), 2);
    EXPECT_EQ(script_global_tree().get("config.saves.#0.#1.trophies").as_int(), 62);
    // Awards that no bit can hold are refused.
    EXPECT_FALSE(awards_grant(0, 32, 1).granted);
    EXPECT_FALSE(awards_grant(0, 0, 31).granted);
}

TEST(world_select, rows_hover_select_and_choose)
{
    world_select_logic ws(3);
    // The screen takes no input for its first half second.
    int steps = 0;
    while (!ws.step())
        ++steps;
    EXPECT_NEAR(steps, 90, 1);

    // Rows are 3.5 units tall from y 26.35; x must lie strictly between 18 and 46.
    EXPECT_EQ(ws.point(30, 30), ui_sound::rollover);
    EXPECT_EQ(ws.hovered, 1);
    EXPECT_EQ(ws.point(30, 30.5f), ui_sound::none);
    // Beside the list the hovered row stays; above or below it there is none.
    ws.point(50, 34);
    EXPECT_EQ(ws.hovered, 1);
    ws.point(30, 26.35f);
    EXPECT_EQ(ws.hovered, -1);
    // Rows beyond the worlds listed are none.
    ws.point(30, 38);
    EXPECT_EQ(ws.hovered, -1);

    ws.point(30, 33.5f);
    world_select_outcome picked = ws.press(hud_item_none);
    EXPECT_EQ(picked.sound, ui_sound::select);
    EXPECT_TRUE(picked.selection_changed);
    EXPECT_EQ(ws.selected, 2);
    // The same row again: no sound, still selected.
    EXPECT_EQ(ws.press(hud_item_none).sound, ui_sound::none);
    EXPECT_EQ(ws.selected, 2);

    // OK sits at (56, row centre) within 2 units.
    EXPECT_EQ(ws.point(57.9f, 35), ui_sound::rollover);
    EXPECT_TRUE(ws.ok_hovered);
    EXPECT_EQ(ws.press(hud_item_none).chosen_row, 2);

    // Clicking empty space clears the selection.
    ws.point(60, 60);
    world_select_outcome cleared = ws.press(hud_item_none);
    EXPECT_TRUE(cleared.selection_changed);
    EXPECT_EQ(ws.selected, -1);
    EXPECT_TRUE(ws.press(hud_item_back).back);
    EXPECT_TRUE(ws.press(hud_item_settings).open_settings);
}

TEST(world_select, at_most_six_rows)
{
    world_select_logic ws(9);
    EXPECT_EQ(ws.rows, 6);
    while (!ws.step()) {}
    ws.point(30, 45.5f);
    EXPECT_EQ(ws.hovered, 5);
    ws.point(30, 49);
    EXPECT_EQ(ws.hovered, -1);
}
