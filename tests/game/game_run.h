// Running the tamble program under the test driver for the game's end-to-end tests: a
// script of input events, captured frames, a temporary save file, and helpers that read the
// save file and compare captures. Each test's files are named after the test, since ctest
// runs tests side by side.
#pragma once

#include "data/script.h"

#include <cstdint>
#include <string>
#include <vector>

// "<suite>_<test>_": the prefix of the running test's files.
std::string run_prefix();
std::string run_capture(int frame);
std::string run_config_file();
std::string read_text(const std::string& path);

// Writes a configuration file from script text (the entries of "config").
bool write_config(const std::string& path, const char* text);

struct game_run {
    std::string script;             // events, frame numbers from the run's start
    int frames = 0;                 // the run ends after this many frames
    std::string captures;           // "N,N,..." or empty
    std::vector<std::string> args;  // more options and words (--data DIR, log, ...)
    bool archive = true;            // --archive with the built archive
    std::string config;             // the save file; empty: run_config_file()
    // Frames are counted from the first frame of player select: the start-up sequence is
    // skipped and the title logo clicked away first, and frame numbers in `script`,
    // `captures` and `frames` are moved by the frames that took (capture files keep the
    // numbers given here).
    bool from_player_select = false;
};

// Runs the game on a 640 x 512 window (8 pixels a unit, view x from -8); the exit status.
// Its output goes to run_prefix() + "out".
int run_game(const game_run& run);

// The frames the start-up sequence and the title logo take when clicked through: player
// select begins in this frame.
constexpr int title_frames = 162;
// The events that click them through.
extern const char* const title_clicks;

struct saved_config {
    script_symbol_table symbols;
    script_handle root = script_handle::fresh(&symbols);
    bool ok = false;

    explicit saved_config(const std::string& path);
    script_handle slot(int s) const { return root.get("config").get("saves").get(script_id(s)); }
    int32_t value(const char* key) const { return root.get("config").get(key).as_int(); }
};

// Mean brightness (0 to 255) of a region given in view units.
double brightness(const std::string& path, float left, float top, float right, float bottom);
// How many pixels of a region differ noticeably between two captures.
int changed_pixels(const std::string& a, const std::string& b, float left, float top, float right,
                   float bottom);
