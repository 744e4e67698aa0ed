// Awards: each world has two medallions (award numbers 1 and 2) and a rune of three
// segments (3, 4 and 5), each attached to one level. A profile keeps them per world as
// the bits of config.saves.S.W."trophies"; bit W of "runes" marks a completed rune.
#pragma once

#include <cstdint>

enum : int32_t {
    award_medallion_bits = 0x06,  // both medallions
    award_segment_bits = 0x38,    // all three rune segments
};

// The worlds the ending asks for: bit W for every world in the data. World selection
// rebuilds it each time it opens; it keeps its value until then.
uint32_t& awards_ending_mask();
// True when the profile holds both medallions of every world in the ending mask (an
// empty mask is met at once).
bool awards_ending_met(int32_t slot);

// What winning an award did to a profile.
struct award_grant {
    bool granted = false;         // the award was new (an award held already changes nothing)
    bool rune_completed = false;  // it was the world's last segment: the rune is complete
    bool ending = false;          // after it, the profile meets the ending condition
};

// A profile wins award `award` (1 to 30) of world `world` (0 to 31): the bit is set in the
// world's "trophies", and the last of the three segments adds the world's bit to "runes".
// The ending is checked after every new award, so an ending missed once (the game closed
// on the award card) comes with the next one.
award_grant awards_grant(int32_t slot, int32_t world, int32_t award);
