// The headless test driver's options and its script of input events by frame number.
// Parsing lives here (no SDL) so that it can be fuzzed and tested without a display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class driver_action {
    move,
    press,
    release,
    click,
    double_click,
    key_down,
    key_up,
    key,
    text,
    window,
    quit
};

// What a "window" event does to the window, as the desktop would.
enum class driver_window_change { focus_lost, focus_gained, minimized, restored };

struct driver_event {
    int64_t frame = 0;
    driver_action action = driver_action::move;
    int32_t button = 1;         // 1 left, 2 right
    bool has_position = false;  // moves always have one
    float x = 0, y = 0;         // view units
    uint32_t key = 0;           // virtual-key number
    std::string text;           // UTF-8, for text events
    driver_window_change change = driver_window_change::focus_lost;
};

struct driver_script {
    // Ordered by frame; events of one frame keep their order in the file.
    std::vector<driver_event> events;
};

// Parses a script; on failure `error` says "line N: ..." and `out` is left empty.
bool driver_parse_script(std::string_view text, driver_script& out, std::string& error);
// Reads and parses a script file of at most driver_script_limit bytes.
bool driver_load_script(const char* path, driver_script& out, std::string& error);
constexpr uint64_t driver_script_limit = uint64_t(16) << 20;
// A key name ("space", "enter", "a", "f5", ...) or a number (decimal or 0x..) to a
// virtual-key number; 0 when unknown.
uint32_t driver_key_code(std::string_view name);

struct driver_options {
    bool fixed_frame = false;
    double frame_time = 1.0 / 60.0;
    std::string script_path;
    std::vector<int64_t> capture_frames;
    std::string capture_prefix = "frame_";
    int64_t frame_limit = -1;
    bool windowed = false;
    int32_t width = 0, height = 0;

    // Any option that makes the run headless and scripted.
    bool driven() const
    {
        return fixed_frame || !script_path.empty() || !capture_frames.empty() || frame_limit >= 0;
    }
};

// Takes the driver's and the window's "--" options out of argv (argc and argv are
// compacted in place; other arguments keep their order). False with a message on a bad
// value.
bool driver_parse_options(int& argc, char** argv, driver_options& out, std::string& error);

// The option summary for --help texts.
extern const char driver_options_help[];
