// The four player profiles under config.saves: which slots are taken, their names, star
// totals, level states and awards, and the changes the player-select screen makes.
#pragma once

#include "data/script.h"

#include <cstdint>
#include <string>

constexpr int32_t profile_slots = 4;

// Level state bits of a profile.
enum : int32_t {
    level_available = 1,
    level_solved = 2,
    level_solution_shown = 4,
};

// config.saves.S, or nil when there is none.
script_handle profile_node(int32_t slot);
// A slot is taken when its entry is a block with a "name" string.
bool profile_taken(int32_t slot);
// The name of a taken slot, null for an empty one. Valid while the tree holds it.
const char* profile_name(int32_t slot);
int32_t profile_stars(int32_t slot);
int32_t profile_runes(int32_t slot);
// config.saves.S.W."trophies".
int32_t profile_trophies(int32_t slot, int32_t world);
// The stored state bits of a level; false (and 0) when the profile has no entry for it.
bool profile_level_state(int32_t slot, int32_t world, int32_t level, int32_t& state);

// On entering player select: "last_save" := 0 and a "name" node under each slot, so that
// every slot has a node to read.
void profile_prepare_slots();
// Discards the whole profile: its entry becomes the integer 0. Saved with the next save.
void profile_delete(int32_t slot);
// On leaving player select with `slot`: an empty slot takes the typed name and its slot
// number; "last_save" becomes the slot. The caller saves.
void profile_choose(int32_t slot, const std::string& typed_name);
