// The worlds as the data describes them: worlds.W of the global script tree, each with
// its name, pictures, awards and its levels under the numeric keys 0, 1, 2...
#pragma once

#include "data/script.h"

#include <cstdint>

// Worlds the screens look at: indices 0 to 31, so each fits a bit of a 32-bit mask.
constexpr int32_t world_index_limit = 32;

// worlds.W, or nil.
script_handle world_node(int32_t world);
// The number of consecutive numeric keys from 0 of worlds.W.
int32_t world_level_count(int32_t world);
// worlds.W.L, or nil.
script_handle world_level_node(int32_t world, int32_t level);
// A string of a node, or "" when there is none.
const char* script_text_or_empty(const script_handle& node);
