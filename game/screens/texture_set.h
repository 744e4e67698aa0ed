// Textures a screen names by string (icons, tiles), each fetched once and held while the
// screen lives. An empty or unknown name gives null, which draws nothing.
#pragma once

#include "render/texture.h"

#include <string>
#include <unordered_map>

class texture_set {
public:
    std::unordered_map<std::string, ref_ptr<gl_texture>> held;

    gl_texture* get(const std::string& name);
};
