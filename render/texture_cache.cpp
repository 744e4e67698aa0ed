// gl_texture_cache: one lookup per name, missing names remembered as such.
#include "render/texture_cache.h"

gl_texture* gl_texture_cache::get(const std::string& name)
{
    if (name.empty())
        return nullptr;
    auto found = entries.find(name);
    if (found != entries.end())
        return found->second.get();
    ref_ptr<gl_texture> texture;
    if (store)
        store->get_object(name.c_str(), texture);
    gl_texture* result = texture.get();
    entries.emplace(name, std::move(texture));
    return result;
}

void gl_texture_cache::use_store(pak_system* other)
{
    if (other == store)
        return;
    clear();
    store = other;
}
