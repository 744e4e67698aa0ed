// "Your Levels": the levels the level editor saved in the per-user folder, played as a
// world of their own after the shipped ones. Every level is open from the start, the tiles
// stand in rows in name order, and the world gives no awards and no stars (a level's
// difficulty is 0), so it never changes the way through the shipped worlds or the ending.
#pragma once

#include "data/script.h"

#include <cstdint>
#include <string>
#include <vector>

// The world's index: the last one, so that the shipped worlds keep theirs as more are added.
constexpr int32_t user_world_index = 31;
// At most this many levels fit the map (six rows of six).
constexpr int32_t user_world_max_levels = 36;

// Adds worlds.31 to `worlds` for the level chunk names given ("levels\Mine"), sorted, with
// the pictures of the world `looks_like` (its map and emblem). Nothing without levels.
// Returns the number of levels placed.
int32_t user_world_add(const script_handle& worlds, std::vector<std::string> levels, int32_t looks_like = 0);
// Whether a world is the player's own (it counts for no ending and no awards).
bool user_world_is(const script_handle& world);
// "My_first level" -> "My first level": the title a level's file name gives.
std::string user_level_title(const std::string& chunk_name);
