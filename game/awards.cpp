// The ending mask and the ending condition.
#include "game/awards.h"

#include "game/profile.h"

uint32_t& awards_ending_mask()
{
    static uint32_t mask = 0;
    return mask;
}

bool awards_ending_met(int32_t slot)
{
    for (int32_t world = 0; world < 32; ++world)
        if ((awards_ending_mask() >> world & 1) &&
            (profile_trophies(slot, world) & award_medallion_bits) != award_medallion_bits)
            return false;
    return true;
}
