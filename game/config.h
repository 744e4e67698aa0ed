// The configuration: the "config" subtree of the global script tree (the two mute
// switches and the four player profiles) and its file "config.dat", read once at
// start-up and written at every save point.
//
//   config { last_save 0  mute_music 0  mute_sound 0
//            saves { 0 { name "Ann"  slot 0  stars 7  tips 0  runes 0
//                        0 { trophies 6  0 2  1 2  2 4 } } } }
//
// Readers use the tree's reading rules: as_int (a real is truncated, anything else is
// 0) and as_string (no string for a missing or empty one).
#pragma once

#include "data/script.h"

#include <cstdint>
#include <string>
#include <vector>

// The file the configuration lives in. The program sets it at start-up (the per-user
// folder, or --config FILE); until then it is "config.dat" in the working directory.
void config_set_path(const std::string& path);
const std::string& config_path();

enum class config_load_status {
    loaded,       // the file was read whole
    missing,      // there is no file yet (nor a backup): no profiles, both switches off
    from_backup,  // the file was damaged (and set aside) or missing; the last good copy was
                  // loaded and written back as the file
    unreadable,   // the file could not be read (left alone, saves are off for the run), or
                  // it and its backup were damaged: no profiles
};

struct config_load_result {
    config_load_status status = config_load_status::missing;
    // For the player, once, when the saves could not be read; empty otherwise.
    std::string message;
};

// Reads the file into a tree of its own and adopts its "config" block only when the whole
// file loaded; otherwise the tree in memory is left as it was. A damaged file is moved
// aside and, like a missing one, replaced by the backup when that loads. A file that
// cannot be read at all (a folder, no permission) is left where it is and no save of
// this run writes over it. Failures are logged on channel 3.
config_load_result config_load();

// Adopts the "config" block of a whole configuration file held in memory. False, with
// the tree untouched, when the bytes are damaged or hold no "config" block.
bool config_adopt(const std::vector<uint8_t>& bytes);

// Writes the "config" node (when it is true) to the file safely, keeping the previous good
// file as the backup. A failure is logged on channel 3 and returns false; the first one of
// a run is also told to the player through the notice below.
bool config_save();

// What tells the player that a save failed, once a run: the program shows a message box.
// Null restores the default, a line on stderr.
void config_set_save_failure_notice(void (*notice)(const char* text));

// The mixer's volume controls, filled in by the program once the sound system runs.
struct config_sound_seam_t {
    void (*set_music_volume)(float volume) = nullptr;
    void (*set_sound_volume)(float volume) = nullptr;
};
config_sound_seam_t& config_sound_seam();

// Music and sound volume 0.0 when "mute_music" resp. "mute_sound" is above 0, else 1.0.
void config_apply_sound_switches();

// config, made when missing.
script_handle config_node();
// Turns a switch between 0 and 1 (0 becomes 1, anything else 0) and applies both.
void config_toggle_switch(const char* key);
