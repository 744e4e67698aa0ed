// Level files: the loader that fills a world from a level's root block (a "LEVL" chunk
// or a ".LEVL.txt" file), the saver that writes the text layout back with the recorded
// replay beside it, and the message-box seam through which a broken file is reported.
#pragma once

#include "data/pak_system.h"
#include "data/script_handle.h"
#include "physics/replay.h"
#include "physics/world.h"

#include <cstdint>
#include <string>
#include <vector>

// What a load left out. Unresolved types drop their entry (the store logs the name);
// ends that name a node or body outside the loaded tables drop their constraint with a
// log line naming the level and the entry.
struct v_level_report {
    int32_t dropped_nodes = 0;
    int32_t dropped_bodies = 0;
    int32_t dropped_constraints = 0;
    std::vector<std::string> problems;  // one line per dropped constraint end

    bool clean() const { return !dropped_nodes && !dropped_bodies && !dropped_constraints; }
};

// Fills the world from a level's root block: "LOADING LEVEL" goes to the log, the verdict
// is reset and the node, body and constraint lists are replaced; markers are appended.
// `level_name` names the level in log lines (may be null).
void v_level_load(v_world& world, const script_handle& root, const char* level_name = nullptr,
                  v_level_report* report = nullptr);
// Parses level text into a tree of its own and loads it. A parse failure shows the
// message box "Error Loading Level." (caption "123"), leaves the world empty and gives
// false.
bool v_level_load_text(v_world& world, const char* text, const char* level_name = nullptr,
                       v_level_report* report = nullptr);
// The same from a file; a file that cannot be opened leaves the world empty, silently.
bool v_level_load_file(v_world& world, const char* path, v_level_report* report = nullptr);
// Files larger than this are not levels; reading stops rather than exhausting memory.
constexpr uint64_t v_level_file_limit = uint64_t(64) << 20;

// The level text exactly as the saver writes it.
std::string v_level_text(const v_world& world);
// Writes the level text to `path`, then the replay (when it holds frames) beside it and
// "Level Saved." to the log. Both files are written beside their old versions and renamed
// over them, so a save that fails leaves the previous level and replay intact. False when
// the level file cannot be written.
bool v_level_save(const v_world& world, const char* path, const v_replay& replay);
// The replay file that belongs to a level path: its last 9 characters (".LEVL.txt")
// replaced by "_r.RPLY.pkc".
std::string v_level_replay_path(const std::string& level_path);

// The store that level type names ("nodes\ball_red") resolve through: the program's
// pak_system. Without one every entry is dropped.
void v_level_set_store(pak_system* store);
pak_system* v_level_store();

// The world constructors. From a level block: an empty world in `mode`, the replay state
// initialised, the level loaded, and in mode 1 the replay chunk (when given) loaded for
// playback; a replay that does not fit the level's counts is refused (the player ends at
// once and the world stays still). In mode 2 the world records into `replay`.
v_world v_world_from_level(int32_t mode, const script_handle& level, v_replay& replay,
                           const ref_ptr<pak_chunkref>& replay_chunk = nullptr,
                           const char* level_name = nullptr, v_level_report* report = nullptr);
// From a level file (the editors): no replay is loaded.
v_world v_world_from_file(int32_t mode, const char* path, v_replay& replay, v_level_report* report = nullptr);

// Fix masks: one letter 'A' + m per group of four nodes, bit j of m for node 4k + j.
std::string v_fix_mask_letters(const v_body& body);
// Fixes the body's nodes from a "fix_mask" value: an integer fixes node i when bit
// (i mod 32) is set; a string is read as letters (groups beyond it stay free, letters
// outside 'A'..'P' fix nothing). Any other value fixes nothing.
void v_apply_fix_mask(v_body& body, const script_handle& mask);

// The message box of the window layer; until one is installed (headless), the text goes
// to stderr. Null restores the headless form.
using v_message_box_fn = void (*)(const char* text, const char* caption);
void v_set_message_box(v_message_box_fn fn);
void v_message_box(const char* text, const char* caption);
