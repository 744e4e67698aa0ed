// The world of the player's own levels.
#include "game/user_world.h"

#include <algorithm>

std::string user_level_title(const std::string& chunk_name)
{
    size_t slash = chunk_name.find_last_of('\\');
    std::string title = slash == std::string::npos ? chunk_name : chunk_name.substr(slash + 1);
    std::replace(title.begin(), title.end(), '_', ' ');
    return title;
}

bool user_world_is(const script_handle& world)
{
    return world.get("players_own").as_int() != 0;
}

int32_t user_world_add(const script_handle& worlds, std::vector<std::string> levels, int32_t looks_like)
{
    if (levels.empty() || worlds.type() != script_type_block)
        return 0;
    std::sort(levels.begin(), levels.end());
    if (int32_t(levels.size()) > user_world_max_levels)
        levels.resize(size_t(user_world_max_levels));
    script_handle model = worlds.get(script_id(looks_like));
    script_handle world = worlds.make(script_id(user_world_index));
    world.make_block();
    world.make("name").set_string("Your Levels");
    world.make("players_own").set_int(1);
    for (const char* key : {"map", "emblem", "trophy_blank"})
        if (const char* texture = model.get(key).as_string())
            world.make(key).set_string(texture);
    int32_t count = int32_t(levels.size());
    for (int32_t i = 0; i < count; ++i) {
        script_handle entry = world.make(script_id(i));
        entry.make_block();
        entry.make("level").set_string(levels[size_t(i)].c_str());
        entry.make("title").set_string(user_level_title(levels[size_t(i)]).c_str());
        entry.make("difficulty").set_int(0);
        entry.make("song").set_int(1 + i % 4);
        entry.make("x").set_int(10 + 9 * (i % 6));
        entry.make("y").set_int(12 + 9 * (i / 6));
        entry.make("state").set_int(1);
    }
    return count;
}
