// Reading and changing the profiles under config.saves.
#include "game/profile.h"

#include "game/config.h"

namespace {

bool valid_slot(int32_t slot)
{
    return slot >= 0 && slot < profile_slots;
}

}  // namespace

script_handle profile_node(int32_t slot)
{
    if (!valid_slot(slot))
        return script_handle::nil;
    return script_global_tree().get("config").get("saves").get(script_id(slot));
}

const char* profile_name(int32_t slot)
{
    script_handle node = profile_node(slot);
    if (node.type() != script_type_block)
        return nullptr;
    script_handle name = node.get("name");
    return name.type() == script_type_string ? name.as_string() : nullptr;
}

bool profile_taken(int32_t slot)
{
    return profile_name(slot) != nullptr;
}

int32_t profile_stars(int32_t slot)
{
    return profile_node(slot).get("stars").as_int();
}

int32_t profile_runes(int32_t slot)
{
    return profile_node(slot).get("runes").as_int();
}

int32_t profile_trophies(int32_t slot, int32_t world)
{
    if (world < 0 || world >= script_first_name_id)
        return 0;
    return profile_node(slot).get(script_id(world)).get("trophies").as_int();
}

bool profile_level_state(int32_t slot, int32_t world, int32_t level, int32_t& state)
{
    state = 0;
    if (world < 0 || world >= script_first_name_id || level < 0 || level >= script_first_name_id)
        return false;
    script_handle entry = profile_node(slot).get(script_id(world)).get(script_id(level));
    if (!entry.exists())
        return false;
    state = entry.as_int();
    return true;
}

void profile_prepare_slots()
{
    script_handle config = config_node();
    config.make("saves");
    config.make("last_save").set_int(0);
    for (int32_t slot = 0; slot < profile_slots; ++slot)
        config.make("saves").make(script_id(slot)).make("name");
}

void profile_delete(int32_t slot)
{
    if (valid_slot(slot))
        config_node().make("saves").make(script_id(slot)).set_int(0);
}

void profile_choose(int32_t slot, const std::string& typed_name)
{
    if (!valid_slot(slot))
        return;
    script_handle profile = config_node().make("saves").make(script_id(slot));
    if (!profile_taken(slot)) {
        profile.make("name").set_string(typed_name.c_str());
        profile.make("slot").set_int(slot);
    }
    config_node().make("last_save").set_int(slot);
}
