// SDL key codes to the virtual-key numbers game code compares, and back.
#include "app/window/window.h"

#include <SDL.h>

namespace {

struct key_pair {
    SDL_Keycode sdl;
    uint32_t vk;
};

// The first row of a virtual key is the one the reverse lookup returns.
constexpr key_pair named_keys[] = {
    {SDLK_BACKSPACE, vk_back},
    {SDLK_TAB, vk_tab},
    {SDLK_RETURN, vk_return},
    {SDLK_KP_ENTER, vk_return},
    {SDLK_LSHIFT, vk_shift},
    {SDLK_RSHIFT, vk_shift},
    {SDLK_LCTRL, vk_control},
    {SDLK_RCTRL, vk_control},
    {SDLK_ESCAPE, vk_escape},
    {SDLK_SPACE, vk_space},
    {SDLK_PAGEUP, vk_page_up},
    {SDLK_PAGEDOWN, vk_page_down},
    {SDLK_END, vk_end},
    {SDLK_HOME, vk_home},
    {SDLK_LEFT, vk_left},
    {SDLK_UP, vk_up},
    {SDLK_RIGHT, vk_right},
    {SDLK_DOWN, vk_down},
    {SDLK_INSERT, vk_insert},
    {SDLK_DELETE, vk_delete},
    {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, 0x6B},
    {SDLK_KP_MINUS, 0x6D},
    {SDLK_KP_PERIOD, 0x6E},
    {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_SEMICOLON, 0xBA},
    {SDLK_EQUALS, vk_equals},
    {SDLK_COMMA, 0xBC},
    {SDLK_MINUS, vk_minus},
    {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},
    {SDLK_BACKQUOTE, 0xC0},
    {SDLK_LEFTBRACKET, vk_open_bracket},
    {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, vk_close_bracket},
    {SDLK_QUOTE, 0xDE},
};

}  // namespace

uint32_t glw_virtual_key(int32_t sym)
{
    if (sym >= SDLK_a && sym <= SDLK_z)
        return 0x41 + uint32_t(sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9)
        return 0x30 + uint32_t(sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12)
        return vk_f1 + uint32_t(sym - SDLK_F1);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9)
        return 0x61 + uint32_t(sym - SDLK_KP_1);
    if (sym == SDLK_KP_0)
        return 0x60;
    for (const key_pair& k : named_keys)
        if (k.sdl == sym)
            return k.vk;
    return 0;
}

int32_t glw_sdl_keycode(uint32_t vk)
{
    if (vk >= 0x41 && vk <= 0x5A)
        return SDLK_a + int32_t(vk - 0x41);
    if (vk >= 0x30 && vk <= 0x39)
        return SDLK_0 + int32_t(vk - 0x30);
    if (vk >= vk_f1 && vk <= vk_f12)
        return SDLK_F1 + int32_t(vk - vk_f1);
    if (vk >= 0x61 && vk <= 0x69)
        return SDLK_KP_1 + int32_t(vk - 0x61);
    if (vk == 0x60)
        return SDLK_KP_0;
    for (const key_pair& k : named_keys)
        if (k.vk == vk)
            return k.sdl;
    return SDLK_UNKNOWN;
}
