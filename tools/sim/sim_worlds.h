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

// The level's entry in the worlds data, or null.
const sim_world_level* sim_find_world_level(const sim_worlds_data& data, const std::string& level);

// The chunk name of a level file under a root: "ROOT/levels/Drop.LEVL.txt" -> "levels\Drop".
std::string sim_level_chunk_name(const std::string& root, const std::string& level_path);
