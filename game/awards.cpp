// The ending mask, the ending condition and winning an award.
#include "game/awards.h"

#include "game/config.h"
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

award_grant awards_grant(int32_t slot, int32_t world, int32_t award)
{
    award_grant out;
    if (award <= 0 || award > 30 || world < 0 || world > 31 || slot < 0 || slot >= profile_slots)
        return out;
    script_handle profile = config_node().make("saves").make(script_id(slot));
    script_handle progress = profile.make(script_id(world));
    int32_t trophies = progress.get("trophies").as_int();
    if (trophies >> award & 1)
        return out;
    trophies |= 1 << award;
    progress.make("trophies").set_int(trophies);
    out.granted = true;
    // The segment bits fill only once, so the rune's bit is added once per world.
    if (award != 1 && award != 2 && (trophies & award_segment_bits) == award_segment_bits) {
        uint32_t runes = uint32_t(profile.get("runes").as_int()) + (uint32_t(1) << world);
        profile.make("runes").set_int(int32_t(runes));
        out.rune_completed = true;
    }
    out.ending = awards_ending_met(slot);
    return out;
}
