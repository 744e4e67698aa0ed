// The play screen's logic: one level for one profile, from the tip card and "READY" through
// playing (hover, select, cut), restart, the recorded solution, failure and success with its
// stars, awards and cards, to leaving. It owns the level's worlds and writes the profile's
// progress into the configuration tree; drawing, the frame loop and the sound system are the
// screen's (game/screens/play_screen.h), so everything here runs without a window.
//
// The level's entry is worlds.W.L of the global script tree:
//   0 { level "levels\Drop" title "Drop" difficulty 2 song 1 x 34 y 44 trophy 1 tip 3 effect rain  0 3 }
#pragma once

#include "game/hit_test.h"
#include "physics/world.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The screen's states.
enum : int32_t {
    play_ready = 0,
    play_restart = 1,
    play_playing = 2,
    play_success = 3,
    play_failed = 4,
    play_leaving = 5,
    play_solution = 6,
    play_solution_end = 7,
    play_award_intro = 8,
    play_award_title = 9,
    play_award_info = 10,
    play_award_leaving = 11,
    play_tip = 12,
};

// The state's name for the log: "READY", "PLAYING", "SUCCESS", ...
const char* play_state_name(int32_t state);

// The sets of states the screen asks about, named so that a new state joins them by choice
// and never by falling inside a range of numbers.
// The states that draw a card: an award's title and its information (and while they fade
// out), or the tip.
bool play_state_shows_card(int32_t state);
// The award sequence (its intro, before the card shows, included) and the tip card: the
// level is not played and the pointer reaches only the card's continue button.
bool play_state_in_cards(int32_t state);

// The margin buttons and the cards' continue button. A negative value remembers the last
// button while the pointer is off it, so that its label can slide back in.
enum : int32_t {
    play_button_none = 0,
    play_button_restart = 1,
    play_button_solution = 2,
    play_button_menu = 3,
    play_button_continue = 4,
};

// The layout (view units). The margin buttons sit in the frames beside the playfield (x 0
// to 64): each answers on its rectangle, its picture is play_button_picture_height high on
// the same centre, and its label slides out of the playfield's edge on the same line.
constexpr ui_rect play_restart_button{-4, 12, 8, 8};
constexpr ui_rect play_solution_button{68, 12, 8, 8};
constexpr ui_rect play_menu_button{-4, 52, 8, 8};
constexpr float play_button_picture_height = 16;
// The cards' continue button answers on this rectangle, lower by continue_offset(). Its
// word is printed play_continue_text_height high from the rectangle's centre down, on a
// highlight play_continue_highlight_width wide.
constexpr ui_rect play_continue_button{56, 39, 16, 4};
constexpr float play_continue_text_height = 3;
constexpr float play_continue_highlight_width = 24;

// What the logic asks of the sound system. Empty functions play nothing.
struct play_audio_t {
    std::function<void(const char* sample)> play;   // once, in the middle, full volume
    std::function<void(const char* sample)> music;  // switch the looping music
    std::function<void(float seconds)> duck;        // the music steps aside for a jingle
};

// What a developer key asks the screen to do beyond the logic.
enum class play_dev_action { none, capture };

// The level entry's keys as the screen reads them.
struct play_level_entry {
    std::string level;  // resource name; empty when the entry has none
    int32_t tip = 0;
    int32_t difficulty = 0;
    int32_t song = 1;
    int32_t trophy = 0;
    bool rain = false;
};
play_level_entry play_read_entry(int32_t world, int32_t level);

// The four intro pictures of a level: "tex\<level>0" ... "tex\<level>3".
std::string play_intro_image_name(const std::string& level, int32_t index);

class play_logic {
public:
    int32_t slot = 0, world_index = 0, level_index = 0;
    play_level_entry entry;
    bool solution_offered = false;
    std::string song_name;  // "music\song%d"
    // The world played, rebuilt on every (re)start; the pristine one is built once and only
    // serves the developer capture. Both null when the entry names no level.
    std::unique_ptr<v_world> live, pristine;

    int32_t state = play_ready;
    float brightness = 1.0f;
    float clock = 0.0f;  // seconds since the last state change
    float intro = 0.0f;  // cross-fade and caption progress (clamped when drawn)
    float vignette = 0.0f;

    bool ending = false;  // the ending condition holds after this visit's new award
    bool finished = false;
    int32_t old_stars = 0, new_stars = 0, counted = 0;
    int32_t award_override = 0;

    int32_t hovered_button = -1;
    float highlight = 0.0f;

    // The card the states of play_state_shows_card draw.
    std::vector<std::string> tip_lines;
    std::string card_graphic;  // texture name, empty for none
    int32_t award = 0;
    std::string award_name;

    // Set when the profile's star total changed (the shell shows it) or the live world was
    // replaced (whatever points into it must follow). The screen clears them.
    bool profile_changed = false;
    bool world_replaced = false;

    play_audio_t audio;

    // Reads the level entry and builds the worlds from the level block of the global tree.
    // Levels resolve their types and the recorded solution through v_level_store().
    play_logic(int32_t slot, int32_t world, int32_t level, play_audio_t audio = {});

    // The start of run: a tip card when one is due (and marks it shown), else READY.
    void begin();
    // One fixed step; `step_in_frame` counts the steps already run in this frame, so that
    // the world takes at most max_world_steps_per_frame of them.
    void step(int32_t step_in_frame);
    // A key pressed; `control` whether Ctrl is held.
    play_dev_action key(uint32_t virtual_key, bool control);
    // A mouse event at its own position: what lies under the pointer is looked up there
    // first, so a click that arrives with the motion before it acts on what it hit.
    void mouse(uint32_t flags, float x, float y);
    // Once per frame after the input: the state's duties at the pointer, the continue
    // button's hover and the star counter.
    void frame(float pointer_x, float pointer_y);
    bool done() const { return finished; }

    // The state change with its entry actions.
    void set_state(int32_t next);

    // Cards: the continue button's vertical offset (a tip card without lines shows its
    // picture alone, larger, and the button sits lower).
    float continue_offset() const;
    // The star counter shows in SUCCESS and the award intro when the level earned stars.
    bool star_counter_shown() const;

private:
    std::unique_ptr<v_world> build_world(int32_t mode, bool with_solution);
    void replace_world();
    void show_solution();
    void on_success();
    void cut_selected();
    void playing_duties(float x, float y);
    // The margin buttons, the constraint and the continue button under the pointer.
    void point_at(float x, float y);
};

// The stars of the success counter, left to right: 0 off, 1 half, 2 on. `counted` half stars
// have moved to the total; the rest stay in the four stars.
void play_counter_stars(int32_t difficulty, int32_t counted, int32_t out[4]);

// The intro cross-fade at a progress: intro image `lower` (0 to 3) drawn with alpha 1 - fade
// over intro image lower + 1 (or the live world for lower = 3).
struct play_crossfade {
    int32_t lower = 0;
    float fade = 0.0f;
    bool world_only = false;  // intro >= 1: the live world alone
};
play_crossfade play_crossfade_at(float intro);
