// Player select: the designed paths through the screen with pointer, keys and typing.
#include "game/player_select_logic.h"

#include "app/input_codes.h"
#include "game/hud_state.h"
#include "game/profile.h"
#include "tests/game/game_test_util.h"

#include <gtest/gtest.h>

namespace {

float row_y(int32_t i)
{
    return 28.0f + 4.0f * float(i);
}

// A screen that has opened (0.5 s of steps) over two profiles in slots 1 and 3.
struct opened_screen {
    temp_folder folder;
    player_select_logic ps;

    opened_screen()
    {
        config_set_path(folder.file("config.dat"));
        set_game_tree("", R"(saves { 1 { name "Ann" stars 5 } 3 { name "Cy" } })");
        ps.enter();
        for (int i = 0; i < 90; ++i)
            ps.step();
    }
    // Clicks a point with the shell's menu not hovered.
    player_select_outcome click(float x, float y)
    {
        ps.point(x, y);
        return ps.press(hud_item_none);
    }
    void type(const char* text)
    {
        for (const char* c = text; *c; ++c)
            ps.character(uint8_t(*c));
    }
};

}  // namespace

TEST(player_select, opens_in_half_a_second_then_shows_the_list)
{
    opened_screen s;
    EXPECT_TRUE(s.ps.list_open());
    player_select_logic fresh;
    for (int i = 0; i < 89; ++i)
        fresh.step();
    EXPECT_FALSE(fresh.list_open());
    // While the scroll opens nothing on it answers the pointer.
    EXPECT_EQ(fresh.point(30, row_y(0)), ui_sound::none);
    EXPECT_EQ(fresh.hovered_row, player_no_slot);
    fresh.step();
    EXPECT_TRUE(fresh.list_open());
}

TEST(player_select, creating_a_profile_by_typing_a_name)
{
    opened_screen s;
    EXPECT_EQ(s.ps.point(30, row_y(0)), ui_sound::rollover);
    EXPECT_EQ(s.ps.point(31, row_y(0)), ui_sound::none);
    EXPECT_EQ(s.ps.press(hud_item_none).sound, ui_sound::select);
    EXPECT_EQ(s.ps.selected, 0);
    // OK with nothing typed does nothing.
    s.click(54.5f, row_y(0));
    EXPECT_EQ(s.ps.hovered_button, player_button_ok);
    EXPECT_FALSE(s.ps.has_choice());

    s.type("Dee!");
    EXPECT_EQ(s.ps.key(vk_back), ui_sound::rollover);
    EXPECT_EQ(s.ps.typed, "Dee");
    // Control characters and C1 codes are not names; Latin-1 letters are.
    EXPECT_EQ(s.ps.character(9), ui_sound::none);
    EXPECT_EQ(s.ps.character(0x85), ui_sound::none);
    EXPECT_EQ(s.ps.character(0xE9), ui_sound::rollover);
    EXPECT_EQ(s.ps.typed, "Dee\xE9");

    EXPECT_EQ(s.click(54.5f, row_y(0)).sound, ui_sound::select);
    ASSERT_TRUE(s.ps.has_choice());
    EXPECT_EQ(s.ps.mode, player_closing);
    EXPECT_EQ(s.ps.commit_choice(), 0);
    EXPECT_STREQ(profile_name(0), "Dee\xE9");

    // The choice was saved with the name exactly as typed.
    set_game_tree("", "");
    ASSERT_EQ(config_load().status, config_load_status::loaded);
    EXPECT_STREQ(profile_name(0), "Dee\xE9");
    EXPECT_STREQ(profile_name(1), "Ann");
    EXPECT_EQ(script_global_tree().get("config.last_save").as_int(), 0);
}

TEST(player_select, names_stop_growing_at_their_limits)
{
    opened_screen s;
    s.click(30, row_y(2));
    // Capitals two units wide, the rest one: at most 5.0 glyph heights. The name stops at
    // the first character that does not fit, so a narrower one after it does not get in
    // and the name stays the start of what was typed.
    s.ps.measure = [](const std::string& t) {
        float w = 0;
        for (char c : t)
            w += c >= 'A' && c <= 'Z' ? 2.0f : 1.0f;
        return w;
    };
    EXPECT_EQ(s.ps.character('a'), ui_sound::rollover);
    s.type("bcdWi");
    EXPECT_EQ(s.ps.typed, "abcd");
    // Backspace makes room again.
    s.ps.key(vk_back);
    s.type("ij");
    EXPECT_EQ(s.ps.typed, "abcij");
    // Narrow characters: at most 63 of them; a new row starts a new name.
    s.click(30, row_y(0));
    s.ps.measure = [](const std::string& t) { return float(t.size()) * 0.05f; };
    for (int i = 0; i < 70; ++i)
        s.ps.character('i');
    EXPECT_EQ(s.ps.typed.size(), 63u);
}

TEST(player_select, name_of_spaces_alone_is_not_accepted)
{
    opened_screen s;
    s.click(30, row_y(0));
    s.type("   ");
    s.ps.key(vk_return);
    s.click(54.5f, row_y(0));
    EXPECT_FALSE(s.ps.has_choice());
    // One letter among the spaces makes it a name.
    s.type("x");
    s.ps.key(vk_return);
    ASSERT_TRUE(s.ps.has_choice());
    s.ps.commit_choice();
    EXPECT_STREQ(profile_name(0), "   x");
}

TEST(player_select, typing_with_a_taken_slot_selected_is_not_used)
{
    opened_screen s;
    s.click(30, row_y(1));
    s.type("Eve");
    EXPECT_EQ(s.ps.typed, "Eve");
    // Enter on a taken slot chooses that profile; the typed name is not used.
    s.ps.key(vk_return);
    ASSERT_TRUE(s.ps.has_choice());
    s.ps.commit_choice();
    EXPECT_STREQ(profile_name(1), "Ann");
    EXPECT_EQ(profile_stars(1), 5);
}

TEST(player_select, selecting_another_row_clears_the_typed_name)
{
    opened_screen s;
    s.click(30, row_y(0));
    s.type("Fay");
    s.click(30, row_y(2));
    EXPECT_EQ(s.ps.selected, 2);
    EXPECT_EQ(s.ps.typed, "");
    // Enter with nothing typed does nothing.
    s.ps.key(vk_return);
    EXPECT_FALSE(s.ps.has_choice());
}

TEST(player_select, enter_with_no_slot_selected_keeps_the_list_open)
{
    opened_screen s;
    s.type("Gus");
    EXPECT_EQ(s.ps.key(vk_return), ui_sound::rollover);
    EXPECT_FALSE(s.ps.has_choice());
    EXPECT_EQ(s.ps.mode, player_open);
    EXPECT_TRUE(s.ps.list_open());
}

TEST(player_select, delete_is_saved_at_once)
{
    opened_screen s;
    s.click(30, row_y(3));
    // The delete button of the selected taken row asks first.
    EXPECT_EQ(s.ps.point(13.5f, row_y(3)), ui_sound::rollover);
    EXPECT_EQ(s.ps.hovered_button, player_button_delete);
    EXPECT_EQ(s.ps.press(hud_item_none).sound, ui_sound::select);
    ASSERT_TRUE(s.ps.confirming);
    // Keys and typing wait while the question is open; NO keeps the profile.
    EXPECT_EQ(s.ps.character('x'), ui_sound::none);
    EXPECT_EQ(s.ps.point(24, 35.5f), ui_sound::rollover);
    s.ps.press(hud_item_none);
    EXPECT_FALSE(s.ps.confirming);
    EXPECT_TRUE(profile_taken(3));
    EXPECT_EQ(s.ps.selected, 3);
    // A press beside both answers leaves the question open.
    s.click(13.5f, row_y(3));
    s.click(32, 35.5f);
    EXPECT_TRUE(s.ps.confirming);
    // YES deletes it and leaves no slot selected.
    s.click(40, 35.5f);
    EXPECT_FALSE(s.ps.confirming);
    EXPECT_FALSE(profile_taken(3));
    EXPECT_EQ(s.ps.selected, player_no_slot);

    // Saved at once: leaving by Exit now does not bring it back.
    set_game_tree("", "");
    ASSERT_EQ(config_load().status, config_load_status::loaded);
    EXPECT_FALSE(profile_taken(3));
    EXPECT_STREQ(profile_name(1), "Ann");
}

TEST(player_select, delete_button_only_on_a_taken_slot)
{
    opened_screen s;
    s.click(30, row_y(0));
    EXPECT_EQ(s.ps.point(13.5f, row_y(0)), ui_sound::none);
    EXPECT_EQ(s.ps.hovered_button, player_button_none);
}

TEST(player_select, menu_opens_settings_or_leaves_after_a_fade)
{
    opened_screen s;
    player_select_outcome settings = s.ps.press(hud_item_settings);
    EXPECT_TRUE(settings.open_settings);
    EXPECT_EQ(settings.sound, ui_sound::select);
    EXPECT_EQ(s.ps.press(hud_item_back).sound, ui_sound::select);
    EXPECT_EQ(s.ps.mode, player_leaving);
    int steps = 1;
    while (!s.ps.step())
        ++steps;
    EXPECT_NEAR(steps, 180, 1);
    EXPECT_FALSE(s.ps.has_choice());
}
