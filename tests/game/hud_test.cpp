// The shell's logic: the slide and its stages, the menu hover that follows it, the map
// cross-fade and the label widths.
#include "game/hud_state.h"

#include <gtest/gtest.h>

TEST(hud_state, MenuHighlightFollowsTheSlide)
{
    const float view_width = 80.0f;  // a 5:4 window: margin 8, x from -8 to 72
    // Target 1: the items are at y 2..6 and 6..10; target 4 moves them 10 units down.
    EXPECT_EQ(hud_item_at(0, 4, 1.0f, view_width), hud_item_settings);
    EXPECT_EQ(hud_item_at(0, 8.5f, 1.0f, view_width), hud_item_back);
    EXPECT_EQ(hud_item_at(0, 4, 4.0f, view_width), hud_item_none);
    EXPECT_EQ(hud_item_at(0, 14, 4.0f, view_width), hud_item_settings);
    EXPECT_EQ(hud_item_at(0, 18.5f, 4.0f, view_width), hud_item_back);
    // Bounds are exclusive, and the menu ends 12 units in from the window's left edge.
    EXPECT_EQ(hud_item_at(0, 12, 4.0f, view_width), hud_item_none);
    EXPECT_EQ(hud_item_at(0, 16, 4.0f, view_width), hud_item_none);
    EXPECT_EQ(hud_item_at(3.99f, 14, 4.0f, view_width), hud_item_settings);
    EXPECT_EQ(hud_item_at(4.0f, 14, 4.0f, view_width), hud_item_none);
    // A wider window moves the menu with its left edge.
    EXPECT_EQ(hud_item_at(-3, 14, 4.0f, 96.0f), hud_item_none);
    EXPECT_EQ(hud_item_at(-5, 14, 4.0f, 96.0f), hud_item_settings);
}

TEST(hud_state, UpdateSlidesAndSoundsOnlyOnANewItem)
{
    hud_state hud;
    int rollovers = 0;
    int steps = 0;
    // From 0 to 4 at 0.0222 a step: 180 steps, snapping on the last.
    while (hud.slide != 4.0f && steps < 1000) {
        rollovers += hud.update(4.0f, 50, 50, 80) == ui_sound::rollover;
        ++steps;
    }
    EXPECT_EQ(steps, 180);
    EXPECT_EQ(rollovers, 0);
    EXPECT_FLOAT_EQ(hud.map_fade, 1.0f);

    EXPECT_EQ(hud.update(4.0f, 0, 14, 80), ui_sound::rollover);
    EXPECT_EQ(hud.update(4.0f, 0, 14.5f, 80), ui_sound::none);
    EXPECT_EQ(hud.update(4.0f, 0, 18, 80), ui_sound::rollover);
    EXPECT_EQ(hud.update(4.0f, 50, 18, 80), ui_sound::none);
    EXPECT_EQ(hud.hovered_item, hud_item_none);
    // Going back down to 1 takes 135 steps.
    for (steps = 0; hud.slide != 1.0f && steps < 1000; ++steps)
        hud.update(1.0f, 50, 50, 80);
    EXPECT_EQ(steps, 135);
}

TEST(hud_state, StagesOfTheLayout)
{
    hud_layout a = hud_layout_for(0.5f, 80, 20, 16);
    EXPECT_FLOAT_EQ(a.menu_shift, 6.0f);
    EXPECT_FALSE(a.frames);
    EXPECT_FALSE(a.profile_label);
    hud_layout b = hud_layout_for(1.5f, 80, 20, 16);
    EXPECT_TRUE(b.frames);
    EXPECT_FLOAT_EQ(b.frames_offset, 4.0f);  // halfway in from the margin of 8
    EXPECT_FLOAT_EQ(b.menu_drop, 0.0f);
    hud_layout c = hud_layout_for(2.5f, 80, 20, 16);
    EXPECT_TRUE(c.profile_label);
    EXPECT_FLOAT_EQ(c.profile_x, 10.0f);
    EXPECT_FLOAT_EQ(c.menu_drop, 2.5f);
    EXPECT_FALSE(c.world_label);
    hud_layout d = hud_layout_for(4.0f, 80, 20, 16);
    EXPECT_FLOAT_EQ(d.profile_x, 20.0f);
    EXPECT_FLOAT_EQ(d.profile_drop, 5.0f);
    EXPECT_FLOAT_EQ(d.world_x, 16.0f);
    EXPECT_FLOAT_EQ(d.world_drop, 0.0f);
    EXPECT_FLOAT_EQ(d.menu_drop, 10.0f);

    EXPECT_FLOAT_EQ(hud_profile_label_width(0, 0), 14.0f);
    EXPECT_FLOAT_EQ(hud_profile_label_width(2, 1), 6 + 2.5f + 9.5f);
    EXPECT_FLOAT_EQ(hud_world_label_width(5), 18.5f);
}

TEST(hud_state, MapFadeRestartsFromWhereItStood)
{
    hud_state hud;
    for (int i = 0; i < 45; ++i)
        hud.update(1, 50, 50, 80);
    EXPECT_NEAR(hud.map_fade, 0.25f, 1e-5);
    hud.restart_map_fade();
    EXPECT_NEAR(hud.map_fade, 0.75f, 1e-5);
}
