// The shell's logic: the slide and the menu hover that follows it.
#include "game/hud_state.h"

#include <gtest/gtest.h>

TEST(hud_state, menu_highlight_follows_the_slide)
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

TEST(hud_state, update_slides_and_sounds_only_on_a_new_item)
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
