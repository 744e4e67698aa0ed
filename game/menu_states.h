// The menu flow's state machine: which screen follows which, from player select to shutdown.
// The screens themselves come in as functions, so that the order is tested without a window
// (game/screens/menu_flow.cpp supplies the real ones).
//
//   PLAYER_SELECT -> TITLE_SCROLL -> WORLD_SELECT -> LEVEL_SELECT -> PLAY -> LEVEL_SELECT ...
//   going back: LEVEL_SELECT -> WORLD_SELECT -> PLAYER_SELECT -> EXIT_SEQUENCE -> SHUTDOWN
//   PLAY completing the ending -> ENDING -> PLAYER_SELECT, or SHUTDOWN when it says "exit"
#pragma once

#include <cstdint>
#include <functional>

enum class menu_state {
    player_select,
    title_scroll,
    world_select,
    level_select,
    play,
    ending,
    exit_sequence,
    shutdown,
};

struct menu_screens_t {
    // Builds the title world when there is none.
    std::function<void()> make_title_world;
    // The chosen profile slot, or -1 to quit.
    std::function<int32_t()> player_select;
    std::function<void(int32_t slot)> set_profile;
    // Runs the transition, then the title world goes.
    std::function<void()> title_scroll;
    // The chosen world, or -1 to go back.
    std::function<int32_t()> world_select;
    std::function<void(int32_t world)> set_world;
    // The chosen level, or -1 to go back.
    std::function<int32_t(bool returning)> world_map;
    std::function<void(const char* name)> music;
    // Plays the level and saves the configuration; true when it completed the ending.
    std::function<bool(int32_t level)> play;
    // The ending sequence; true when its "exit" says the game quits afterwards.
    std::function<bool()> ending;
    std::function<void()> destroy_hud;
    std::function<void()> exit_sequence;
    // True once the window was closed: every state leads straight to shutdown.
    std::function<bool()> quitting;
};

// Runs the states until SHUTDOWN; returns how many states were entered (for tests).
int32_t menu_run_states(const menu_screens_t& screens);
