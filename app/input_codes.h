// Mouse flag bits and virtual-key numbers: what input events carry, shared by the window
// layer that makes them and the screen and editor logic that reads them (without SDL).
#pragma once

#include <cstdint>

// Mouse flag bits of mouse_event.
enum : uint32_t {
    left_press = 1,
    right_press = 2,
    left_double = 4,
    right_double = 8,
    left_held = 16,
    right_held = 32,
    left_release = 64,
    right_release = 128,
};

// Virtual-key numbers the game compares key codes with.
enum : uint32_t {
    vk_back = 0x08,
    vk_tab = 0x09,
    vk_return = 0x0D,
    vk_shift = 0x10,
    vk_control = 0x11,
    vk_escape = 0x1B,
    vk_space = 0x20,
    vk_page_up = 0x21,
    vk_page_down = 0x22,
    vk_end = 0x23,
    vk_home = 0x24,
    vk_left = 0x25,
    vk_up = 0x26,
    vk_right = 0x27,
    vk_down = 0x28,
    vk_delete = 0x2E,
    vk_f1 = 0x70,
    vk_f12 = 0x7B,
    vk_equals = 0xBB,
    vk_minus = 0xBD,
    vk_open_bracket = 0xDB,
    vk_close_bracket = 0xDD,
};
