// The logic of the player-select screen: the four slots on the scroll, selecting a
// slot, typing a name, creating, deleting with its confirmation, choosing, and leaving.
// The screen feeds it pointer positions, presses, keys and typed characters, plays the
// sounds it asks for and draws what it holds.
#pragma once

#include "game/hit_test.h"
#include "game/ui_sound.h"

#include <cstdint>
#include <functional>
#include <string>

constexpr int32_t player_no_slot = 4;
constexpr size_t player_name_max = 63;
// A name may measure at most this many glyph heights in the screen font.
constexpr float player_name_max_width = 5.0f;

// The layout (view units). Row i is centred on the line player_row_y(i) and answers the
// pointer on player_row_rect(i). On the selected row, the delete button (a taken slot)
// answers within player_delete_reach of its centre and is drawn player_delete_size across;
// OK answers on its whole picture. The question's answers are highlighted
// player_answer_highlight_height high on the centre of the rectangle they answer on.
float player_row_y(int32_t row);
ui_rect player_row_rect(int32_t row);
constexpr float player_delete_x = 13.5f;
constexpr float player_delete_reach = 1.5f;
constexpr float player_delete_size = 2.5f;
constexpr float player_ok_x = 54.5f;
constexpr float player_ok_size = 4;
constexpr ui_rect player_answer_no_rect{24, 35.5f, 8, 3};
constexpr ui_rect player_answer_yes_rect{40, 35.5f, 8, 3};
constexpr float player_answer_highlight_height = 4;

// Modes of the screen.
enum : int32_t { player_opening = 0, player_open = 1, player_closing = 2, player_leaving = 3 };

// Hovered buttons; in the confirmation 1 is NO and 2 is YES.
enum : int32_t { player_button_none = 0, player_button_delete = 1, player_button_ok = 2 };
enum : int32_t { player_answer_no = 1, player_answer_yes = 2 };

struct player_select_outcome {
    ui_sound sound = ui_sound::none;
    bool open_settings = false;
};

class player_select_logic {
public:
    int32_t selected = player_no_slot;
    int32_t hovered_row = player_no_slot;
    int32_t hovered_button = player_button_none;
    bool confirming = false;
    std::string typed;
    // Set when a typed character did not fit: nothing more is added until Backspace.
    bool name_full = false;
    float opening = 0.0f;
    int32_t mode = player_opening;
    float brightness = 1.0f;
    int32_t chosen = player_no_slot;
    // Measures a text in glyph heights; without one, every character counts 1.
    std::function<float(const std::string&)> measure;

    // Prepares the profiles (a "name" node under every slot, "last_save" 0).
    void enter();
    // One step of the scroll and the fade. True once the Exit fade has ended.
    bool step();
    // The list shows, and answers the pointer, only while the scroll is open.
    bool list_open() const { return mode == player_open && opening >= 1.0f; }
    // Follows the pointer (view units): rows and buttons, or the confirmation's answers.
    ui_sound point(float x, float y);
    // A left press. `hud_item` is the shell's hovered menu item.
    player_select_outcome press(int32_t hud_item);
    // A key press (virtual-key number): Backspace and Enter.
    ui_sound key(uint32_t virtual_key);
    // A typed character (Latin-1 code).
    ui_sound character(uint32_t latin1);
    // A slot was chosen and the screen leaves with it at the next frame.
    bool has_choice() const { return chosen != player_no_slot; }
    // Stores the typed name in an empty chosen slot, remembers the slot and saves the
    // configuration; returns the slot.
    int32_t commit_choice();

    // A typed name is used only when it holds more than spaces.
    bool typed_name_usable() const;

private:
    void choose();
};

// Printable Latin-1: what a name may hold.
bool player_name_character(uint32_t latin1);
