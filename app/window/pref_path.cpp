// The per-user folder from SDL.
#include "app/window/pref_path.h"

#include <SDL.h>

std::string glw_pref_path(const char* app_name)
{
    char* path = SDL_GetPrefPath("", app_name);
    if (!path)
        return {};
    std::string folder = path;
    SDL_free(path);
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}
