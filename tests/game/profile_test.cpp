// Profiles: empty and taken slots by the reading rules, deleting and recreating, choosing.
#include "game/profile.h"

#include "game/star_text.h"
#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>

TEST(profile, wrong_typed_entries_read_as_empty_or_zero)
{
    set_game_tree("", R"(saves {
        0 { name 17  stars 4 }
        1 5
        2 { name ""  stars "many" }
        3 { name "Cy"  stars 9.9  runes "x"  0 { 3 "solved"  4 2.5  trophies { a 1 } } } })");
    EXPECT_FALSE(profile_taken(0));
    EXPECT_FALSE(profile_taken(1));
    EXPECT_FALSE(profile_taken(2));
    EXPECT_EQ(profile_stars(2), 0);
    ASSERT_TRUE(profile_taken(3));
    EXPECT_EQ(profile_stars(3), 9);
    EXPECT_EQ(profile_runes(3), 0);
    EXPECT_EQ(profile_trophies(3, 0), 0);
    int32_t state = -1;
    EXPECT_TRUE(profile_level_state(3, 0, 3, state));
    EXPECT_EQ(state, 0);
    EXPECT_TRUE(profile_level_state(3, 0, 4, state));
    EXPECT_EQ(state, 2);
    EXPECT_FALSE(profile_level_state(3, 0, 5, state));
    EXPECT_FALSE(profile_taken(-1));
    EXPECT_FALSE(profile_taken(4));

    // Preparing the slots makes a node to read under each of them; the profile survives.
    profile_prepare_slots();
    for (int32_t s = 0; s < profile_slots; ++s)
        EXPECT_TRUE(profile_node(s).get("name").exists()) << s;
    EXPECT_STREQ(profile_name(3), "Cy");
    EXPECT_EQ(script_global_tree().get("config.last_save").as_int(), 0);
}

TEST(profile, deleted_and_recreated_profile_starts_from_nothing)
{
    set_game_tree("", R"(saves { 2 { name "Old" slot 2 stars 30 tips 3 runes 1 0 { 0 2 trophies 6 } } })");
    profile_prepare_slots();
    profile_delete(2);
    EXPECT_EQ(profile_node(2).type(), script_type_int);
    EXPECT_FALSE(profile_taken(2));

    profile_choose(2, "New");
    EXPECT_STREQ(profile_name(2), "New");
    EXPECT_EQ(profile_node(2).get("slot").as_int(), 2);
    EXPECT_EQ(profile_stars(2), 0);
    EXPECT_EQ(profile_trophies(2, 0), 0);
    EXPECT_EQ(profile_node(2).size(), 2);
    EXPECT_EQ(script_global_tree().get("config.last_save").as_int(), 2);
}

TEST(profile, choosing_a_taken_slot_keeps_its_name)
{
    set_game_tree("", R"(saves { 1 { name "Ann" stars 3 } 2 { name 8 } })");
    profile_choose(1, "typed but unused");
    EXPECT_STREQ(profile_name(1), "Ann");
    // A name of the wrong type is an empty slot, which takes the typed name.
    profile_choose(2, "Bo");
    EXPECT_STREQ(profile_name(2), "Bo");
}

TEST(star_text, half_stars_as_glyphs)
{
    EXPECT_EQ(star_text(0), "\x1e 0");
    EXPECT_EQ(star_text(1), "\x1e \x1f");  // a single half star: star, half star
    EXPECT_EQ(star_text(2), "\x1e 1");
    EXPECT_EQ(star_text(7), "\x1e 3\x1f");
    EXPECT_EQ(star_text(48), "\x1e 24");
    EXPECT_EQ(star_text_compact(1), "\x1e"
                                    "0\x1f");
    EXPECT_EQ(star_text_compact(10), "\x1e"
                                     "5");
}
