// The worlds data of a data root as the game reads it: every "INIT" chunk parsed into one
// tree, the worlds with their levels (map place, start state, title, difficulty, song,
// award, rune lock, tip, successors), and the levels the scene sequences play.
#pragma once

#include "data/script_handle.h"
#include "tools/sim/sim_level.h"

#include <cstdint>
#include <string>
#include <vector>

struct sim_world_level {
    std::string level;  // resource name, "levels\Drop"
    std::string title;
    float x = 0.0f, y = 0.0f;
    int32_t state = 0;       // 1: open from the start
    int32_t difficulty = 0;  // half stars
    int32_t song = 0;
    int32_t trophy = 0;  // 1, 2 medallions; 3 to 5 rune segments
    int32_t rune = -1;   // the world whose rune opens the level, -1 for none
    int32_t tip = 0;
    std::vector<int32_t> successors;
};

struct sim_world {
    std::string name;
    script_handle node;  // worlds.W, for the award keys
    std::vector<sim_world_level> levels;
};

struct sim_worlds_data {
    script_handle tree;  // every "INIT" chunk, merged in enumeration order
    std::vector<sim_world> worlds;
    // Levels played by the "startup", "ending" and "exit" sequences.
    std::vector<std::string> scene_levels;
};

// Reads every "INIT" chunk of the context's stores. Worlds are taken from index 0 while
// they exist, levels likewise; a world or level entry that is not a block ends its list.
void sim_load_worlds(sim_context& ctx, sim_worlds_data& out);
// The same from a tree that already holds the start-up definitions.
void sim_read_worlds(const script_handle& tree, sim_worlds_data& out);

// The level's entry in the worlds data, or null.
const sim_world_level* sim_find_world_level(const sim_worlds_data& data, const std::string& level);

// A level file under a data root with its chunk name ("levels\Drop"), by the walk and
// naming rule of the stores.
struct sim_level_file {
    std::string path;
    std::string chunk;
};
std::vector<sim_level_file> sim_level_files(const std::string& root);

// What the worlds data must satisfy, given the chunk names of the level files under the
// root, the names of those that are scenes playing by themselves (unattended), and a
// test for the existence of an intro image by texture name. One line per problem:
//   - each world has its name, map, emblem, both medallions, three rune segments and its
//     rune pictures, and each of the awards 1 to 5 on exactly one of its levels;
//   - each level entry names an existing level, with its title, a difficulty of 1 to 8,
//     a song, its four intro images, successors inside the world, and an existing tip;
//   - a rune-locked level is locked (state 0) behind another world's rune, and nothing
//     but the rune opens it (no level lists it, no tile lies close enough to open it);
//   - every level file is in a world, played by a sequence, or an unattended scene;
//   - from what a new profile finds open, solving opens every level of every world
//     (successors, map neighbours, runes once a world's three segments can be won);
//   - difficulties do not fall along a world's main path (first successors from the
//     first open level).
std::vector<std::string> sim_check_worlds(const sim_worlds_data& data,
                                          const std::vector<std::string>& level_files,
                                          const std::vector<std::string>& scenes,
                                          bool (*image_exists)(const std::string& texture, void* ctx),
                                          void* image_ctx);

// Map tiles closer than this open each other when one is solved.
constexpr float sim_neighbour_distance = 3.01f;

// Whether a texture (an intro image, "tex\levels\Drop0") reaches the archive: as a ".png"
// source under the root, the only picture sources the build converts, or as a texture
// chunk of the context's stores.
bool sim_texture_source_found(sim_context& ctx, const std::string& root, const std::string& texture);

// The checks above for a data root: its worlds data, its level files (a level whose
// solution file says "unattended" is a scene), and the intro images
// (sim_texture_source_found).
std::vector<std::string> sim_verify_worlds(sim_context& ctx, const std::string& root, sim_worlds_data& data);
// Whether the "INIT" sources under the root itself (not the stores given beside it) hold a
// "worlds" block.
bool sim_root_has_worlds(const std::string& root);
