// The codes of input events as screen logic sees them: the mouse flag bits and the
// virtual-key numbers. No SDL here, so that logic and its tests need no window.
#pragma once

#include <cstdint>

// Mouse flag bits of a mouse event.
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

// Virtual-key numbers the game compares key codes with. Letters and digits are their
// upper-case ASCII codes ('A', '7'); F1 to F12 follow each other from vk_f1.
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
    vk_insert = 0x2D,
    vk_delete = 0x2E,
    vk_f1 = 0x70,
    vk_f12 = 0x7B,
    vk_equals = 0xBB,
    vk_minus = 0xBD,
    vk_open_bracket = 0xDB,
    vk_close_bracket = 0xDD,
};
