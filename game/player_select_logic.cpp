// Player select: slots, typing, creating, deleting, choosing.
#include "game/player_select_logic.h"

#include "app/input_codes.h"
#include "app/step.h"
#include "game/config.h"
#include "game/hud_state.h"
#include "game/profile.h"

#include <algorithm>

namespace {

constexpr float opening_per_step = 0.011111111f;

ui_sound on_change(int32_t& current, int32_t now, int32_t none)
{
    bool entered = now != current && now != none;
    current = now;
    return entered ? ui_sound::rollover : ui_sound::none;
}

}  // namespace

float player_row_y(int32_t row)
{
    return 28.0f + 4.0f * float(row);
}

ui_rect player_row_rect(int32_t row)
{
    return {32, player_row_y(row), 40, 3};
}

bool player_name_character(uint32_t c)
{
    return (c >= 32 && c <= 126) || (c >= 160 && c <= 255);
}

void player_select_logic::enter()
{
    profile_prepare_slots();
}

bool player_select_logic::step()
{
    if (mode == player_opening) {
        opening += opening_per_step;
        if (opening >= 1.0f) {
            opening = 1.0f;
            mode = player_open;
        }
    } else if (mode == player_closing) {
        opening = std::max(opening - opening_per_step, 0.0f);
    } else if (mode == player_leaving) {
        brightness -= step_seconds;
        if (brightness <= 0.0f)
            return true;
    }
    return false;
}

ui_sound player_select_logic::point(float x, float y)
{
    if (confirming) {
        int32_t answer = item_at(
            x, y, {{player_answer_no_rect, player_answer_no}, {player_answer_yes_rect, player_answer_yes}},
            player_button_none);
        return on_change(hovered_button, answer, player_button_none);
    }
    if (!list_open()) {
        hovered_row = player_no_slot;
        hovered_button = player_button_none;
        return ui_sound::none;
    }
    int32_t row = player_no_slot;
    for (int32_t i = 0; i < profile_slots; ++i)
        if (inside_rect(x, y, player_row_rect(i)))
            row = i;
    ui_sound sound = on_change(hovered_row, row, player_no_slot);

    int32_t button = player_button_none;
    if (selected != player_no_slot) {
        // The delete button is only drawn on a taken slot, so only there can it be hovered.
        float y_selected = player_row_y(selected);
        if (profile_taken(selected) && within(x, y, player_delete_x, y_selected, player_delete_reach))
            button = player_button_delete;
        else if (within(x, y, player_ok_x, y_selected, player_ok_size / 2))
            button = player_button_ok;
    }
    if (on_change(hovered_button, button, player_button_none) == ui_sound::rollover)
        sound = ui_sound::rollover;
    return sound;
}

void player_select_logic::choose()
{
    chosen = selected;
    mode = player_closing;
}

player_select_outcome player_select_logic::press(int32_t hud_item)
{
    player_select_outcome out;
    if (confirming) {
        if (hovered_button == player_answer_yes) {
            // Saved at once: leaving by Exit or closing the window must not bring it back.
            profile_delete(selected);
            config_save();
            selected = player_no_slot;
        }
        if (hovered_button != player_button_none) {
            confirming = false;
            hovered_button = player_button_none;
        }
        return out;
    }
    if (list_open()) {
        bool taken = selected != player_no_slot && profile_taken(selected);
        if (hovered_button == player_button_ok && selected != player_no_slot &&
            (taken || typed_name_usable())) {
            choose();
            out.sound = ui_sound::select;
            return out;
        }
        if (hovered_button == player_button_delete && taken) {
            confirming = true;
            hovered_button = player_button_none;
            out.sound = ui_sound::select;
            return out;
        }
        if (hovered_row != player_no_slot) {
            out.sound = ui_sound::select;
            typed.clear();
            name_full = false;
            selected = hovered_row;
            return out;
        }
    }
    if (hud_item == hud_item_settings) {
        out.sound = ui_sound::select;
        out.open_settings = true;
    } else if (hud_item == hud_item_back) {
        out.sound = ui_sound::select;
        mode = player_leaving;
    }
    return out;
}

ui_sound player_select_logic::key(uint32_t virtual_key)
{
    if (confirming)
        return ui_sound::none;
    if (virtual_key == vk_back) {
        if (!typed.empty())
            typed.pop_back();
        name_full = false;
        return ui_sound::rollover;
    }
    if (virtual_key == vk_return) {
        // Enter chooses the selected slot. With no slot selected it does nothing: the
        // player can still pick a slot (closing the list here would leave only Exit).
        // A taken slot keeps its name, so only an empty one needs more than spaces.
        if (!typed.empty() && list_open() && selected != player_no_slot &&
            (profile_taken(selected) || typed_name_usable()))
            choose();
        return ui_sound::rollover;
    }
    return ui_sound::none;
}

ui_sound player_select_logic::character(uint32_t c)
{
    if (confirming || !player_name_character(c))
        return ui_sound::none;
    // The name stops growing at the first character that does not fit, so that what is
    // kept is always the start of what was typed.
    if (!name_full && typed.size() < player_name_max) {
        typed.push_back(char(uint8_t(c)));
        float width = measure ? measure(typed) : float(typed.size());
        if (width > player_name_max_width) {
            typed.pop_back();
            name_full = true;
        }
    }
    return ui_sound::rollover;
}

bool player_select_logic::typed_name_usable() const
{
    return typed.find_first_not_of(' ') != std::string::npos;
}

int32_t player_select_logic::commit_choice()
{
    profile_choose(chosen, typed);
    config_save();
    return chosen;
}
