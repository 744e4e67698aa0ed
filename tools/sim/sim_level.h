// Resources and level loading for tamble-sim and its viewer: the stores that types and
// levels resolve from (--data roots, --archive files), and loading a level given as a
// ".LEVL.txt" path or a chunk name into a world, with its replay when one is wanted.
#pragma once

#include "data/pak.h"
#include "physics/level.h"

#include <cstdint>
#include <string>
#include <vector>

struct sim_source_options {
    std::vector<std::string> data_roots;  // source trees ("base") or chunk-file trees
    std::vector<std::string> archives;    // "tamble.pk2" archives
};

// Takes --data ROOT and --archive FILE out of the arguments (keeping the others in
// order). False, with `error` set, when one lacks its value.
bool sim_take_source_options(std::vector<std::string>& args, sim_source_options& out, std::string& error);

// The resource system a run uses. Open installs it as the store levels resolve types
// through and as the default constraint type's source; the destructor uninstalls it.
class sim_context {
public:
    pak_system pak;

    sim_context() = default;
    sim_context(const sim_context&) = delete;
    sim_context& operator=(const sim_context&) = delete;
    ~sim_context();

    // With no roots and no archives given, "base" is used.
    bool open(const sim_source_options& options, std::string& error);
};

// A level argument: a path when it names a ".LEVL.txt" file, otherwise a chunk name.
bool sim_is_level_file(const std::string& level);

// The level's script text, from its file or its "LEVL" chunk.
bool sim_level_text(sim_context& ctx, const std::string& level, std::string& text, std::string& error);

// Builds the world of a level in `mode` over the program's replay: recording in mode 2,
// playback of `replay_bytes` in mode 1 (refused when it does not fit the level).
bool sim_load_world(sim_context& ctx, const std::string& level, int32_t mode,
                    const std::vector<uint8_t>* replay_bytes, v_world& world, v_level_report& report,
                    std::string& error);

// A replay argument: a chunk file path, or a chunk name. An empty argument means the
// replay of the level: the file beside a level file, or the chunk "<name>_r".
bool sim_read_replay(sim_context& ctx, const std::string& level, const std::string& replay,
                     std::vector<uint8_t>& bytes, std::string& where, std::string& error);
