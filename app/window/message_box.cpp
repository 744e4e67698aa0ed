// Message boxes and URL opening through SDL, with a stderr fallback.
#include "app/window/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool headless_runs = false;

bool can_show()
{
    if (headless_runs)
        return false;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display && *display) || (wayland && *wayland);
}

Uint32 icon_flag(glw_icon icon)
{
    switch (icon) {
    case glw_icon::error:
        return SDL_MESSAGEBOX_ERROR;
    case glw_icon::warning:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

void glw_set_headless(bool headless)
{
    headless_runs = headless;
}

bool glw_headless()
{
    return headless_runs;
}

void glw_message_box(const char* text, const char* caption, glw_icon icon)
{
    if (!text)
        text = "";
    if (!caption)
        caption = "";
    if (can_show() && SDL_ShowSimpleMessageBox(icon_flag(icon), caption, text, nullptr) == 0)
        return;
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

bool glw_ask_yes_no(const char* text, const char* caption)
{
    if (!text)
        text = "";
    if (!caption)
        caption = "";
    if (can_show()) {
        const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        };
        SDL_MessageBoxData box{SDL_MESSAGEBOX_INFORMATION, nullptr, caption, text, 2, buttons, nullptr};
        int answer = 0;
        if (SDL_ShowMessageBox(&box, &answer) == 0)
            return answer == 1;
    }
    std::fprintf(stderr, "%s: %s (answered No)\n", caption, text);
    return false;
}

bool glw_open_url(const char* url)
{
    if (!url || !*url)
        return false;
    if (headless_runs) {
        std::fprintf(stderr, "would open %s\n", url);
        return true;
    }
    return SDL_OpenURL(url) == 0;
}
