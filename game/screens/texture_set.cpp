// Textures by name, fetched once per screen.
#include "game/screens/texture_set.h"

#include "game/screens/game_assets.h"

gl_texture* texture_set::get(const std::string& name)
{
    if (name.empty())
        return nullptr;
    auto it = held.find(name);
    if (it == held.end())
        it = held.emplace(name, game_texture(name)).first;
    return it->second.get();
}
