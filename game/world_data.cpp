// Reading the worlds data.
#include "game/world_data.h"

script_handle world_node(int32_t world)
{
    if (world < 0 || world >= world_index_limit)
        return script_handle::nil;
    return script_global_tree().get("worlds").get(script_id(world));
}

int32_t world_level_count(int32_t world)
{
    script_handle node = world_node(world);
    if (node.type() != script_type_block)
        return 0;
    int32_t count = 0;
    while (count < script_first_name_id && node.get(script_id(count)).exists())
        ++count;
    return count;
}

script_handle world_level_node(int32_t world, int32_t level)
{
    if (level < 0 || level >= script_first_name_id)
        return script_handle::nil;
    return world_node(world).get(script_id(level));
}

const char* script_text_or_empty(const script_handle& node)
{
    const char* s = node.as_string();
    return s ? s : "";
}
