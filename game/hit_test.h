// The rectangles of the screens' layouts and their hit tests, in view units; every
// comparison is strict, so a point on an edge is outside.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>

// A rectangle of a screen's layout by its centre and size. A screen's logic header names
// each of its buttons once; the hit test and the drawing both read that name.
struct ui_rect {
    float x = 0, y = 0;
    float w = 0, h = 0;
};

// Inside the rectangle of centre (cx, cy) and size (w, h).
inline bool inside_rect(float x, float y, float cx, float cy, float w, float h)
{
    return cx - w / 2 < x && x < cx + w / 2 && cy - h / 2 < y && y < cy + h / 2;
}

// Within `reach` of (cx, cy) in x and in y.
inline bool within(float x, float y, float cx, float cy, float reach)
{
    return std::abs(x - cx) < reach && std::abs(y - cy) < reach;
}

inline bool inside_rect(float x, float y, const ui_rect& r)
{
    return inside_rect(x, y, r.x, r.y, r.w, r.h);
}

// One entry of a screen's table of buttons: the rectangle and the item it stands for.
struct ui_item {
    ui_rect rect;
    int32_t item = 0;
};

// The item of the first rectangle in `items` that holds (x, y); `none` when no rectangle does.
inline int32_t item_at(float x, float y, std::initializer_list<ui_item> items, int32_t none)
{
    for (const ui_item& i : items)
        if (inside_rect(x, y, i.rect))
            return i.item;
    return none;
}
