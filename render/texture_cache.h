// Textures by chunk name for code that names textures by string (the polygons of node,
// body and constraint types): each name is asked of the store once, found or not, and
// the texture is held until the cache is cleared.
#pragma once

#include "render/texture.h"

#include <string>
#include <unordered_map>

class gl_texture_cache {
public:
    pak_system* store = nullptr;
    std::unordered_map<std::string, ref_ptr<gl_texture>> entries;

    explicit gl_texture_cache(pak_system* from = nullptr) : store(from) {}

    // The texture of a name, or null when the store has none (or no store is set). A
    // missing name is logged by the store the first time only.
    gl_texture* get(const std::string& name);
    // Switches to another store; the textures of the old one are dropped.
    void use_store(pak_system* other);
    // Drops every texture: call it before the GL context goes away.
    void clear() { entries.clear(); }
};
