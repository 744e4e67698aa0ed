// Fuzzes the configuration file: what loads is adopted only whole, every screen's reader
// copes with whatever types it holds, and a saved copy loads back. (Names the inputs hold
// stay interned in the global symbol table, so very long runs grow slowly in memory.)
#include "data/script.h"
#include "game/config.h"
#include "game/profile.h"
#include "game/star_text.h"
#include "game/world_map_logic.h"
#include "game/world_select_logic.h"

#include <cstdlib>
#include <vector>

namespace {

void set_worlds()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    script_handle worlds = script_global_tree().make("worlds");
    script_parser(worlds).parse(R"(
        0 { name "W"  trophy1 { tex_icon "a" }  shard1 { tex_icon "b"  tex_medium "c" }  rune_medium "r"
            0 { x 10 y 10 state 1  0 1  1 2 }  1 { x 12 y 10 rune 1 }  2 { x 40 y 40  trophy 1 } }
        1 { name "V"  rune_tile1 "t1"  0 { } })");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    set_worlds();
    script_global_tree().link(script_global_symbols().intern("config"),
                              script_handle::fresh(&script_global_symbols()));
    std::vector<uint8_t> input(data, data + size);
    if (!config_adopt(input))
        return 0;

    for (int32_t slot = 0; slot < profile_slots; ++slot) {
        if (const char* name = profile_name(slot))
            if (!*name)
                std::abort();
        star_text(profile_stars(slot));
        world_records(slot);
        for (int32_t world = 0; world < 2; ++world) {
            map_levels(slot, world);
            map_rune_plate(slot, world);
        }
    }
    profile_prepare_slots();
    profile_delete(3);
    profile_choose(3, "Fuzz");
    if (!profile_taken(3))
        std::abort();

    std::vector<uint8_t> saved;
    if (script_save_binary(saved, "config", script_global_tree().get("config")) && !config_adopt(saved))
        std::abort();
    return 0;
}
